#pragma once
// A laser meter on the Bluetooth serial profile (RFCOMM), reached through
// Qt's Bluetooth socket without binding an /dev/rfcomm device first.

#include "telvo/RangeTransport.h"

class QBluetoothSocket;

class SppTransport : public RangeTransport {
    Q_OBJECT
public:
    explicit SppTransport(const QString& address, QObject* parent = nullptr);
    ~SppTransport() override;

    bool Start() override;
    void Stop() override;
    bool IsConnected() const override { return m_connected; }
    bool Send(const QByteArray& bytes) override;

private:
    void Lose(QBluetoothSocket* socket, const QString& why);

    QString m_address;
    QBluetoothSocket* m_socket = nullptr;
    bool m_connected = false;
};
