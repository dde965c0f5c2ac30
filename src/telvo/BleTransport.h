#pragma once
// A laser meter on Bluetooth low energy: connect, find the meter's service,
// switch indications on for its characteristics, read those whose value
// is wanted at once, then pass values on. What the characteristics are
// comes from the meter's GATT profile; a protocol may have several (meter
// families), tried in order: the first whose service the device has is
// spoken, and Variant says which.

#include "telvo/GattClient.h"
#include "telvo/RangeTransport.h"

#include <QStringList>
#include <memory>
#include <vector>

// The GATT side of a meter: its service, the characteristics whose values
// are indicated (source n is the n-th), those of them read once subscribed,
// the one written to (empty: none), and the variant the protocol is told.
struct GattProfile {
    QString service;
    QStringList indicated;
    QString written;
    QStringList read;
    int variant = 0;
};

// The profiles of the two low-energy protocols ("bosch-ble": two families,
// "leica-ble"); none for other names.
std::vector<GattProfile> GattProfilesFor(const QString& protocol);

class BleTransport : public RangeTransport {
    Q_OBJECT
public:
    // Uses `client` (owned) to reach the device at `address`.
    BleTransport(const QString& address, std::vector<GattProfile> profiles,
                 std::unique_ptr<GattClient> client, QObject* parent = nullptr);
    ~BleTransport() override;

    bool Start() override;
    void Stop() override;
    bool IsConnected() const override { return m_stage == Stage::Ready; }
    bool Send(const QByteArray& bytes) override;
    int Variant() const override { return Profile().variant; }

private:
    enum class Stage { Idle, Connecting, Discovering, Subscribing, Ready };
    void Fail(const QString& why);
    const GattProfile& Profile() const { return m_profiles[m_chosen]; }

    QString m_address;
    std::vector<GattProfile> m_profiles;
    size_t m_chosen = 0;
    std::unique_ptr<GattClient> m_client;
    Stage m_stage = Stage::Idle;
    int m_subscribed = 0;
};
