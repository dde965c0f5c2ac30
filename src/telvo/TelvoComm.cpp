#include "telvo/TelvoComm.h"

#include "telvo/RangeFinderPort.h"

#include <QCoreApplication>
#include <QSerialPort>
#include <vector>

TelvoComm::TelvoComm() = default;

TelvoComm::~TelvoComm() {
    Close();
}

int TelvoComm::Open(const QString& port, QObject* target) {
    Close();
    if (target == nullptr)
        return 0;
    const QString device = RangeFinderDevice(port);
    if (device.isEmpty())
        return 0;

    auto* serial = new QSerialPort(this);
    serial->setPortName(device);
    if (!serial->open(QIODevice::ReadOnly)) {
        delete serial;
        return 0;
    }
    // Serial-profile range finders talk 9600 baud, 8 data bits, no parity,
    // one stop bit and no flow control; a Bluetooth port ignores the rate.
    // A device that refuses the settings still delivers what it sends.
    serial->setBaudRate(QSerialPort::Baud9600);
    serial->setDataBits(QSerialPort::Data8);
    serial->setParity(QSerialPort::NoParity);
    serial->setStopBits(QSerialPort::OneStop);
    serial->setFlowControl(QSerialPort::NoFlowControl);
    serial->clearError();

    m_port = serial;
    m_target = target;
    m_devicePath = device;
    m_parser.Reset();
    m_waiting.clear();
    m_bArmed = true;
    connect(serial, &QSerialPort::readyRead, this, &TelvoComm::ReadPort);
    connect(serial, &QSerialPort::errorOccurred, this,
            [this, serial](QSerialPort::SerialPortError error) { OnPortError(serial, error); });
    // Bytes that came before the connection was made.
    if (serial->bytesAvailable() > 0)
        QMetaObject::invokeMethod(this, &TelvoComm::ReadPort, Qt::QueuedConnection);
    return 1;
}

int TelvoComm::Close() {
    if (m_target)
        QCoreApplication::removePostedEvents(m_target, kRangeValueEventType);
    m_target = nullptr;
    m_waiting.clear();
    m_parser.Reset();
    m_bArmed = false;
    m_devicePath.clear();
    if (m_port == nullptr)
        return 1;
    QSerialPort* port = m_port;
    m_port = nullptr;
    port->disconnect(this);
    port->close();
    // The port may be inside one of its own signals (an error); it goes
    // when control is back in the event loop, or with this object.
    port->deleteLater();
    return 1;
}

void TelvoComm::SetListen(int listen) {
    m_bArmed = listen != 0 && m_port != nullptr;
    AnnounceNext();
}

void TelvoComm::ReadPort() {
    if (m_port == nullptr)
        return;
    const QByteArray bytes = m_port->readAll();
    std::vector<RangeEvent> events;
    m_parser.Feed(bytes.constData(), static_cast<size_t>(bytes.size()), events);
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

void TelvoComm::OnPortError(QSerialPort* port, int error) {
    // A vanished device (unplugged, Bluetooth out of reach) or a port that
    // can no longer be read ends the link; it is closed once control is
    // back in the event loop, outside the port's own signal.
    if (error != QSerialPort::ResourceError && error != QSerialPort::ReadError)
        return;
    QMetaObject::invokeMethod(
        this,
        [this, port] {
            if (m_port == port)
                Close();
        },
        Qt::QueuedConnection);
}
