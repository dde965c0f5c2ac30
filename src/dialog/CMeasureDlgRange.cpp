// Connecting the laser range finder. Its readings then arrive at the canvas.

#include "dialog/CMeasureDlg.h"

#include "platform/Prompts.h"

#include <QAction>
#include <QApplication>
#include <QPushButton>

namespace {
// Shows the wait cursor while it lives.
class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { Restore(); }
    void Restore() {
        if (m_shown)
            QApplication::restoreOverrideCursor();
        m_shown = false;
    }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    bool m_shown = true;
};
} // namespace

void CMeasureDlg::OnConnectRangeFinder() {
    WaitCursor wait;
    m_canvas.m_rangeFinder.Close();
    const bool connected =
        m_canvas.m_rangeFinder.Open(QString::fromLatin1(RANGE_FINDER_PORT), &m_canvas) != 0;
    // The message box shows the ordinary cursor.
    wait.Restore();

    QString caption;
    if (connected) {
        Prompts().Message(this, QString::fromUtf8("測距儀已連接"));
        caption = QString::fromUtf8("重新連接...");
    } else {
        Prompts().Message(this, QString::fromUtf8("無法連接測距儀，請確定已經連好接藍牙設備"),
                          QMessageBox::Ok, QMessageBox::Warning);
        caption = QString::fromUtf8("連接測距儀");
    }
    if (auto* button = Item<QPushButton>(IDC_CONNECT_RANGE))
        button->setText(caption);
    if (m_connectAction)
        m_connectAction->setText(caption);
}
