#include "telvo/TelvoComm.h"

#include "telvo/RangeCaptureLog.h"
#include "telvo/RangeFailure.h"
#include "telvo/RangeFinderPort.h"
#include "telvo/RangeMeter.h"
#include "telvo/RangeProtocol.h"
#include "telvo/RangeTransport.h"
#include "telvo/SerialTransport.h"

#include <QCoreApplication>
#include <QTimer>
#include <vector>

TelvoComm::TelvoComm() : m_retry(new QTimer(this)), m_tick(new QTimer(this)) {
    m_retry->setSingleShot(true);
    m_retry->setInterval(kRetryIntervalMs);
    connect(m_retry, &QTimer::timeout, this, &TelvoComm::Retry);
    m_tick->setInterval(kTickIntervalMs);
    connect(m_tick, &QTimer::timeout, this, &TelvoComm::OnTick);
    m_clock.start();
}

TelvoComm::~TelvoComm() {
    Close();
}

int TelvoComm::Open(const QString& port, QObject* target) {
    Close();
    const QString device = RangeFinderDevice(port);
    const QString name = qEnvironmentVariable(kRangeFinderProtocolVariable).trimmed();
    std::unique_ptr<RangeProtocol> protocol =
        MakeRangeProtocol(name.isEmpty() ? QStringLiteral("lines") : name);
    if (device.isEmpty()) {
        m_error = tr("沒有指定測距儀的序列埠");
        return 0;
    }
    if (!protocol) {
        m_error = tr("未知的測距儀協定：%1").arg(name);
        return 0;
    }
    return Open(std::make_unique<SerialTransport>(device), std::move(protocol), target);
}

int TelvoComm::Open(std::unique_ptr<RangeTransport> transport,
                    std::unique_ptr<RangeProtocol> protocol, QObject* target) {
    Close();
    if (target == nullptr || !transport || !protocol)
        return 0;
    m_transport = std::move(transport);
    m_protocol = std::move(protocol);
    m_target = target;
    m_waiting.clear();
    m_bArmed = true;
    m_bWasConnected = false;
    m_bDropped = false;
    m_error.clear();
    m_notice.clear();
    const QString logPath = qEnvironmentVariableIsEmpty(kRangeFinderLogVariable)
                                ? m_logPath
                                : qEnvironmentVariable(kRangeFinderLogVariable);
    if (!logPath.isEmpty())
        m_log = std::make_unique<RangeCaptureLog>(logPath);
    RangeTransport* t = m_transport.get();
    connect(t, &RangeTransport::Connected, this, &TelvoComm::OnConnected);
    connect(t, &RangeTransport::Failed, this, &TelvoComm::OnFailed);
    connect(t, &RangeTransport::Received, this, &TelvoComm::OnReceived);
    if (!t->Start()) {
        m_error = t->ErrorText();
        Close();
        return 0;
    }
    return 1;
}

int TelvoComm::Close() {
    if (m_target)
        QCoreApplication::removePostedEvents(m_target, kRangeValueEventType);
    m_target = nullptr;
    m_waiting.clear();
    m_bArmed = false;
    m_retry->stop();
    m_tick->stop();
    m_log.reset();
    if (m_transport) {
        // The transport may be inside one of its own signals; it goes when
        // control is back in the event loop.
        RangeTransport* transport = m_transport.release();
        transport->disconnect(this);
        transport->Stop();
        transport->deleteLater();
    }
    m_protocol.reset();
    return 1;
}

bool TelvoComm::IsConnected() const {
    return m_transport && m_transport->IsConnected();
}

void TelvoComm::SetRetryInterval(int milliseconds) {
    m_retry->setInterval(milliseconds);
}

void TelvoComm::SetListen(int listen) {
    m_bArmed = listen != 0 && m_transport != nullptr;
    AnnounceNext();
}

QString TelvoComm::CaptureLogPath() const {
    return m_log && m_log->IsOpen() ? m_log->Path() : QString();
}

bool TelvoComm::RequestReading() {
    if (!IsConnected())
        return false;
    m_protocol->SetTime(m_clock.elapsed());
    const bool asked = m_protocol->AskForReading();
    SendOutgoing();
    return asked;
}

void TelvoComm::ReportFailure(int32_t why) {
    Tell(RangeFailureText(why));
}

void TelvoComm::Tell(const QString& notice) {
    if (notice == m_notice)
        return;
    m_notice = notice;
    Q_EMIT Notice(notice);
}

void TelvoComm::SendOutgoing() {
    for (const QByteArray& bytes : m_protocol->TakeOutgoing()) {
        if (m_log)
            m_log->Record(false, 0, bytes);
        m_transport->Send(bytes);
    }
    // The clock runs while the protocol has something to watch.
    if (m_protocol->Waiting())
        m_tick->start();
    else
        m_tick->stop();
}

void TelvoComm::OnTick() {
    if (!m_protocol)
        return;
    std::vector<RangeEvent> events;
    m_protocol->SetTime(m_clock.elapsed());
    m_protocol->Tick(events);
    Take(events);
    SendOutgoing();
}

void TelvoComm::OnConnected() {
    m_protocol->Reset();
    m_protocol->SetVariant(m_transport->Variant());
    m_protocol->SetTime(m_clock.elapsed());
    m_protocol->Greet();
    SendOutgoing();
    m_bWasConnected = true;
    m_bDropped = false;
    m_error.clear();
    Q_EMIT Connected();
}

void TelvoComm::OnFailed(const QString& why) {
    m_error = why;
    m_tick->stop();
    if (!m_bWasConnected) {
        // The first attempt: the user waits for its outcome.
        Close();
        Q_EMIT ConnectFailed(why);
        return;
    }
    m_retry->start();
    // Once per drop: failed attempts to come back are not news.
    if (!m_bDropped) {
        m_bDropped = true;
        Q_EMIT Dropped(why);
    }
}

void TelvoComm::Retry() {
    if (!m_transport)
        return;
    if (!m_transport->Start()) {
        m_error = m_transport->ErrorText();
        m_retry->start();
    }
}

void TelvoComm::OnReceived(int source, const QByteArray& bytes) {
    if (m_log)
        m_log->Record(true, source, bytes);
    std::vector<RangeEvent> events;
    m_protocol->SetTime(m_clock.elapsed());
    m_protocol->Receive(source, bytes, events);
    Take(events);
    SendOutgoing();
}

void TelvoComm::Take(const std::vector<RangeEvent>& events) {
    for (const RangeEvent& event : events) {
        // A distance of 0 or less is never a measurement, whoever sent it.
        if (event.code == kRangeEventFailed ||
            (event.code == kRangeEventDistance && event.value <= 0)) {
            Tell(RangeFailureText(event.code == kRangeEventFailed
                                      ? event.value
                                      : static_cast<int32_t>(RangeFailure::NoMeasurement)));
            continue;
        }
        if (event.code == kRangeEventDistance)
            Tell({});
        if (event.code == kRangeEventDistance && !m_waiting.empty() &&
            m_waiting.back().code == kRangeEventDistance) {
            m_waiting.back() = event; // the newer reading of the same moment
        } else {
            if (m_waiting.size() >= kMaxWaitingEvents)
                m_waiting.pop_front();
            m_waiting.push_back(event);
        }
        AnnounceNext();
    }
}

void TelvoComm::AnnounceNext() {
    if (!m_bArmed || m_waiting.empty() || !m_target)
        return;
    const RangeEvent event = m_waiting.front();
    m_waiting.pop_front();
    m_nEventCode = event.code;
    m_nEventValue = event.value;
    m_bArmed = false;
    QCoreApplication::postEvent(m_target, new QEvent(kRangeValueEventType));
}
