#include "telvo/TelvoComm.h"

#include "RangeTestSupport.h"
#include "common/PseudoTerminal.h"
#include "telvo/RangeFinderPort.h"
#include "telvo/RangeLineParser.h"
#include "telvo/RangeMeter.h"

#include <QCoreApplication>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

struct StreamCase {
    const char* name;
    std::string bytes;
    std::vector<RangeEvent> expected;
    size_t dropped;
};
void PrintTo(const StreamCase& c, std::ostream* os) {
    *os << c.name << ": " << c.expected.size() << " events, " << c.dropped << " dropped";
}

class RangeLineParserTest : public ::testing::TestWithParam<StreamCase> {};

// Fed at once, and fed one byte at a time (a line split over reads, an
// overlong line's tail), the stream gives the same events.
TEST_P(RangeLineParserTest, GivesTheEventsOfWellFormedLinesOnly) {
    const StreamCase& c = GetParam();
    RangeLineParser whole, bytewise;
    EXPECT_EQ(whole.Feed(c.bytes), c.expected);
    EXPECT_EQ(whole.DroppedLines(), c.dropped);
    std::vector<RangeEvent> events;
    for (char byte : c.bytes)
        bytewise.Feed(&byte, 1, events);
    EXPECT_EQ(events, c.expected);
    EXPECT_EQ(bytewise.DroppedLines(), c.dropped);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, RangeLineParserTest,
    ::testing::Values(
        StreamCase{"ends_signs_blanks",
                   "D 1\rK 8\nD -7\r\nD +0012\n\r \tD\t 0 \t\r\n",
                   {{D, 1}, {K, 8}, {D, -7}, {D, 12}, {D, 0}},
                   0},
        StreamCase{"empty_lines_kept", "\n\r\n\r\r  \t\nD 1\n\n", {{D, 1}}, 0},
        StreamCase{
            "int32",
            "D 2147483647\nD -2147483648\nD 2147483648\nD -2147483649\nD 99999999999999999999\n",
            {{D, INT32_MAX}, {D, INT32_MIN}},
            3},
        StreamCase{
            "bad", "d 5\nX 5\nDD 5\nD5\nD \nD -\nD --5\nD 12.5\nD 1,5\nD 2345mm\nD 1 2\n", {}, 11},
        StreamCase{
            "junk", std::string("D 1\n#$%^&*\nD 1\0\n\0\xff\x80\nK 6\n", 24), {{D, 1}, {K, 6}}, 3},
        StreamCase{"longest_kept", "D " + std::string(62, '0') + "\n", {{D, 0}}, 0},
        StreamCase{"overlong", "D " + std::string(63, '0') + "\rK 8\r", {{K, 8}}, 1},
        StreamCase{"overlong_junk", std::string(500, 'x') + "D 5\nD 6\n", {{D, 6}}, 1}),
    [](const ::testing::TestParamInfo<StreamCase>& info) { return std::string(info.param.name); });

class TelvoCommTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(pty.IsValid());
        ASSERT_NE(link.Open(pty.SlavePath(), &receiver), 0) << pty.SlavePath().toStdString();
    }
    bool WaitForEvents(size_t count) {
        return QTest::qWaitFor([&] { return receiver.received.size() >= count; });
    }

    PseudoTerminal pty;
    TelvoComm link;
    RangeReceiver receiver{link};
};

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

TEST_F(TelvoCommTest, ReadingsArriveFromTheDeviceTheEnvironmentNamesForCom4) {
    qputenv(kRangeFinderPortVariable, pty.SlavePath().toLocal8Bit());
    const int opened = link.Open(QStringLiteral("COM4"), &receiver);
    qunsetenv(kRangeFinderPortVariable);
    ASSERT_NE(opened, 0);
    EXPECT_EQ(link.DevicePath(), pty.SlavePath());

    ASSERT_TRUE(pty.Send("garbage\nD 23"));
    QTest::qWait(20); // the link reads the first half on its own
    ASSERT_TRUE(pty.Send("45\r\nK 8\n"));
    ASSERT_TRUE(WaitForEvents(2));
    EXPECT_EQ(receiver.received, (std::vector<RangeEvent>{{D, 2345}, {K, kRangeKeyNext}}));
}

// One event is outstanding at a time: the next is announced after the re-arm.
// Closing drops what waits and what is announced but not yet handled.
TEST_F(TelvoCommTest, EventsComeOneByOneEachAfterTheReArmUntilClosed) {
    receiver.rearm = false;
    link.SetListen(0);
    ASSERT_TRUE(pty.Send("D 1\nD 2\nK 6\nD 3\n"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return link.WaitingEvents() == 4; }));
    EXPECT_TRUE(receiver.received.empty());
    for (size_t next = 1; next <= 2; ++next) {
        link.SetListen(1);
        ASSERT_TRUE(WaitForEvents(next));
        QCoreApplication::processEvents();
        EXPECT_EQ(receiver.received.size(), next);
        EXPECT_EQ(link.EventValue(), receiver.received.back().value); // the one announced
    }
    link.SetListen(1);          // K 6 is announced (posted, not yet handled) ...
    EXPECT_EQ(link.Close(), 1); // ... when the link is closed
    EXPECT_EQ(link.WaitingEvents(), 0u);
    QCoreApplication::processEvents();
    EXPECT_EQ(receiver.received, (std::vector<RangeEvent>{{D, 1}, {D, 2}}));
    EXPECT_EQ(link.Close(), 1); // harmless when nothing is open
}

// The device vanishes and a new one appears under the same name (a symbolic
// link, as udev names a meter): the drop is reported once and the link comes
// back by itself, its readings reaching the target again.
TEST(TelvoCommReconnectTest, AVanishingDeviceIsReportedOnceAndTheLinkComesBack) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
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

    first.reset(); // the meter goes away
    ASSERT_TRUE(QTest::qWaitFor([&] { return dropped.count() == 1; }));
    EXPECT_TRUE(link.IsOpen());
    EXPECT_FALSE(link.IsConnected());
    QTest::qWait(100); // several attempts fail meanwhile
    EXPECT_EQ(dropped.count(), 1);

    PseudoTerminal second; // the meter is back
    ASSERT_TRUE(QFile::remove(name));
    ASSERT_TRUE(QFile::link(second.SlavePath(), name));
    ASSERT_TRUE(QTest::qWaitFor([&] { return link.IsConnected(); }));
    EXPECT_EQ(connected.count(), 2);
    ASSERT_TRUE(second.Send("D 2\n"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return receiver.received.size() == 2; }));
    EXPECT_EQ(receiver.received.back(), (RangeEvent{D, 2}));
    EXPECT_EQ(dropped.count(), 1);
}

TEST(TelvoCommOpenTest, FailsForAMissingDeviceANonSerialDeviceOrNoTarget) {
    TelvoComm link;
    RangeReceiver receiver(link);
    PseudoTerminal pty;
    ASSERT_TRUE(pty.IsValid());
    EXPECT_EQ(link.Open(QStringLiteral("/dev/tessamar-no-such-range-finder"), &receiver), 0);
    EXPECT_EQ(link.Open(QStringLiteral("/dev/null"), &receiver), 0);
    EXPECT_EQ(link.Open(pty.SlavePath(), nullptr), 0);
    EXPECT_FALSE(link.IsOpen());
}

// What the user is told: no port named, or a protocol the program lacks.
TEST(TelvoCommOpenTest, SaysWhetherThePortOrTheProtocolIsMissing) {
    PseudoTerminal pty;
    ASSERT_TRUE(pty.IsValid());
    const struct {
        const char* port;
        const char* protocol;
        const char* says;
    } cases[] = {
        {"", "", "沒有指定測距儀的序列埠"},
        {"", "lines", "沒有指定測距儀的序列埠"},
        {"pty", "no-such-protocol", "未知的測距儀協定：no-such-protocol"},
    };
    for (const auto& c : cases) {
        TelvoComm link;
        RangeReceiver receiver(link);
        qunsetenv(kRangeFinderPortVariable);
        qputenv(kRangeFinderProtocolVariable, c.protocol);
        const QString port = qstrcmp(c.port, "pty") == 0 ? pty.SlavePath() : QString();
        EXPECT_EQ(link.Open(port, &receiver), 0) << c.says;
        qunsetenv(kRangeFinderProtocolVariable);
        EXPECT_EQ(link.ErrorText(), QString::fromUtf8(c.says));
    }
}

} // namespace
