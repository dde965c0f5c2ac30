#pragma once
// The small dialog that asks for an area's name when its polygon closes and
// when it is renamed: one edit that takes at most kAreaNameBytes bytes of
// code page 950 (an empty name is allowed), OK and Cancel.

#include <QByteArray>
#include <QDialog>

class Cp950LineEdit;

class AreaNameDialog : public QDialog {
    Q_OBJECT
public:
    // `name`: the name shown at first (code page 950).
    explicit AreaNameDialog(const QByteArray& name, QWidget* parent = nullptr);
    Cp950LineEdit* NameEdit() const { return m_name; }
    // The name typed, in code page 950.
    QByteArray Name() const;

private:
    Cp950LineEdit* m_name;
};
