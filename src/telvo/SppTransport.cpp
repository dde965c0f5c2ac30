#include "telvo/SppTransport.h"

#include "telvo/BluetoothState.h"

#include <QBluetoothAddress>
#include <QBluetoothSocket>
#include <QBluetoothUuid>

SppTransport::SppTransport(const QString& address, QObject* parent)
    : StreamTransport(parent), m_address(address) {}

bool SppTransport::Start() {
    Stop();
    const QString problem = BluetoothProblem();
    if (!problem.isEmpty()) {
        SetError(problem);
        return false;
    }
    const QBluetoothAddress address(m_address);
    if (address.isNull()) {
        SetError(tr("不是藍牙地址：%1").arg(m_address));
        return false;
    }
    auto* socket = new QBluetoothSocket(QBluetoothServiceInfo::RfcommProtocol, this);
    Adopt(socket, [socket] { socket->abort(); }); // a socket is aborted when let go
    connect(socket, &QBluetoothSocket::connected, this, [this, socket] {
        if (!IsCurrent(socket))
            return;
        SetConnected();
        Q_EMIT Connected();
    });
    connect(socket, &QBluetoothSocket::errorOccurred, this, [this, socket] {
        if (IsCurrent(socket))
            Lose(socket, socket->errorString());
    });
    connect(socket, &QBluetoothSocket::disconnected, this, [this, socket] {
        if (IsCurrent(socket))
            Lose(socket, tr("測距儀中斷了連線"));
    });
    socket->connectToService(address, QBluetoothUuid(QBluetoothUuid::ServiceClassUuid::SerialPort));
    return true;
}
