#include "telvo/BleTransport.h"

GattProfile GattProfileFor(const QString& protocol) {
    if (protocol == QLatin1String("bosch-ble")) {
        // One characteristic carries both directions (write + indicate).
        const QString data = QStringLiteral("02a6c0d1-0451-4000-b000-fb3210111989");
        return {QStringLiteral("02a6c0d0-0451-4000-b000-fb3210111989"), {data}, data};
    }
    if (protocol == QLatin1String("leica-ble")) {
        // The distance; its unit (3ab10102) and the inclination (3ab10103)
        // are not needed: the distance always comes in metres.
        return {QStringLiteral("3ab10100-f831-4395-b29d-570977d5bf94"),
                {QStringLiteral("3ab10101-f831-4395-b29d-570977d5bf94")},
                {}};
    }
    return {};
}

BleTransport::BleTransport(const QString& address, const GattProfile& profile,
                           std::unique_ptr<GattClient> client, QObject* parent)
    : RangeTransport(parent), m_address(address), m_profile(profile), m_client(std::move(client)) {
    GattClient* gatt = m_client.get();
    connect(gatt, &GattClient::DeviceConnected, this, [this] {
        if (m_stage != Stage::Connecting)
            return;
        m_stage = Stage::Discovering;
        m_client->DiscoverService(m_profile.service);
    });
    connect(gatt, &GattClient::ServiceReady, this, [this](bool found) {
        if (m_stage != Stage::Discovering)
            return;
        if (!found) {
            Fail(tr("這個設備沒有測距儀的服務"));
            return;
        }
        m_stage = Stage::Subscribing;
        m_subscribed = 0;
        for (const QString& characteristic : m_profile.indicated) {
            if (!m_client->EnableIndications(characteristic)) {
                Fail(tr("這個設備沒有測距儀的服務"));
                return;
            }
        }
    });
    connect(gatt, &GattClient::IndicationsOn, this, [this](const QString& characteristic) {
        if (m_stage != Stage::Subscribing || !m_profile.indicated.contains(characteristic))
            return;
        if (++m_subscribed < m_profile.indicated.size())
            return;
        m_stage = Stage::Ready;
        Q_EMIT Connected();
    });
    connect(gatt, &GattClient::ValueChanged, this,
            [this](const QString& characteristic, const QByteArray& value) {
                const int source = static_cast<int>(m_profile.indicated.indexOf(characteristic));
                if (m_stage == Stage::Ready && source >= 0)
                    Q_EMIT Received(source, value);
            });
    connect(gatt, &GattClient::Disconnected, this, [this] { Fail(tr("測距儀中斷了連線")); });
    connect(gatt, &GattClient::Error, this, [this](const QString& why) { Fail(why); });
}

BleTransport::~BleTransport() {
    Stop();
}

bool BleTransport::Start() {
    Stop();
    if (m_profile.service.isEmpty() || m_profile.indicated.isEmpty()) {
        SetError(tr("這個設備沒有測距儀的服務"));
        return false;
    }
    m_stage = Stage::Connecting;
    m_client->ConnectToDevice();
    return true;
}

void BleTransport::Stop() {
    if (m_stage == Stage::Idle)
        return;
    m_stage = Stage::Idle;
    m_client->DisconnectFromDevice();
}

bool BleTransport::Send(const QByteArray& bytes) {
    if (m_stage != Stage::Ready || m_profile.written.isEmpty())
        return false;
    return m_client->Write(m_profile.written, bytes);
}

void BleTransport::Fail(const QString& why) {
    if (m_stage == Stage::Idle)
        return;
    Stop();
    SetError(why);
    Q_EMIT Failed(why);
}
