#include "dialog/ReportButton.h"

#include <QEvent>
#include <QPushButton>

ReportButtonFollower::ReportButtonFollower(QWidget* exportButton, QPushButton* reportButton)
    : QObject(reportButton), m_export(exportButton), m_report(reportButton) {
    m_export->installEventFilter(this);
    Follow();
}

bool ReportButtonFollower::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_export) {
        switch (event->type()) {
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::EnabledChange:
            Follow();
            break;
        default:
            break;
        }
    }
    return false;
}

void ReportButtonFollower::Follow() {
    m_report->setGeometry(m_export->geometry().translated(0, kRowStep));
    m_report->setEnabled(m_export->isEnabled());
}
