// Connecting the laser range finder. The window holds the link; each event
// it announces goes on to the canvas, and then the link is re-armed.

#include "dialog/CMeasureDlg.h"

#include "dialog/RangeFinderConnection.h"
#include "platform/Prompts.h"
#include "telvo/RangeFailure.h"
#include "telvo/RangeMeter.h"

#include <QAction>
#include <QApplication>
#include <QPushButton>
#include <QSettings>
#include <QShortcut>

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

// The link's codes are those the canvas takes.
static_assert(kRangeEventDistance == CPhotoCanvas::RangeDistance &&
              kRangeEventKey == CPhotoCanvas::RangeKey &&
              kRangeKeyPrevious == CPhotoCanvas::RangePrevious &&
              kRangeKeyNext == CPhotoCanvas::RangeNext);

void CMeasureDlg::customEvent(QEvent* event) {
    if (event->type() == kRangeValueEventType)
        OnRangeValue();
    else
        QDialog::customEvent(event);
}

void CMeasureDlg::OnRangeValue() {
    if (!m_canvas.OnRangeValue(m_rangeFinder.EventCode(), m_rangeFinder.EventValue()))
        m_rangeFinder.ReportFailure(static_cast<int32_t>(RangeFailure::CannotStore));
    // Every event is answered by exactly one re-arm.
    m_rangeFinder.SetListen(1);
}

void CMeasureDlg::SetRangeStatus(const QString& status) {
    const QString separator = QStringLiteral(" - ");
    QString title = windowTitle();
    if (!m_rangeStatus.isEmpty() && title.endsWith(separator + m_rangeStatus))
        title.chop(separator.size() + m_rangeStatus.size());
    m_rangeStatus = status;
    setWindowTitle(status.isEmpty() ? title : title + separator + status);
}

void CMeasureDlg::OnRequestReading() {
    m_rangeFinder.RequestReading();
}

void CMeasureDlg::OnRangeDropped() {
    // Reported once in the title bar, not by a box in the middle of
    // measuring; the link brings the meter back by itself.
    SetRangeStatus(tr("測距儀已斷線，正在重新連接…"));
}

void CMeasureDlg::OnRangeNotice(const QString& text) {
    // A reading that came clears a notice, never the news of a drop.
    if (text.isEmpty() && m_rangeStatus == tr("測距儀已斷線，正在重新連接…"))
        return;
    SetRangeStatus(text);
}

void CMeasureDlg::OnRangeConnected() {
    SetRangeStatus({});
}

void CMeasureDlg::OnConnectRangeFinder() {
    // The environment's serial device skips the picker (tests, scripts).
    std::optional<RangeMeterChoice> meter = RangeMeterFromEnvironment();
    const bool fromEnvironment = meter.has_value();
    if (!meter)
        meter = PickRangeFinder(this);
    if (!meter)
        return; // cancelled: the link stays as it was

    WaitCursor wait;
    m_rangeFinder.Close();
    SetRangeStatus({});
    QString why;
    const bool connected = ConnectRangeFinder(this, m_rangeFinder, *meter, this, &why);
    // The message box shows the ordinary cursor.
    wait.Restore();

    QString caption;
    if (connected) {
        if (!fromEnvironment)
            SaveRangeMeter(*RangeFinderSettings(), *meter);
        Prompts().Message(this, tr("測距儀已連接"));
        caption = tr("重新連接...");
    } else {
        // A serial port says nothing useful; Bluetooth says which of no
        // adapter, switched off or no permission, and a bad protocol name
        // says so.
        QString text = tr("無法連接測距儀，請確定已經連好接藍牙設備");
        if (meter->link != RangeMeterChoice::Link::Serial || !meter->IsUsable())
            text += QStringLiteral("\n") + why;
        Prompts().Message(this, text, QMessageBox::Ok, QMessageBox::Warning);
        caption = tr("連接測距儀");
    }
    if (auto* button = Item<QPushButton>(IDC_CONNECT_RANGE))
        button->setText(caption);
    if (m_connectAction)
        m_connectAction->setText(caption);
}
