#pragma once
// The About box: the program's icon, its version, who makes it and a short
// legal notice, closed with its OK button or Escape.

#include <QDialog>

class QLabel;
class QPushButton;

class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* parent = nullptr);

    QLabel* IconStatic() const { return m_icon; }
    QLabel* VersionStatic() const { return m_version; }
    QPushButton* OkButton() const { return m_ok; }

private:
    QLabel* m_icon;
    QLabel* m_version;
    QPushButton* m_ok;
};
