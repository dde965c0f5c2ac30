#include "telvo/BleTransport.h"

#include "telvo/BoschMtProtocol.h"

std::vector<GattProfile> GattProfilesFor(const QString& protocol) {
    if (protocol == QLatin1String("bosch-ble")) {
        // The GLM 50 C family: one characteristic both ways. The GLM 100 C
        // and PLR 30/40/50 C family: the meter's chunks on 4302, the app's
        // and the acknowledgements on 4301.
        const QString data = QStringLiteral("02a6c0d1-0451-4000-b000-fb3210111989");
        return {GattProfile{
                    QStringLiteral("02a6c0d0-0451-4000-b000-fb3210111989"), {data}, data, {}, 0},
                GattProfile{QStringLiteral("00005301-0000-0041-5253-534f46540000"),
                            {QStringLiteral("00004302-0000-0041-5253-534f46540000")},
                            QStringLiteral("00004301-0000-0041-5253-534f46540000"),
                            {},
                            BoschMtProtocol::kChunked}};
    }
    if (protocol == QLatin1String("leica-ble")) {
        // The distance and the unit the meter displays, read at once since
        // it is indicated only when it changes.
        const QString unit = QStringLiteral("3ab10102-f831-4395-b29d-570977d5bf94");
        return {GattProfile{QStringLiteral("3ab10100-f831-4395-b29d-570977d5bf94"),
                            {QStringLiteral("3ab10101-f831-4395-b29d-570977d5bf94"), unit},
                            {},
                            {unit},
                            0}};
    }
    return {};
}

BleTransport::BleTransport(const QString& address, std::vector<GattProfile> profiles,
                           std::unique_ptr<GattClient> client, QObject* parent)
    : RangeTransport(parent), m_address(address), m_profiles(std::move(profiles)),
      m_client(std::move(client)) {
    if (m_profiles.empty())
        m_profiles.emplace_back();
    GattClient* gatt = m_client.get();
    connect(gatt, &GattClient::DeviceConnected, this, [this] {
        if (m_stage != Stage::Connecting)
            return;
        m_stage = Stage::Discovering;
        QStringList services;
        for (const GattProfile& profile : m_profiles)
            services << profile.service;
        m_client->DiscoverService(services);
    });
    connect(gatt, &GattClient::ServiceReady, this, [this](int index) {
        if (m_stage != Stage::Discovering)
            return;
        if (index < 0 || static_cast<size_t>(index) >= m_profiles.size()) {
            Fail(tr("這個設備沒有測距儀的服務"));
            return;
        }
        m_chosen = static_cast<size_t>(index);
        m_stage = Stage::Subscribing;
        m_subscribed = 0;
        for (const QString& characteristic : Profile().indicated) {
            if (!m_client->EnableIndications(characteristic)) {
                Fail(tr("這個設備沒有測距儀的服務"));
                return;
            }
        }
    });
    connect(gatt, &GattClient::IndicationsOn, this, [this](const QString& characteristic) {
        if (m_stage != Stage::Subscribing || !Profile().indicated.contains(characteristic))
            return;
        if (++m_subscribed < Profile().indicated.size())
            return;
        m_stage = Stage::Ready;
        Q_EMIT Connected();
        for (const QString& characteristic : Profile().read)
            m_client->Read(characteristic);
    });
    connect(gatt, &GattClient::ValueChanged, this,
            [this](const QString& characteristic, const QByteArray& value) {
                const int source = static_cast<int>(Profile().indicated.indexOf(characteristic));
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
    if (m_profiles.front().service.isEmpty() || m_profiles.front().indicated.isEmpty()) {
        SetError(tr("這個設備沒有測距儀的服務"));
        return false;
    }
    m_stage = Stage::Connecting;
    m_chosen = 0;
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
    if (m_stage != Stage::Ready || Profile().written.isEmpty())
        return false;
    return m_client->Write(Profile().written, bytes);
}

void BleTransport::Fail(const QString& why) {
    if (m_stage == Stage::Idle)
        return;
    Stop();
    SetError(why);
    Q_EMIT Failed(why);
}
