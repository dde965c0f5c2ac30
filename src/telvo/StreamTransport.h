#pragma once
// A laser meter reached as a byte stream (a QIODevice): a serial device or a
// Bluetooth serial-profile socket. What both do alike is here: the stream's
// bytes come out as Received, Send writes them whole, Stop lets the device
// go, and a lost connection ends with Failed once control is back in the
// event loop.

#include "telvo/RangeTransport.h"

#include <functional>

class QIODevice;

class StreamTransport : public RangeTransport {
    Q_OBJECT
public:
    using RangeTransport::RangeTransport;
    ~StreamTransport() override;

    void Stop() override;
    bool IsConnected() const override { return m_connected; }
    bool Send(const QByteArray& bytes) override;

protected:
    // Takes `device` (a child of this transport) as the meter's stream;
    // `close` closes it as its kind must be closed when let go (by default
    // QIODevice::close).
    void Adopt(QIODevice* device, std::function<void()> close = {});
    bool IsCurrent(const QIODevice* device) const { return m_device == device; }
    void SetConnected() { m_connected = true; }
    // Ends the connection `device` carried with Failed(why), outside the
    // device's own signal; nothing when another device has taken its place.
    void Lose(QIODevice* device, const QString& why);

private:
    QIODevice* m_device = nullptr;
    std::function<void()> m_close;
    bool m_connected = false;
};
