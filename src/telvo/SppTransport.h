#pragma once
// A laser meter on the Bluetooth serial profile (RFCOMM), reached through
// Qt's Bluetooth socket without binding an /dev/rfcomm device first.

#include "telvo/StreamTransport.h"

class QBluetoothSocket;

class SppTransport : public StreamTransport {
    Q_OBJECT
public:
    explicit SppTransport(const QString& address, QObject* parent = nullptr);

    bool Start() override;

private:
    QString m_address;
};
