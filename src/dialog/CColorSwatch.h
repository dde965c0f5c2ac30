#pragma once
// The colour swatch of the main window: a small rectangle filled with the
// colour shown and outlined in black. A click asks the owner to open the
// colour dialog.

#include "platform/ColorRef.h"

#include <QWidget>

class CColorSwatch : public QWidget {
    Q_OBJECT
public:
    explicit CColorSwatch(QWidget* parent = nullptr);

    // The colour shown. The owner writes it directly and then calls update().
    COLORREF m_colour = RGB(255, 0, 0);

Q_SIGNALS:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool m_pressed = false;
};
