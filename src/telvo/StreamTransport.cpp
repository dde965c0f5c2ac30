#include "telvo/StreamTransport.h"

#include <QIODevice>

#include <utility>

StreamTransport::~StreamTransport() {
    Stop();
}

void StreamTransport::Adopt(QIODevice* device, std::function<void()> close) {
    m_device = device;
    m_close = close ? std::move(close) : [device] { device->close(); };
    connect(device, &QIODevice::readyRead, this, [this, device] {
        if (m_device == device)
            Q_EMIT Received(0, device->readAll());
    });
}

void StreamTransport::Stop() {
    m_connected = false;
    if (m_device == nullptr)
        return;
    QIODevice* device = m_device;
    m_device = nullptr;
    device->disconnect(this);
    std::exchange(m_close, nullptr)();
    // The device may be inside one of its own signals (an error).
    device->deleteLater();
}

bool StreamTransport::Send(const QByteArray& bytes) {
    return m_connected && m_device != nullptr && m_device->write(bytes) == bytes.size();
}

void StreamTransport::Lose(QIODevice* device, const QString& why) {
    QMetaObject::invokeMethod(
        this,
        [this, device, why] {
            if (m_device != device)
                return;
            Stop();
            SetError(why);
            Q_EMIT Failed(why);
        },
        Qt::QueuedConnection);
}
