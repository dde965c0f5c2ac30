// The link with a meter that connects in the background: the low-energy road
// with a stand-in for the GATT server (connect, find the service, switch
// indications on, values in), drops and returns, and asking for readings.

#include "RangeTestSupport.h"
#include "telvo/BleTransport.h"
#include "telvo/BluetoothState.h"
#include "telvo/BoschMtProtocol.h"
#include "telvo/LeicaBleProtocol.h"
#include "telvo/QtGattClient.h"
#include "telvo/RangeProtocol.h"
#include "telvo/SppTransport.h"
#include "telvo/TelvoComm.h"

#include <QCoreApplication>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include <vector>

namespace {

const QString kBoschService = QStringLiteral("02a6c0d0-0451-4000-b000-fb3210111989");
const QString kBoschData = QStringLiteral("02a6c0d1-0451-4000-b000-fb3210111989");
const QString kLeicaDistance = QStringLiteral("3ab10101-f831-4395-b29d-570977d5bf94");
const QString kLeicaUnit = QStringLiteral("3ab10102-f831-4395-b29d-570977d5bf94");
const QString kBoschMtIn = QStringLiteral("00004302-0000-0041-5253-534f46540000");
const QString kBoschMtOut = QStringLiteral("00004301-0000-0041-5253-534f46540000");

// Plays the meter's GATT server: records what is asked of it; the test
// answers with its signals.
class FakeGattClient : public GattClient {
public:
    QStringList calls;
    QList<QPair<QString, QByteArray>> written;
    QStringList characteristics; // those the service has

    void ConnectToDevice() override { calls << QStringLiteral("connect"); }
    void DiscoverService(const QStringList& services) override {
        calls << QStringLiteral("discover ") + services.join(QLatin1Char(' '));
    }
    bool EnableIndications(const QString& characteristic) override {
        calls << QStringLiteral("indicate ") + characteristic;
        return characteristics.contains(characteristic);
    }
    bool Write(const QString& characteristic, const QByteArray& value) override {
        written.append({characteristic, value});
        return true;
    }
    bool Read(const QString& characteristic) override {
        calls << QStringLiteral("read ") + characteristic;
        return true;
    }
    void DisconnectFromDevice() override { calls << QStringLiteral("disconnect"); }

    // The whole road to the ready service of profile `index`.
    void Accept(const QStringList& indicated, int index = 0) {
        Q_EMIT DeviceConnected();
        Q_EMIT ServiceReady(index);
        for (const QString& characteristic : indicated)
            Q_EMIT IndicationsOn(characteristic);
    }
};

class LowEnergyLinkTest : public ::testing::Test {
protected:
    // Opens the link to a fake meter of `protocol`.
    void OpenWith(const QString& protocol, const QStringList& characteristics) {
        auto client = std::make_unique<FakeGattClient>();
        gatt = client.get();
        gatt->characteristics = characteristics;
        ASSERT_NE(
            link.Open(std::make_unique<BleTransport>(QStringLiteral("00:11:22:33:44:55"),
                                                     GattProfilesFor(protocol), std::move(client)),
                      MakeRangeProtocol(protocol), &receiver),
            0);
    }
    bool WaitForEvents(size_t count) {
        return QTest::qWaitFor([&] { return receiver.received.size() >= count; });
    }

    TelvoComm link;
    RangeReceiver receiver{link};
    FakeGattClient* gatt = nullptr;
    QSignalSpy connected{&link, &TelvoComm::Connected};
    QSignalSpy dropped{&link, &TelvoComm::Dropped};
    QSignalSpy failed{&link, &TelvoComm::ConnectFailed};
};

// Connect, find the service, switch indications on; then automatic sending
// goes on and readings taken with the meter's button arrive.
TEST_F(LowEnergyLinkTest, BoschMeterIsSubscribedSwitchedToAutomaticSendingAndRead) {
    OpenWith(QStringLiteral("bosch-ble"), {kBoschData});
    EXPECT_FALSE(link.IsConnected());
    EXPECT_EQ(gatt->calls, QStringList{QStringLiteral("connect")});
    Q_EMIT gatt->DeviceConnected();
    Q_EMIT gatt->ServiceReady(0);
    EXPECT_EQ(gatt->calls.mid(1),
              (QStringList{QStringLiteral("discover ") + kBoschService +
                               QStringLiteral(" 00005301-0000-0041-5253-534f46540000"),
                           QStringLiteral("indicate ") + kBoschData}));
    EXPECT_TRUE(gatt->written.isEmpty()); // not before indications are on
    Q_EMIT gatt->IndicationsOn(kBoschData);
    EXPECT_TRUE(link.IsConnected());
    EXPECT_EQ(connected.count(), 1);
    ASSERT_EQ(gatt->written.size(), 1);
    EXPECT_EQ(gatt->written[0].first, kBoschData);
    EXPECT_EQ(gatt->written[0].second, Hex("C0 55 02 01 00 1A"));
    Q_EMIT gatt->ValueChanged(kBoschData, Hex("00 00 82"));
    Q_EMIT gatt->ValueChanged(kBoschData, Hex("04 00 C4")); // command 80 unknown here

    // F5 presses the remote trigger; the reading comes pushed.
    EXPECT_TRUE(link.RequestReading());
    EXPECT_EQ(gatt->written.last().second, Hex("C0 56 01 00 1E"));
    Q_EMIT gatt->ValueChanged(kBoschData, Hex("00 00 82"));
    // A reading split over two indications, then one whole.
    Q_EMIT gatt->ValueChanged(kBoschData, Hex("C0 55 10 06 00 01 00 00 00 20"));
    Q_EMIT gatt->ValueChanged(kBoschData, Hex("40 00 00 00 00 00 00 00 00 56"));
    Q_EMIT gatt->ValueChanged(kBoschData,
                              Hex("C0 55 10 05 00 01 00 00 00 88 3F 00 00 00 00 00 00 00 00 9C"));
    ASSERT_TRUE(WaitForEvents(2));
    EXPECT_EQ(receiver.received, (std::vector<RangeEvent>{{D, 2500}, {D, 1063}}));
}

// A device of the second family (service 00005301) is subscribed on 4302
// and greeted in chunks on 4301.
TEST_F(LowEnergyLinkTest, TheSecondBoschFamilyIsFoundAndSpokenInChunks) {
    OpenWith(QStringLiteral("bosch-ble"), {kBoschMtIn});
    gatt->Accept({kBoschMtIn}, 1);
    ASSERT_TRUE(link.IsConnected());
    EXPECT_TRUE(gatt->calls.contains(QStringLiteral("indicate ") + kBoschMtIn));
    ASSERT_EQ(gatt->written.size(), 1);
    EXPECT_EQ(gatt->written[0].first, kBoschMtOut);
    EXPECT_EQ(gatt->written[0].second, Hex("10 C0 55 02 01 00 1A"));
}

// The unit is read at once; a distance counts in its unit.
TEST_F(LowEnergyLinkTest, LeicaDistanceIsReadWithItsUnit) {
    OpenWith(QStringLiteral("leica-ble"), {kLeicaDistance, kLeicaUnit});
    gatt->Accept({kLeicaDistance, kLeicaUnit});
    EXPECT_TRUE(link.IsConnected());
    EXPECT_EQ(gatt->calls.last(), QStringLiteral("read ") + kLeicaUnit);
    EXPECT_TRUE(gatt->written.isEmpty());
    Q_EMIT gatt->ValueChanged(kLeicaDistance, Hex("00 00 20 40"));
    Q_EMIT gatt->ValueChanged(kLeicaUnit, Hex("00 00"));
    ASSERT_TRUE(WaitForEvents(1));
    QCoreApplication::processEvents();
    EXPECT_EQ(receiver.received, (std::vector<RangeEvent>{{D, 2500}}));
}

// A device without the meter's service, or one that cannot be reached, ends
// the first attempt with a reason; the link closes.
TEST_F(LowEnergyLinkTest, FirstAttemptFailsWithAReasonAndCloses) {
    OpenWith(QStringLiteral("leica-ble"), {QStringLiteral("something-else")});
    Q_EMIT gatt->DeviceConnected();
    Q_EMIT gatt->ServiceReady(0); // the characteristic is missing
    ASSERT_EQ(failed.count(), 1);
    EXPECT_FALSE(failed[0][0].toString().isEmpty());
    EXPECT_FALSE(link.IsOpen());
    EXPECT_EQ(dropped.count(), 0);

    OpenWith(QStringLiteral("bosch-ble"), {kBoschData});
    Q_EMIT gatt->Error(QStringLiteral("藍牙已關閉，請先開啟藍牙"));
    ASSERT_EQ(failed.count(), 2);
    EXPECT_EQ(failed[1][0].toString(), QStringLiteral("藍牙已關閉，請先開啟藍牙"));
    EXPECT_EQ(link.ErrorText(), QStringLiteral("藍牙已關閉，請先開啟藍牙"));
}

// A meter that goes away is reported once; the link keeps trying, and when
// the meter is back it is subscribed and switched to automatic sending
// again, and its readings arrive without anything done by the user.
TEST_F(LowEnergyLinkTest, ADroppedMeterIsReportedOnceAndComesBackByItself) {
    link.SetRetryInterval(5);
    OpenWith(QStringLiteral("bosch-ble"), {kBoschData});
    gatt->Accept({kBoschData});
    ASSERT_TRUE(link.IsConnected());

    gatt->calls.clear();
    Q_EMIT gatt->Disconnected();
    EXPECT_FALSE(link.IsConnected());
    EXPECT_TRUE(link.IsOpen());
    EXPECT_EQ(dropped.count(), 1);
    for (int attempt = 1; attempt <= 3; ++attempt) { // the meter is still away
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return gatt->calls.count(QStringLiteral("connect")) == attempt; }));
        Q_EMIT gatt->Error(QStringLiteral("Remote device not found"));
    }
    EXPECT_EQ(dropped.count(), 1);
    EXPECT_EQ(failed.count(), 0);

    ASSERT_TRUE(QTest::qWaitFor([&] { return gatt->calls.count(QStringLiteral("connect")) == 4; }));
    gatt->Accept({kBoschData});
    EXPECT_TRUE(link.IsConnected());
    EXPECT_EQ(connected.count(), 2);
    EXPECT_EQ(gatt->written.size(), 2); // automatic sending on again
    Q_EMIT gatt->ValueChanged(kBoschData,
                              Hex("C0 55 10 06 00 01 00 00 00 20 40 00 00 00 00 00 00 00 00 56"));
    ASSERT_TRUE(WaitForEvents(1));

    Q_EMIT gatt->Disconnected(); // a second drop is news again
    EXPECT_EQ(dropped.count(), 2);
}

// On a machine without a Bluetooth adapter (this one, in CI) the program's
// own Bluetooth transports say so at once instead of waiting.
TEST(BluetoothWithoutAdapterTest, BothBluetoothRoadsSayThereIsNoAdapter) {
    if (BluetoothProblem() != NoBluetoothAdapterText())
        GTEST_SKIP() << "this machine has a Bluetooth adapter";
    const QString address = QStringLiteral("00:11:22:33:44:55");
    TelvoComm link;
    RangeReceiver receiver(link);
    EXPECT_EQ(link.Open(std::make_unique<SppTransport>(address),
                        MakeRangeProtocol(QStringLiteral("bosch-spp")), &receiver),
              0);
    EXPECT_EQ(link.ErrorText(), NoBluetoothAdapterText());

    QSignalSpy failed(&link, &TelvoComm::ConnectFailed);
    ASSERT_NE(link.Open(std::make_unique<BleTransport>(address,
                                                       GattProfilesFor(QStringLiteral("leica-ble")),
                                                       std::make_unique<QtGattClient>(address)),
                        MakeRangeProtocol(QStringLiteral("leica-ble")), &receiver),
              0);
    ASSERT_TRUE(failed.wait(2000));
    EXPECT_EQ(failed[0][0].toString(), NoBluetoothAdapterText());
    EXPECT_FALSE(link.IsOpen());
}

// A meter of a request protocol is asked with its request; our line format
// and the Leica low-energy meters have none.
TEST(RangeRequestTest, OnlyRequestProtocolsAreAsked) {
    const std::pair<const char*, bool> asked[] = {{"lines", false},
                                                  {"bosch-spp", true},
                                                  {"leica-spp", true},
                                                  {"bosch-ble", true},
                                                  {"leica-ble", false}};
    for (const auto& [name, request] : asked) {
        std::unique_ptr<RangeProtocol> protocol = MakeRangeProtocol(QString::fromLatin1(name));
        ASSERT_TRUE(protocol) << name;
        EXPECT_EQ(protocol->AskForReading(), request) << name;
        EXPECT_EQ(!protocol->TakeOutgoing().empty(), request) << name;
    }
    EXPECT_FALSE(MakeRangeProtocol(QStringLiteral("bosch")));
}

} // namespace
