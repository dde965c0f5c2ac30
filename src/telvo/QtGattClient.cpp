#include "telvo/QtGattClient.h"

#include "telvo/BluetoothState.h"

#include <QBluetoothAddress>
#include <QBluetoothDeviceInfo>
#include <QBluetoothUuid>
#include <QLowEnergyController>
#include <QLowEnergyService>

QtGattClient::QtGattClient(const QString& address, QObject* parent)
    : GattClient(parent), m_address(address) {}

QtGattClient::~QtGattClient() {
    Release();
}

void QtGattClient::ConnectToDevice() {
    Release();
    const QString problem = BluetoothProblem();
    if (!problem.isEmpty()) {
        QMetaObject::invokeMethod(
            this, [this, problem] { Q_EMIT Error(problem); }, Qt::QueuedConnection);
        return;
    }
    QBluetoothDeviceInfo device(QBluetoothAddress(m_address), QString(), 0);
    device.setCoreConfigurations(QBluetoothDeviceInfo::LowEnergyCoreConfiguration);
    QLowEnergyController* controller = QLowEnergyController::createCentral(device, this);
    m_controller = controller;
    connect(controller, &QLowEnergyController::connected, this, &GattClient::DeviceConnected);
    connect(controller, &QLowEnergyController::disconnected, this, &GattClient::Disconnected);
    connect(controller, &QLowEnergyController::errorOccurred, this,
            [this, controller](QLowEnergyController::Error error) {
                Q_EMIT Error(error == QLowEnergyController::MissingPermissionsError
                                 ? NoBluetoothPermissionText()
                                 : controller->errorString());
            });
    controller->connectToDevice();
}

void QtGattClient::DiscoverService(const QStringList& services) {
    if (!m_controller)
        return;
    QLowEnergyController* controller = m_controller;
    connect(
        controller, &QLowEnergyController::discoveryFinished, this, [this, controller, services] {
            int index = 0;
            QLowEnergyService* found = nullptr;
            for (; index < services.size() && !found; ++index)
                found = controller->createServiceObject(QBluetoothUuid(services[index]), this);
            m_service = found;
            if (found == nullptr) {
                Q_EMIT ServiceReady(-1);
                return;
            }
            --index;
            connect(found, &QLowEnergyService::stateChanged, this,
                    [this, index](QLowEnergyService::ServiceState state) {
                        if (state == QLowEnergyService::RemoteServiceDiscovered)
                            Q_EMIT ServiceReady(index);
                    });
            connect(found, &QLowEnergyService::characteristicChanged, this,
                    [this](const QLowEnergyCharacteristic& c, const QByteArray& value) {
                        Q_EMIT ValueChanged(c.uuid().toString(QUuid::WithoutBraces), value);
                    });
            connect(found, &QLowEnergyService::characteristicRead, this,
                    [this](const QLowEnergyCharacteristic& c, const QByteArray& value) {
                        Q_EMIT ValueChanged(c.uuid().toString(QUuid::WithoutBraces), value);
                    });
            connect(found, &QLowEnergyService::descriptorWritten, this,
                    [this](const QLowEnergyDescriptor& d, const QByteArray&) {
                        for (const auto& [cccd, characteristic] : m_switching)
                            if (cccd == d)
                                Q_EMIT IndicationsOn(characteristic);
                    });
            connect(found, &QLowEnergyService::errorOccurred, this,
                    [this](QLowEnergyService::ServiceError) { Q_EMIT Error(tr("藍牙服務出錯")); });
            found->discoverDetails();
        });
    controller->discoverServices();
}

bool QtGattClient::EnableIndications(const QString& characteristic) {
    if (!m_service)
        return false;
    const QLowEnergyCharacteristic c = m_service->characteristic(QBluetoothUuid(characteristic));
    const QLowEnergyDescriptor cccd =
        c.descriptor(QBluetoothUuid::DescriptorType::ClientCharacteristicConfiguration);
    if (!c.isValid() || !cccd.isValid())
        return false;
    m_switching.append({cccd, characteristic});
    m_service->writeDescriptor(cccd, (c.properties() & QLowEnergyCharacteristic::Indicate)
                                         ? QLowEnergyCharacteristic::CCCDEnableIndication
                                         : QLowEnergyCharacteristic::CCCDEnableNotification);
    return true;
}

bool QtGattClient::Read(const QString& characteristic) {
    if (!m_service)
        return false;
    const QLowEnergyCharacteristic c = m_service->characteristic(QBluetoothUuid(characteristic));
    if (!c.isValid())
        return false;
    m_service->readCharacteristic(c);
    return true;
}

bool QtGattClient::Write(const QString& characteristic, const QByteArray& value) {
    if (!m_service)
        return false;
    const QLowEnergyCharacteristic c = m_service->characteristic(QBluetoothUuid(characteristic));
    if (!c.isValid())
        return false;
    m_service->writeCharacteristic(c, value, QLowEnergyService::WriteWithResponse);
    return true;
}

void QtGattClient::DisconnectFromDevice() {
    Release();
}

void QtGattClient::Release() {
    // Either may be inside one of its own signals: they go when control is
    // back in the event loop.
    if (m_service) {
        m_service->disconnect(this);
        m_service->deleteLater();
    }
    if (m_controller) {
        m_controller->disconnect(this);
        m_controller->disconnectFromDevice();
        m_controller->deleteLater();
    }
    m_service = nullptr;
    m_controller = nullptr;
    m_switching.clear();
}
