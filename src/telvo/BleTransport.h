#pragma once
// A laser meter on Bluetooth low energy: connect, find the meter's service,
// switch indications on for its characteristics, then pass their values on.
// What the characteristics are comes from the meter's GATT profile.

#include "telvo/GattClient.h"
#include "telvo/RangeTransport.h"

#include <QStringList>
#include <memory>

// The GATT side of a meter: its service, the characteristics whose values
// are read (source n is the n-th), and the one written to (empty: none).
struct GattProfile {
    QString service;
    QStringList indicated;
    QString written;
};

// The profiles of the two low-energy protocols ("bosch-ble", "leica-ble");
// an empty service for other names.
GattProfile GattProfileFor(const QString& protocol);

class BleTransport : public RangeTransport {
    Q_OBJECT
public:
    // Uses `client` (owned) to reach the device at `address`.
    BleTransport(const QString& address, const GattProfile& profile,
                 std::unique_ptr<GattClient> client, QObject* parent = nullptr);
    ~BleTransport() override;

    bool Start() override;
    void Stop() override;
    bool IsConnected() const override { return m_stage == Stage::Ready; }
    bool Send(const QByteArray& bytes) override;
    QString Where() const override { return m_address; }

private:
    enum class Stage { Idle, Connecting, Discovering, Subscribing, Ready };
    void Fail(const QString& why);

    QString m_address;
    GattProfile m_profile;
    std::unique_ptr<GattClient> m_client;
    Stage m_stage = Stage::Idle;
    int m_subscribed = 0;
};
