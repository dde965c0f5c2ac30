#include "telvo/MeterDiscovery.h"

#include "telvo/BluetoothState.h"

#include <QBluetoothDeviceDiscoveryAgent>
#include <QBluetoothDeviceInfo>
#include <QBluetoothLocalDevice>

BluetoothMeterDiscovery::BluetoothMeterDiscovery(QObject* parent) : MeterDiscovery(parent) {}

BluetoothMeterDiscovery::~BluetoothMeterDiscovery() {
    Stop();
}

void BluetoothMeterDiscovery::Start() {
    Stop();
    const QString problem = BluetoothProblem();
    if (!problem.isEmpty()) {
        QMetaObject::invokeMethod(
            this, [this, problem] { Q_EMIT Failed(problem); }, Qt::QueuedConnection);
        return;
    }
    m_agent = new QBluetoothDeviceDiscoveryAgent(this);
    m_agent->setLowEnergyDiscoveryTimeout(10000);
    connect(m_agent, &QBluetoothDeviceDiscoveryAgent::deviceDiscovered, this,
            &BluetoothMeterDiscovery::Report);
    connect(m_agent, &QBluetoothDeviceDiscoveryAgent::deviceUpdated, this,
            [this](const QBluetoothDeviceInfo& info) { Report(info); });
    connect(m_agent, &QBluetoothDeviceDiscoveryAgent::finished, this, &MeterDiscovery::Finished);
    connect(m_agent, &QBluetoothDeviceDiscoveryAgent::errorOccurred, this,
            [this](QBluetoothDeviceDiscoveryAgent::Error error) {
                switch (error) {
                case QBluetoothDeviceDiscoveryAgent::PoweredOffError:
                    Q_EMIT Failed(BluetoothOffText());
                    break;
                case QBluetoothDeviceDiscoveryAgent::InvalidBluetoothAdapterError:
                    Q_EMIT Failed(NoBluetoothAdapterText());
                    break;
                case QBluetoothDeviceDiscoveryAgent::MissingPermissionsError:
                case QBluetoothDeviceDiscoveryAgent::LocationServiceTurnedOffError:
                    Q_EMIT Failed(NoBluetoothPermissionText());
                    break;
                default:
                    Q_EMIT Failed(m_agent->errorString());
                    break;
                }
            });
    m_agent->start(QBluetoothDeviceDiscoveryAgent::LowEnergyMethod |
                   QBluetoothDeviceDiscoveryAgent::ClassicMethod);
}

void BluetoothMeterDiscovery::Stop() {
    if (m_agent == nullptr)
        return;
    m_agent->disconnect(this);
    m_agent->stop();
    m_agent->deleteLater();
    m_agent = nullptr;
}

void BluetoothMeterDiscovery::Report(const QBluetoothDeviceInfo& info) {
    DiscoveredDevice device;
    device.name = info.name();
    device.address = info.address().toString();
    for (const QBluetoothUuid& uuid : info.serviceUuids())
        device.services.append(uuid.toString(QUuid::WithoutBraces));
    const auto core = info.coreConfigurations();
    device.lowEnergy = core.testFlag(QBluetoothDeviceInfo::LowEnergyCoreConfiguration);
    device.classic = core.testFlag(QBluetoothDeviceInfo::BaseRateCoreConfiguration);
    device.paired =
        QBluetoothLocalDevice().pairingStatus(info.address()) != QBluetoothLocalDevice::Unpaired;
    Q_EMIT DeviceFound(device);
}
