#pragma once
// The button "輸出報告(&R)" under the export button: the export button's size,
// one row (30 pixels) below it, enabled whenever the export button is. It
// follows the export button, so the layout tables need no row of their own
// and no control they place moves.

#include <QObject>

class QPushButton;
class QWidget;

class ReportButtonFollower : public QObject {
public:
    static constexpr int kRowStep = 30; // the spacing of the buttons above

    ReportButtonFollower(QWidget* exportButton, QPushButton* reportButton);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Follow();

    QWidget* m_export;
    QPushButton* m_report;
};
