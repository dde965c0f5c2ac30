// The meter picker, fed by a scan that the test plays.

#include "DialogFixture.h"

#include "dialog/CRangeFinderPicker.h"
#include "telvo/BluetoothState.h"
#include "telvo/MeterDiscovery.h"

#include <QComboBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

namespace {

class FakeDiscovery : public MeterDiscovery {
public:
    int starts = 0;
    int stops = 0;
    void Start() override { ++starts; }
    void Stop() override { ++stops; }
};

DiscoveredDevice Device(const char* name, const char* address, bool lowEnergy, bool paired) {
    return {
        QString::fromLatin1(name), QString::fromLatin1(address), {}, lowEnergy, !lowEnergy, paired};
}

class RangeFinderPickerTest : public ::testing::Test {
protected:
    void Make(const std::optional<RangeMeterChoice>& remembered = std::nullopt) {
        auto discovery = std::make_unique<FakeDiscovery>();
        scan = discovery.get();
        picker = std::make_unique<CRangeFinderPicker>(
            std::move(discovery), QStringList{QStringLiteral("/dev/ttyUSB0")}, remembered);
    }
    QStringList Rows() const {
        QStringList rows;
        for (int i = 0; i < picker->ListWidget()->count(); ++i)
            rows << picker->ListWidget()->item(i)->text();
        return rows;
    }

    FakeDiscovery* scan = nullptr;
    std::unique_ptr<CRangeFinderPicker> picker;
};

// While the scan runs a busy bar shows and the scan button waits; meters
// appear as they are found, other devices do not; after ten seconds the
// scan ends by itself and can be started again.
TEST_F(RangeFinderPickerTest, ScansWithProgressEndsByItselfAndCanBeRepeated) {
    Make();
    picker->show();
    EXPECT_EQ(scan->starts, 1);
    EXPECT_TRUE(picker->IsScanning());
    EXPECT_TRUE(picker->Progress()->isVisible());
    EXPECT_FALSE(picker->ScanButton()->isEnabled());
    EXPECT_EQ(picker->ScanTimer()->interval(), 10000);
    EXPECT_EQ(Rows(), QStringList{Utf8("/dev/ttyUSB0 - 序列埠")});

    Q_EMIT scan->DeviceFound(Device("GLM 50 C", "C8:FD:19:00:00:01", true, false));
    Q_EMIT scan->DeviceFound(Device("Headphones", "C8:FD:19:00:00:02", true, true));
    Q_EMIT scan->DeviceFound(Device("HC-05", "00:13:43:00:00:03", false, true));
    EXPECT_EQ(Rows(), (QStringList{Utf8("/dev/ttyUSB0 - 序列埠"),
                                   Utf8("GLM 50 C (C8:FD:19:00:00:01) - 藍牙低功耗"),
                                   Utf8("HC-05 (00:13:43:00:00:03) - 藍牙")}));

    picker->ScanTimer()->setInterval(20);
    picker->ScanTimer()->start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !picker->IsScanning(); }));
    EXPECT_FALSE(picker->Progress()->isVisible());
    EXPECT_TRUE(picker->ScanButton()->isEnabled());
    EXPECT_GE(scan->stops, 1);
    Q_EMIT scan->DeviceFound(Device("GLM 100 C", "C8:FD:19:00:00:09", true, false));
    EXPECT_EQ(Rows().size(), 3); // nothing is added after the scan

    QTest::mouseClick(picker->ScanButton(), Qt::LeftButton);
    EXPECT_EQ(scan->starts, 2);
    EXPECT_TRUE(picker->IsScanning());
    EXPECT_EQ(Rows(), QStringList{Utf8("/dev/ttyUSB0 - 序列埠")}); // found afresh
    Q_EMIT scan->Finished();
    EXPECT_FALSE(picker->IsScanning());
}

// The remembered meter is offered first and selected; the protocol box
// lists what fits the selected meter's link, and the user's choice stays
// while the scan goes on.
TEST_F(RangeFinderPickerTest, OffersTheRememberedMeterFirstAndKeepsTheChosenProtocol) {
    Make(RangeMeterChoice{RangeMeterChoice::Link::Bluetooth, QStringLiteral("00:13:43:00:00:03"),
                          QStringLiteral("HC-05"), QStringLiteral("leica-spp")});
    EXPECT_EQ(picker->ListWidget()->currentRow(), 0);
    ASSERT_TRUE(picker->Chosen());
    EXPECT_EQ(picker->Chosen()->protocol, QStringLiteral("leica-spp"));

    picker->ListWidget()->setCurrentRow(1); // the serial port
    EXPECT_EQ(picker->ProtocolBox()->count(), 3);
    EXPECT_EQ(picker->Chosen()->protocol, QStringLiteral("lines"));
    picker->ProtocolBox()->setCurrentIndex(picker->ProtocolBox()->findData("bosch-spp"));
    Q_EMIT scan->DeviceFound(Device("GLM 50 C", "C8:FD:19:00:00:01", true, false));
    Q_EMIT scan->DeviceFound(Device("HC-05", "00:13:43:00:00:03", false, true)); // found again
    ASSERT_TRUE(picker->Chosen());
    EXPECT_EQ(picker->Chosen()->address, QStringLiteral("/dev/ttyUSB0"));
    EXPECT_EQ(picker->Chosen()->protocol, QStringLiteral("bosch-spp"));
    EXPECT_EQ(Rows().size(), 3);

    picker->ListWidget()->setCurrentRow(2);
    EXPECT_EQ(picker->Chosen()->protocol, QStringLiteral("bosch-ble"));
    EXPECT_EQ(picker->ProtocolBox()->count(), 2); // the low-energy protocols
}

// A scan that cannot run says why and leaves the serial ports to choose.
TEST_F(RangeFinderPickerTest, AScanThatCannotRunSaysWhy) {
    for (const QString& why :
         {NoBluetoothAdapterText(), BluetoothOffText(), NoBluetoothPermissionText()}) {
        Make();
        Q_EMIT scan->Failed(why);
        EXPECT_FALSE(picker->IsScanning());
        EXPECT_EQ(picker->Status()->text(), why);
        EXPECT_TRUE(picker->ScanButton()->isEnabled());
        EXPECT_EQ(Rows().size(), 1);
    }
}

} // namespace
