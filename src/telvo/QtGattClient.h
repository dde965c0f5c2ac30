#pragma once
// GattClient through Qt's QLowEnergyController and QLowEnergyService: the
// thin adapter between the low-energy road and the Bluetooth stack.

#include "telvo/GattClient.h"

#include <QList>
#include <QLowEnergyDescriptor>
#include <QPair>
#include <QPointer>

class QLowEnergyController;
class QLowEnergyService;

class QtGattClient : public GattClient {
    Q_OBJECT
public:
    explicit QtGattClient(const QString& address, QObject* parent = nullptr);
    ~QtGattClient() override;

    void ConnectToDevice() override;
    void DiscoverService(const QStringList& services) override;
    bool EnableIndications(const QString& characteristic) override;
    bool Read(const QString& characteristic) override;
    bool Write(const QString& characteristic, const QByteArray& value) override;
    void DisconnectFromDevice() override;

private:
    void Release();

    QString m_address;
    QPointer<QLowEnergyController> m_controller;
    QPointer<QLowEnergyService> m_service;
    // Descriptors whose indications are being switched on, with the UUID of
    // their characteristic.
    QList<QPair<QLowEnergyDescriptor, QString>> m_switching;
};
