#pragma once
// A laser meter the user chose: how it is reached, where, and the protocol
// it speaks. Remembered between runs; the environment can name one for
// tests and scripts.

#include <QString>
#include <memory>
#include <optional>

class QSettings;
class RangeTransport;

// The environment variable that names the meter's protocol when
// TESSAMAR_RANGE_FINDER_PORT names its device.
constexpr const char* kRangeFinderProtocolVariable = "TESSAMAR_RANGE_FINDER_PROTOCOL";

struct RangeMeterChoice {
    enum class Link { Serial, Bluetooth, LowEnergy };
    Link link = Link::Serial;
    QString address;  // a device path, or a Bluetooth address
    QString name;     // as shown to the user
    QString protocol; // a name MakeRangeProtocol knows

    bool operator==(const RangeMeterChoice& other) const {
        return link == other.link && address == other.address && protocol == other.protocol;
    }
    // The link and protocol fit together and the address is not empty.
    bool IsUsable() const;
};

// The protocols that fit a link, the first being the default.
QStringList ProtocolsFor(RangeMeterChoice::Link link);

void SaveRangeMeter(QSettings& settings, const RangeMeterChoice& meter);
std::optional<RangeMeterChoice> LoadRangeMeter(QSettings& settings);

// The meter the environment names: the device of TESSAMAR_RANGE_FINDER_PORT
// (see RangeFinderDevice) with the protocol of TESSAMAR_RANGE_FINDER_PROTOCOL
// ("lines" when unset). Nothing when the port variable is unset or empty.
// An unknown protocol name still gives a choice, one that is not usable.
std::optional<RangeMeterChoice> RangeMeterFromEnvironment();

// The program's transport for a meter: a serial port, a Bluetooth socket or
// the low-energy client; nullptr for a choice that is not usable.
std::unique_ptr<RangeTransport> MakeRangeTransport(const RangeMeterChoice& meter);
