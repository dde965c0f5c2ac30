#pragma once
// The few things the low-energy road asks of a meter's GATT server. The
// program's client is QtGattClient; tests stand in their own. Characteristics
// and services are named by their UUID text.

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>

class GattClient : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // Connects to the device; DeviceConnected or Error follows.
    virtual void ConnectToDevice() = 0;
    // Finds the first of `services` the device has, and its
    // characteristics; ServiceReady follows with its index (-1: none).
    virtual void DiscoverService(const QStringList& services) = 0;
    // Switches indications (notifications, when the characteristic has no
    // indications) of `characteristic` on through its client characteristic
    // configuration descriptor; IndicationsOn or Error follows. False when
    // the characteristic or its descriptor is missing.
    virtual bool EnableIndications(const QString& characteristic) = 0;
    // Reads the value of `characteristic`; ValueChanged follows.
    virtual bool Read(const QString& characteristic) = 0;
    virtual bool Write(const QString& characteristic, const QByteArray& value) = 0;
    // Disconnects; no signal follows.
    virtual void DisconnectFromDevice() = 0;

Q_SIGNALS:
    void DeviceConnected();
    void ServiceReady(int index);
    void IndicationsOn(const QString& characteristic);
    void ValueChanged(const QString& characteristic, const QByteArray& value);
    void Disconnected();
    void Error(const QString& why);
};
