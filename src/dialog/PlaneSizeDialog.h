#pragma once
// The small dialog that asks for the size of the reference rectangle:
// its width (along the sides closer to horizontal on the photo) and its
// height, in millimetres.

#include <QDialog>

class QDialogButtonBox;
class QLineEdit;

class PlaneSizeDialog : public QDialog {
    Q_OBJECT
public:
    explicit PlaneSizeDialog(QWidget* parent = nullptr);

    // Positive sizes in mm, once OK was pressed.
    double WidthMm() const;
    double HeightMm() const;
    QLineEdit* WidthEdit() const { return m_width; }
    QLineEdit* HeightEdit() const { return m_height; }
    QDialogButtonBox* Buttons() const { return m_buttons; }

private:
    void UpdateOk();
    QLineEdit* m_width;
    QLineEdit* m_height;
    QDialogButtonBox* m_buttons;
};
