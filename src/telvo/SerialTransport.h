#pragma once
// A laser meter on a serial device: a USB serial adapter, a bound Bluetooth
// serial port (/dev/rfcomm0) or a pseudo-terminal. 9600 baud, 8 data bits,
// no parity, 1 stop bit, no flow control.

#include "telvo/StreamTransport.h"

class QSerialPort;

class SerialTransport : public StreamTransport {
    Q_OBJECT
public:
    explicit SerialTransport(const QString& device, QObject* parent = nullptr);

    bool Start() override;

private:
    void OnError(QSerialPort* port, int error);

    QString m_device;
};
