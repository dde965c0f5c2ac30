#include "telvo/SerialTransport.h"

#include <QSerialPort>

SerialTransport::SerialTransport(const QString& device, QObject* parent)
    : StreamTransport(parent), m_device(device) {}

bool SerialTransport::Start() {
    Stop();
    auto* serial = new QSerialPort(this);
    serial->setPortName(m_device);
    if (m_device.isEmpty() || !serial->open(QIODevice::ReadWrite)) {
        SetError(serial->errorString());
        delete serial;
        return false;
    }
    // A Bluetooth port ignores the rate; a device that refuses the settings
    // still delivers what it sends.
    serial->setBaudRate(QSerialPort::Baud9600);
    serial->setDataBits(QSerialPort::Data8);
    serial->setParity(QSerialPort::NoParity);
    serial->setStopBits(QSerialPort::OneStop);
    serial->setFlowControl(QSerialPort::NoFlowControl);
    serial->clearError();
    Adopt(serial);
    SetConnected();
    connect(serial, &QSerialPort::errorOccurred, this,
            [this, serial](QSerialPort::SerialPortError error) { OnError(serial, error); });
    // Bytes that came before the connection was made.
    if (serial->bytesAvailable() > 0)
        QMetaObject::invokeMethod(
            this,
            [this, serial] {
                if (IsCurrent(serial) && serial->bytesAvailable() > 0)
                    Q_EMIT Received(0, serial->readAll());
            },
            Qt::QueuedConnection);
    Q_EMIT Connected();
    return true;
}

void SerialTransport::OnError(QSerialPort* port, int error) {
    // A vanished device (unplugged, Bluetooth out of reach) or a port that
    // can no longer be read or written ends the connection; it is closed once
    // control is back in the event loop, outside the port's own signal.
    if (error != QSerialPort::ResourceError && error != QSerialPort::ReadError &&
        error != QSerialPort::WriteError)
        return;
    Lose(port, port->errorString());
}
