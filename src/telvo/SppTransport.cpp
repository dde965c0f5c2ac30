#include "telvo/SppTransport.h"

#include "telvo/BluetoothState.h"

#include <QBluetoothAddress>
#include <QBluetoothSocket>
#include <QBluetoothUuid>

SppTransport::SppTransport(const QString& address, QObject* parent)
    : RangeTransport(parent), m_address(address) {}

SppTransport::~SppTransport() {
    Stop();
}

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
    m_socket = socket;
    connect(socket, &QBluetoothSocket::connected, this, [this, socket] {
        if (m_socket != socket)
            return;
        m_connected = true;
        Q_EMIT Connected();
    });
    connect(socket, &QBluetoothSocket::readyRead, this, [this, socket] {
        if (m_socket == socket)
            Q_EMIT Received(0, socket->readAll());
    });
    connect(socket, &QBluetoothSocket::errorOccurred, this, [this, socket] {
        if (m_socket == socket)
            Lose(socket, socket->errorString());
    });
    connect(socket, &QBluetoothSocket::disconnected, this, [this, socket] {
        if (m_socket == socket)
            Lose(socket, tr("測距儀中斷了連線"));
    });
    socket->connectToService(address, QBluetoothUuid(QBluetoothUuid::ServiceClassUuid::SerialPort));
    return true;
}

void SppTransport::Stop() {
    m_connected = false;
    if (m_socket == nullptr)
        return;
    QBluetoothSocket* socket = m_socket;
    m_socket = nullptr;
    socket->disconnect(this);
    socket->abort();
    socket->deleteLater();
}

bool SppTransport::Send(const QByteArray& bytes) {
    return m_connected && m_socket != nullptr && m_socket->write(bytes) == bytes.size();
}

void SppTransport::Lose(QBluetoothSocket* socket, const QString& why) {
    QMetaObject::invokeMethod(
        this,
        [this, socket, why] {
            if (m_socket != socket)
                return;
            Stop();
            SetError(why);
            Q_EMIT Failed(why);
        },
        Qt::QueuedConnection);
}
