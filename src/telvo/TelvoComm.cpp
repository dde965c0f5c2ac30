#include "telvo/TelvoComm.h"

#include "telvo/RangeFinderPort.h"
#include "telvo/RangeMeter.h"
#include "telvo/RangeProtocol.h"
#include "telvo/RangeTransport.h"
#include "telvo/SerialTransport.h"

#include <QCoreApplication>
#include <QTimer>
#include <vector>

TelvoComm::TelvoComm() : m_retry(new QTimer(this)) {
    m_retry->setSingleShot(true);
    m_retry->setInterval(kRetryIntervalMs);
    connect(m_retry, &QTimer::timeout, this, &TelvoComm::Retry);
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

QString TelvoComm::DevicePath() const {
    return m_transport ? m_transport->Where() : QString();
}

void TelvoComm::SetRetryInterval(int milliseconds) {
    m_retry->setInterval(milliseconds);
}

void TelvoComm::SetListen(int listen) {
    m_bArmed = listen != 0 && m_transport != nullptr;
    AnnounceNext();
}

bool TelvoComm::RequestReading() {
    if (!IsConnected())
        return false;
    const QByteArray request = m_protocol->MeasureRequest();
    return !request.isEmpty() && m_transport->Send(request);
}

void TelvoComm::OnConnected() {
    m_protocol->Reset();
    const QByteArray greeting = m_protocol->Greeting();
    if (!greeting.isEmpty())
        m_transport->Send(greeting);
    m_bWasConnected = true;
    m_bDropped = false;
    m_error.clear();
    Q_EMIT Connected();
}

void TelvoComm::OnFailed(const QString& why) {
    m_error = why;
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
    std::vector<RangeEvent> events;
    m_protocol->Receive(source, bytes, events);
    for (const RangeEvent& event : events) {
        if (m_waiting.size() < kMaxWaitingEvents)
            m_waiting.push_back(event);
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
