// Which discovered devices the picker offers, with which protocol; the
// remembered meter; the meter the environment names.

#include "telvo/RangeMeterList.h"
#include "telvo/RangeFinderPort.h"

#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using Link = RangeMeterChoice::Link;

DiscoveredDevice Le(const char* name, const char* service = nullptr) {
    const QStringList services = service ? QStringList{QLatin1String(service)} : QStringList();
    return {QLatin1String(name), QStringLiteral("C8:FD:19:00:00:01"), services, true, false, false};
}
DiscoveredDevice Classic(const char* name, bool paired = false) {
    return {QLatin1String(name), QStringLiteral("00:13:43:00:00:02"), {}, false, true, paired};
}

// Meters are listed by their advertised service or their name, with the
// protocol of their kind; a paired device of no known kind speaks our line
// format (not detected: the user may choose another); other devices are left
// out (protocol "").
TEST(EntryForDeviceTest, ListsMetersWithTheirProtocol) {
    const struct {
        DiscoveredDevice device;
        Link link;
        const char* protocol;
        bool detected;
    } cases[] = {
        {Le("", "{02A6C0D0-0451-4000-B000-FB3210111989}"), Link::LowEnergy, "bosch-ble", true},
        // The second Bosch family (GLM 100 C, PLR 30/40/50 C), unnamed.
        {Le("", "{00005301-0000-0041-5253-534F46540000}"), Link::LowEnergy, "bosch-ble", true},
        {Le("Unnamed", "3ab10100-f831-4395-b29d-570977d5bf94"), Link::LowEnergy, "leica-ble", true},
        {Le("DISTO 1234567"), Link::LowEnergy, "leica-ble", true},
        {Le("plr 40 c"), Link::LowEnergy, "bosch-ble", true},
        {Le("Headphones"), Link::LowEnergy, "", false},
        {Classic("GLM 100 C"), Link::Bluetooth, "bosch-spp", true},
        {Classic("DISTO D3aBT"), Link::Bluetooth, "leica-spp", true},
        {Classic("HC-05", true), Link::Bluetooth, "lines", false},
        {Classic("HC-05"), Link::Bluetooth, "", false},
    };
    for (const auto& c : cases) {
        const std::optional<RangeMeterEntry> entry = EntryForDevice(c.device);
        ASSERT_EQ(entry.has_value(), *c.protocol != 0) << c.device.name.toStdString();
        if (!entry)
            continue;
        EXPECT_EQ(entry->meter.link, c.link);
        EXPECT_EQ(entry->meter.protocol, QLatin1String(c.protocol));
        EXPECT_EQ(entry->detected, c.detected);
        EXPECT_EQ(entry->meter.address, c.device.address);
        EXPECT_TRUE(entry->meter.IsUsable());
    }
}

// The chosen meter is remembered; a low-energy protocol over a classic link
// is not loaded. The environment names a serial
// meter of our line format unless it names the protocol.
TEST(RangeMeterSettingsTest, TheChosenMeterIsRememberedAndTheEnvironmentNamesOne) {
    QTemporaryDir dir;
    QSettings settings(dir.filePath(QStringLiteral("t.ini")), QSettings::IniFormat);
    EXPECT_FALSE(LoadRangeMeter(settings));
    const RangeMeterChoice meter{Link::Bluetooth, QStringLiteral("00:13:43:00:00:02"),
                                 QStringLiteral("DISTO"), QStringLiteral("leica-spp")};
    SaveRangeMeter(settings, meter);
    EXPECT_EQ(LoadRangeMeter(settings).value_or(RangeMeterChoice{}), meter);
    EXPECT_EQ(LoadRangeMeter(settings)->name, meter.name);
    settings.setValue(QStringLiteral("RangeFinder/protocol"), QStringLiteral("bosch-ble"));
    EXPECT_FALSE(LoadRangeMeter(settings));

    qunsetenv(kRangeFinderPortVariable);
    qunsetenv(kRangeFinderProtocolVariable);
    EXPECT_FALSE(RangeMeterFromEnvironment());
    qputenv(kRangeFinderPortVariable, "/dev/pts/7");
    EXPECT_EQ(RangeMeterFromEnvironment().value_or(RangeMeterChoice{}),
              (RangeMeterChoice{
                  Link::Serial, QStringLiteral("/dev/pts/7"), {}, QStringLiteral("lines")}));
    qputenv(kRangeFinderProtocolVariable, "leica-spp");
    EXPECT_EQ(RangeMeterFromEnvironment()->protocol, QStringLiteral("leica-spp"));
    EXPECT_TRUE(RangeMeterFromEnvironment()->IsUsable());
    qputenv(kRangeFinderProtocolVariable, "bosch-ble"); // needs low energy
    EXPECT_FALSE(RangeMeterFromEnvironment()->IsUsable());
    qunsetenv(kRangeFinderPortVariable);
    qunsetenv(kRangeFinderProtocolVariable);
}

} // namespace
