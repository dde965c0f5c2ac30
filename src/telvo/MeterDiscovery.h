#pragma once
// A Bluetooth scan for laser meters. The program's scan is
// BluetoothMeterDiscovery; tests stand in their own.

#include "telvo/RangeMeterList.h"

#include <QObject>

class QBluetoothDeviceDiscoveryAgent;
class QBluetoothDeviceInfo;

class MeterDiscovery : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // Starts a scan; DeviceFound for each device, then Finished or Failed.
    virtual void Start() = 0;
    // Stops a scan; no signal follows.
    virtual void Stop() = 0;

Q_SIGNALS:
    void DeviceFound(const DiscoveredDevice& device);
    void Finished();
    // The scan cannot run; `why` says which of no adapter, Bluetooth off or
    // no permission.
    void Failed(const QString& why);
};

class BluetoothMeterDiscovery : public MeterDiscovery {
    Q_OBJECT
public:
    explicit BluetoothMeterDiscovery(QObject* parent = nullptr);
    ~BluetoothMeterDiscovery() override;

    void Start() override;
    void Stop() override;

private:
    void Report(const QBluetoothDeviceInfo& info);

    QBluetoothDeviceDiscoveryAgent* m_agent = nullptr;
};
