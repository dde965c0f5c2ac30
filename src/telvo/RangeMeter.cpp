#include "telvo/RangeMeter.h"

#include "telvo/BleTransport.h"
#include "telvo/QtGattClient.h"
#include "telvo/RangeFinderPort.h"
#include "telvo/RangeProtocol.h"
#include "telvo/SerialTransport.h"
#include "telvo/SppTransport.h"

#include <QSettings>
#include <QStringList>

namespace {
const char* const kLinkNames[] = {"serial", "bluetooth", "low-energy"};
} // namespace

QStringList ProtocolsFor(RangeMeterChoice::Link link) {
    if (link == RangeMeterChoice::Link::LowEnergy)
        return {QStringLiteral("bosch-ble"), QStringLiteral("leica-ble")};
    return {QStringLiteral("lines"), QStringLiteral("bosch-spp"), QStringLiteral("leica-spp")};
}

bool RangeMeterChoice::IsUsable() const {
    return !address.isEmpty() && ProtocolsFor(link).contains(protocol);
}

void SaveRangeMeter(QSettings& settings, const RangeMeterChoice& meter) {
    settings.beginGroup(QStringLiteral("RangeFinder"));
    settings.setValue(QStringLiteral("link"),
                      QString::fromLatin1(kLinkNames[static_cast<int>(meter.link)]));
    settings.setValue(QStringLiteral("address"), meter.address);
    settings.setValue(QStringLiteral("name"), meter.name);
    settings.setValue(QStringLiteral("protocol"), meter.protocol);
    settings.endGroup();
}

std::optional<RangeMeterChoice> LoadRangeMeter(QSettings& settings) {
    settings.beginGroup(QStringLiteral("RangeFinder"));
    RangeMeterChoice meter;
    const QString link = settings.value(QStringLiteral("link")).toString();
    int found = -1;
    for (int i = 0; i < 3; ++i)
        if (link == QLatin1String(kLinkNames[i]))
            found = i;
    meter.link = static_cast<RangeMeterChoice::Link>(found < 0 ? 0 : found);
    meter.address = settings.value(QStringLiteral("address")).toString();
    meter.name = settings.value(QStringLiteral("name")).toString();
    meter.protocol = settings.value(QStringLiteral("protocol")).toString();
    settings.endGroup();
    if (found < 0 || !meter.IsUsable())
        return std::nullopt;
    return meter;
}

std::optional<RangeMeterChoice> RangeMeterFromEnvironment() {
    const QString port = qEnvironmentVariable(kRangeFinderPortVariable).trimmed();
    if (port.isEmpty())
        return std::nullopt;
    RangeMeterChoice meter;
    meter.link = RangeMeterChoice::Link::Serial;
    meter.address = RangeFinderDevice(port, port);
    meter.name = meter.address;
    const QString protocol = qEnvironmentVariable(kRangeFinderProtocolVariable).trimmed();
    meter.protocol = protocol.isEmpty() ? QStringLiteral("lines") : protocol;
    return meter;
}

std::unique_ptr<RangeTransport> MakeRangeTransport(const RangeMeterChoice& meter) {
    if (!meter.IsUsable())
        return nullptr;
    switch (meter.link) {
    case RangeMeterChoice::Link::Serial:
        return std::make_unique<SerialTransport>(meter.address);
    case RangeMeterChoice::Link::Bluetooth:
        return std::make_unique<SppTransport>(meter.address);
    case RangeMeterChoice::Link::LowEnergy:
        return std::make_unique<BleTransport>(meter.address, GattProfilesFor(meter.protocol),
                                              std::make_unique<QtGattClient>(meter.address));
    }
    return nullptr;
}
