// The link to a meter: over a serial line (a pseudo-terminal plays the meter)
// its events one at a time, the latest of a burst, a failed measurement (and
// the capture log), a device that vanishes and comes back, what opening refuses;
// over low energy with a stand-in for the GATT server (connect, find the
// service, switch indications on, values in), a first attempt that fails, no
// adapter. Which protocols ask for a reading: BoschRequestTest, and F5 in
// tests/dialog/RangeFinderMetersTest.cpp.

#include "RangeTestSupport.h"
#include "common/PseudoTerminal.h"
#include "common/TestSupport.h"
#include "telvo/BleTransport.h"
#include "telvo/RangeCaptureLog.h"
#include "telvo/RangeFinderPort.h"
#include "telvo/RangeMeter.h"
#include "telvo/RangeProtocol.h"

#include <QCoreApplication>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

// A port name and the environment's device ("" when unset) give the device;
// a path given by the caller is not overridden.
TEST(RangeFinderPortTest, MapsThePortNameToADevice) {
    const char* cases[][3] = {
        {"COM4", "", "/dev/rfcomm0"},    {"com4", "", "/dev/rfcomm0"},
        {"COM12", "", "/dev/ttyS11"},    {"COM0", "", "COM0"},
        {"COM4x", "", "COM4x"},          {"COM4", " /dev/pts/3 ", "/dev/pts/3"},
        {"COM4", "   ", "/dev/rfcomm0"}, {"/dev/ttyUSB1", "/dev/pts/3", "/dev/ttyUSB1"}};
    for (const auto& [port, override, device] : cases)
        EXPECT_EQ(RangeFinderDevice(QString::fromLatin1(port), QString::fromLatin1(override)),
                  QString::fromLatin1(device))
            << port << " with \"" << override << '"';
}

// Lines cut over reads arrive whole. A distance of 0, from any meter, is a
// failed measurement: a notice, not an event; the next reading clears the
// notice. One event is outstanding at a time: the next is announced after the
// re-arm; a newer distance replaces one still waiting (the canvas gets the
// latest of a burst). Closing drops what waits and what is announced but not
// yet handled. The capture log holds what the meter said. (The link is opened
// on COM4, which the environment maps to the pseudo-terminal.)
TEST(SerialLinkTest, EventsComeOneByOneEachAfterTheReArmUntilClosed) {
    PseudoTerminal pty;
    QTemporaryDir dir;
    const QString log = dir.filePath(QStringLiteral("meter.log"));
    qputenv(kRangeFinderPortVariable, pty.SlavePath().toLocal8Bit());
    qputenv(kRangeFinderLogVariable, log.toLocal8Bit());
    TelvoComm link;
    RangeReceiver receiver(link);
    const int opened = link.Open(QStringLiteral("COM4"), &receiver);
    qunsetenv(kRangeFinderPortVariable);
    qunsetenv(kRangeFinderLogVariable);
    ASSERT_NE(opened, 0);
    QSignalSpy notices(&link, &TelvoComm::Notice);
    receiver.rearm = false;
    link.SetListen(0);
    ASSERT_TRUE(pty.Send("garbage\nD 0\nD 9\nD 1\nK 8\nD 2"));
    QTest::qWait(20); // the link reads the first part on its own
    ASSERT_TRUE(pty.Send("345\r\nK 6\n"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return link.WaitingEvents() == 4; }));
    EXPECT_TRUE(receiver.received.empty());
    for (size_t next = 1; next <= 2; ++next) {
        link.SetListen(1);
        ASSERT_TRUE(QTest::qWaitFor([&] { return receiver.received.size() >= next; }));
        QCoreApplication::processEvents();
        EXPECT_EQ(receiver.received.size(), next);
    }
    link.SetListen(1);          // D 2345 is announced (posted, not yet handled) ...
    EXPECT_EQ(link.Close(), 1); // ... when the link is closed
    EXPECT_EQ(link.WaitingEvents(), 0u);
    QCoreApplication::processEvents();
    EXPECT_EQ(receiver.received, (std::vector<RangeEvent>{{D, 1}, {K, 8}}));
    EXPECT_EQ(link.Close(), 1); // harmless when nothing is open
    ASSERT_GE(notices.count(), 2);
    EXPECT_EQ(notices.first()[0].toString(), QString::fromUtf8("測距儀未能測量，請再試一次。"));
    EXPECT_EQ(notices.last()[0].toString(), QString());
    EXPECT_TRUE(ReadWholeFile(log).contains(" < 0 67 61 72 62 61 67 65 0a 44 20 30 0a"));
}

// The capture log: each frame after a time stamp, with its direction and
// source; it never grows past 1 MB: it moves to FILE.1, and no line is lost.
TEST(RangeCaptureLogTest, RecordsFramesWithTheirDirectionAndRotatesAtOneMegabyte) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("meter.log"));
    {
        RangeCaptureLog log(path);
        log.Record(false, 0, Hex("C0 40 00 EE"));
        for (int line = 0; line < 3000; ++line)
            log.Record(true, 1, QByteArray(200, '\x5A'));
    }
    const QByteArray older = ReadWholeFile(path + QStringLiteral(".1")), now = ReadWholeFile(path);
    EXPECT_TRUE(older.contains(" > 0 c0 40 00 ee\n"));
    EXPECT_TRUE(now.contains(" < 1 5a 5a 5a"));
    EXPECT_LE(std::max(older.size(), now.size()), RangeCaptureLog::kMaxBytes);
    EXPECT_EQ(older.count('\n') + now.count('\n'), 3001);
}

// The device vanishes and a new one appears under the same name (a symbolic
// link, as udev names a meter): the drop is reported once and the link comes
// back by itself, its readings reaching the target again.
TEST(SerialReconnectTest, AVanishingDeviceIsReportedOnceAndTheLinkComesBack) {
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("meter"));
    auto first = std::make_unique<PseudoTerminal>();
    ASSERT_TRUE(QFile::link(first->SlavePath(), name));
    TelvoComm link;
    link.SetRetryInterval(20);
    RangeReceiver receiver(link);
    QSignalSpy dropped(&link, &TelvoComm::Dropped);
    QSignalSpy connected(&link, &TelvoComm::Connected);
    ASSERT_NE(link.Open(name, &receiver), 0);
    ASSERT_TRUE(first->Send("D 1\n"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return receiver.received.size() == 1; }));
    // The meter goes away, and udev takes its name with it: the terminal's
    // own number is free for any other program's terminal meanwhile.
    ASSERT_TRUE(QFile::remove(name));
    first.reset();
    ASSERT_TRUE(QTest::qWaitFor([&] { return dropped.count() == 1; }));
    EXPECT_TRUE(link.IsOpen() && !link.IsConnected());
    QTest::qWait(100);     // several attempts fail meanwhile
    PseudoTerminal second; // the meter is back
    ASSERT_TRUE(QFile::link(second.SlavePath(), name));
    ASSERT_TRUE(QTest::qWaitFor([&] { return link.IsConnected(); }));
    EXPECT_EQ(connected.count(), 2);
    ASSERT_TRUE(second.Send("D 2\n"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return receiver.received.size() == 2; }));
    EXPECT_EQ(receiver.received.back(), (RangeEvent{D, 2}));
    EXPECT_EQ(dropped.count(), 1);
}

// A missing device, one that is no serial line; and what the user is told:
// no port named, or a protocol the program lacks.
TEST(SerialOpenTest, RefusesWhatCannotBeOpenedAndSaysWhy) {
    PseudoTerminal pty;
    const struct {
        QString port;
        const char* protocol;
        const char* says; // null: any text
    } cases[] = {
        {QStringLiteral("/dev/tessamar-no-such-range-finder"), "", nullptr},
        {QStringLiteral("/dev/null"), "", nullptr},
        {QString(), "", "沒有指定測距儀的序列埠"},
        {pty.SlavePath(), "no-such-protocol", "未知的測距儀協定：no-such-protocol"},
    };
    for (const auto& c : cases) {
        TelvoComm link;
        RangeReceiver receiver(link);
        qunsetenv(kRangeFinderPortVariable);
        qputenv(kRangeFinderProtocolVariable, c.protocol);
        EXPECT_EQ(link.Open(c.port, &receiver), 0) << c.port.toStdString();
        qunsetenv(kRangeFinderProtocolVariable);
        EXPECT_FALSE(link.IsOpen());
        EXPECT_TRUE(!c.says || link.ErrorText() == QString::fromUtf8(c.says))
            << link.ErrorText().toStdString();
    }
}

// Plays the meter's GATT server: records what is asked of it; the test
// answers with its signals.
class FakeGattClient : public GattClient {
public:
    QStringList calls;
    QString characteristic; // the one the service has

    void ConnectToDevice() override { calls << QStringLiteral("connect"); }
    void DiscoverService(const QStringList& services) override {
        calls << QStringLiteral("discover ") + services.join(QLatin1Char(' '));
    }
    bool EnableIndications(const QString& wanted) override {
        calls << QStringLiteral("indicate ") + wanted.left(8);
        return wanted == characteristic;
    }
    bool Write(const QString& characteristic, const QByteArray& value) override {
        calls << characteristic.left(8) + QStringLiteral(" < ") +
                     QString::fromLatin1(value.toHex());
        return true;
    }
    bool Read(const QString&) override { return true; }
    void DisconnectFromDevice() override {}
};

// Over low energy: connect, find the service, switch indications on, and only
// then greet (automatic sending on) and take readings. The second family
// (service 00005301) is subscribed on 4302 and spoken to in chunks on 4301. A
// device without the meter's service, or one that cannot be reached, ends
// the first attempt with a reason; the link closes.
TEST(LowEnergyLinkTest, SubscribesThenGreetsAndReadsOrFailsWithAReason) {
    TelvoComm link;
    RangeReceiver receiver(link);
    QSignalSpy failed(&link, &TelvoComm::ConnectFailed);
    FakeGattClient* gatt = nullptr;
    const auto open = [&](const char* protocol, const char* characteristic) {
        auto client = std::make_unique<FakeGattClient>();
        gatt = client.get();
        gatt->characteristic = QString::fromLatin1(characteristic);
        const QString name = QString::fromLatin1(protocol);
        EXPECT_NE(
            link.Open(std::make_unique<BleTransport>(QStringLiteral("00:11:22:33:44:55"),
                                                     GattProfilesFor(name), std::move(client)),
                      MakeRangeProtocol(name), &receiver),
            0);
        Q_EMIT gatt->DeviceConnected();
    };
    open("bosch-ble", "02a6c0d1-0451-4000-b000-fb3210111989");
    Q_EMIT gatt->ServiceReady(0);
    EXPECT_FALSE(link.IsConnected());
    EXPECT_EQ(gatt->calls.size(), 3); // nothing written before indications are on
    Q_EMIT gatt->IndicationsOn(gatt->characteristic);
    EXPECT_TRUE(link.IsConnected());
    Q_EMIT gatt->ValueChanged(gatt->characteristic, Hex("00 00 82"));
    Q_EMIT gatt->ValueChanged(gatt->characteristic, Hex("04 00 C4"));
    EXPECT_TRUE(link.RequestReading());
    EXPECT_EQ(gatt->calls.last(), "02a6c0d1 < c05601001e"); // the remote trigger
    Q_EMIT gatt->ValueChanged(gatt->characteristic,
                              Hex("C0 55 10 05 00 01 00 00 00 88 3F 00 00 00 00 00 00 00 00 9C"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return receiver.received.size() == 1; }));
    EXPECT_EQ(receiver.received, (std::vector<RangeEvent>{{D, 1063}}));
    EXPECT_EQ(gatt->calls.mid(0, 4), (QStringList{"connect",
                                                  "discover 02a6c0d0-0451-4000-b000-fb3210111989 "
                                                  "00005301-0000-0041-5253-534f46540000",
                                                  "indicate 02a6c0d1", "02a6c0d1 < c0550201001a"}));

    open("bosch-ble", "00004302-0000-0041-5253-534f46540000");
    Q_EMIT gatt->ServiceReady(1);
    Q_EMIT gatt->IndicationsOn(gatt->characteristic);
    EXPECT_TRUE(link.IsConnected());
    const QByteArray push1300 = Hex("C0 55 10 06 00 01 00 66 66 A6 3F 00 00 00 00 00 00 00 00 BA");
    Q_EMIT gatt->ValueChanged(gatt->characteristic, Hex("31") + push1300.left(19));
    Q_EMIT gatt->ValueChanged(gatt->characteristic, Hex("30") + push1300.mid(19));
    ASSERT_TRUE(QTest::qWaitFor([&] { return receiver.received.size() == 2; }));
    EXPECT_EQ(receiver.received[1], (RangeEvent{D, 1300}));
    EXPECT_EQ(gatt->calls.mid(0, 6),
              (QStringList{"connect", gatt->calls[1], "indicate 00004302",
                           "00004301 < 10c0550201001a", "00004301 < ff3100", "00004301 < ff3000"}));

    open("leica-ble", "something-else");
    Q_EMIT gatt->ServiceReady(0); // the characteristic is missing
    ASSERT_EQ(failed.count(), 1);
    EXPECT_FALSE(failed[0][0].toString().isEmpty() || link.IsOpen());
    open("bosch-ble", "");
    Q_EMIT gatt->Error(QStringLiteral("藍牙已關閉，請先開啟藍牙"));
    ASSERT_EQ(failed.count(), 2);
    EXPECT_EQ(link.ErrorText(), QStringLiteral("藍牙已關閉，請先開啟藍牙"));
    EXPECT_FALSE(link.IsOpen());
}

} // namespace
