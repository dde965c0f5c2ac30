#pragma once
// A laser meter on a serial device: a USB serial adapter, a bound Bluetooth
// serial port (/dev/rfcomm0) or a pseudo-terminal. 9600 baud, 8 data bits,
// no parity, 1 stop bit, no flow control.

#include "telvo/RangeTransport.h"

class QSerialPort;

class SerialTransport : public RangeTransport {
    Q_OBJECT
public:
    explicit SerialTransport(const QString& device, QObject* parent = nullptr);
    ~SerialTransport() override;

    bool Start() override;
    void Stop() override;
    bool IsConnected() const override { return m_port != nullptr; }
    bool Send(const QByteArray& bytes) override;

private:
    void OnError(QSerialPort* port, int error);

    QString m_device;
    QSerialPort* m_port = nullptr;
};
