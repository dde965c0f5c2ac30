#pragma once
// How bytes travel between a laser meter and the link: a serial port, a
// Bluetooth serial-profile socket or a low-energy characteristic. A
// transport knows nothing of what the bytes mean (RangeProtocol does).

#include <QByteArray>
#include <QObject>
#include <QString>

class RangeTransport : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // Begins to connect. False when that failed at once (ErrorText says
    // why); else Connected or Failed follows, at once for a serial port.
    virtual bool Start() = 0;
    // Disconnects; no signal follows. Start may be called again.
    virtual void Stop() = 0;
    virtual bool IsConnected() const = 0;
    // Sends bytes to the meter; false when not connected or refused.
    virtual bool Send(const QByteArray& bytes) = 0;
    // The dialect the connected meter speaks, for RangeProtocol::SetVariant
    // (a low-energy meter family); 0 for the usual one.
    virtual int Variant() const { return 0; }

    QString ErrorText() const { return m_error; }

Q_SIGNALS:
    void Connected();
    // A connection attempt failed, or the connection dropped; Stop has been
    // done, so Start may try again.
    void Failed(const QString& why);
    // Bytes from the meter; `source` as RangeProtocol::Receive takes it.
    void Received(int source, const QByteArray& bytes);

protected:
    void SetError(const QString& text) { m_error = text; }

private:
    QString m_error;
};
