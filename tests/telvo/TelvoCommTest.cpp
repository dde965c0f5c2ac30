#include "telvo/TelvoComm.h"

#include "RangeTestSupport.h"
#include "common/PseudoTerminal.h"
#include "telvo/RangeCaptureLog.h"
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
        // A distance is never negative: "D -7" is malformed. (A 0 passes
        // the parser; the link takes it for a failed measurement.)
        StreamCase{"ends_signs_blanks",
                   "D 1\rK 8\nD -7\r\nD +0012\n\r \tD\t 0 \t\r\nK -3\n",
                   {{D, 1}, {K, 8}, {D, 12}, {D, 0}, {K, -3}},
                   1},
        StreamCase{"empty_lines_kept", "\n\r\n\r\r  \t\nD 1\n\n", {{D, 1}}, 0},
        StreamCase{
            "int32",
            "D 2147483647\nD -1000000000\nD 2147483648\nD -2147483649\nD 99999999999999999999\n",
            {{D, INT32_MAX}},
            4},
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
    ASSERT_NE(opened, 0); // the readings below come only through that device

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
    ASSERT_TRUE(pty.Send("D 1\nK 8\nD 2\nK 6\n"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return link.WaitingEvents() == 4; }));
    EXPECT_TRUE(receiver.received.empty());
    for (size_t next = 1; next <= 2; ++next) {
        link.SetListen(1);
        ASSERT_TRUE(WaitForEvents(next));
        QCoreApplication::processEvents();
        EXPECT_EQ(receiver.received.size(), next);
        EXPECT_EQ(link.EventValue(), receiver.received.back().value); // the one announced
    }
    link.SetListen(1);          // D 2 is announced (posted, not yet handled) ...
    EXPECT_EQ(link.Close(), 1); // ... when the link is closed
    EXPECT_EQ(link.WaitingEvents(), 0u);
    QCoreApplication::processEvents();
    EXPECT_EQ(receiver.received, (std::vector<RangeEvent>{{D, 1}, {K, 8}}));
    EXPECT_EQ(link.Close(), 1); // harmless when nothing is open
}

// A burst of readings while the canvas is busy: the canvas gets the latest
// one, not one the queue happened to keep; a key after it keeps its place.
TEST_F(TelvoCommTest, ABurstOfReadingsLeavesTheLatest) {
    receiver.rearm = false;
    link.SetListen(0);
    for (int value = 20000; value < 25000; value += 100) { // the pty holds a few KB
        std::string burst;
        for (int n = value; n < value + 100; ++n)
            burst += "D " + std::to_string(n) + "\n";
        ASSERT_TRUE(pty.Send(burst));
        QTest::qWait(2);
    }
    ASSERT_TRUE(pty.Send("K 8\n"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return link.WaitingEvents() == 2; }, 20000));
    link.SetListen(1);
    ASSERT_TRUE(WaitForEvents(1));
    link.SetListen(1);
    ASSERT_TRUE(WaitForEvents(2));
    EXPECT_EQ(receiver.received, (std::vector<RangeEvent>{{D, 24999}, {K, 8}}));
}

// A distance of 0, from any meter, is a failed measurement: a notice, not
// an event; the next reading clears the notice.
TEST_F(TelvoCommTest, AZeroDistanceIsNoticedNotDelivered) {
    QSignalSpy notices(&link, &TelvoComm::Notice);
    ASSERT_TRUE(pty.Send("D 0\nD 5\n"));
    ASSERT_TRUE(WaitForEvents(1));
    EXPECT_EQ(receiver.received, (std::vector<RangeEvent>{{D, 5}}));
    ASSERT_EQ(notices.count(), 2);
    EXPECT_EQ(notices[0][0].toString(), QString::fromUtf8("測距儀未能測量，請再試一次。"));
    EXPECT_EQ(notices[1][0].toString(), QString());
}

// TESSAMAR_RANGE_FINDER_LOG records a whole session over a serial line,
// each frame with its direction, and the reading still arrives.
TEST(TelvoCommLogTest, TheEnvironmentsLogRecordsEveryFrameInAndOut) {
    QTemporaryDir dir;
    PseudoTerminal pty;
    ASSERT_TRUE(pty.IsValid());
    const QString path = dir.filePath(QStringLiteral("meter.log"));
    qputenv(kRangeFinderLogVariable, path.toLocal8Bit());
    qputenv(kRangeFinderProtocolVariable, "bosch-spp");
    TelvoComm link;
    RangeReceiver receiver(link);
    const int opened = link.Open(pty.SlavePath(), &receiver);
    qunsetenv(kRangeFinderLogVariable);
    qunsetenv(kRangeFinderProtocolVariable);
    ASSERT_NE(opened, 0);
    EXPECT_EQ(link.CaptureLogPath(), path);
    const char* answers[] = {"\x00\x00\x82", "\x04\x00\xC4"};
    for (const char* answer : answers) {
        ASSERT_TRUE(pty.Send(std::string_view(answer, 3)));
        QTest::qWait(30);
    }
    ASSERT_TRUE(link.RequestReading());
    ASSERT_TRUE(pty.Send(std::string_view("\x00\x04\x45\xC9\x00\x00\x84", 7)));
    ASSERT_TRUE(QTest::qWaitFor([&] { return receiver.received.size() == 1; }));
    EXPECT_EQ(receiver.received[0], (RangeEvent{D, 2576}));
    link.Close();
    QFile log(path);
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    QStringList frames;
    for (const QByteArray& line : log.readAll().split('\n'))
        if (!line.isEmpty())
            frames << QString::fromLatin1(line.mid(line.indexOf(' ') + 1)); // no time stamp
    EXPECT_EQ(frames, (QStringList{"> 0 c0 55 02 01 00 1a", "< 0 00 00 82", "> 0 c0 50 02 40 00 2e",
                                   "< 0 04 00 c4", "> 0 c0 40 00 ee", "< 0 00 04 45 c9 00 00 84"}));
}

// The log never grows past 1 MB: it moves to FILE.1, and no line is lost.
TEST(TelvoCommLogTest, TheLogRotatesAtOneMegabyte) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("meter.log"));
    const QByteArray frame(200, '\x5A');
    int lines = 0;
    {
        RangeCaptureLog log(path);
        ASSERT_TRUE(log.IsOpen());
        for (; lines < 3000; ++lines)
            log.Record(lines % 2 == 0, 0, frame);
    }
    QFile current(path), older(path + QStringLiteral(".1"));
    ASSERT_TRUE(current.open(QIODevice::ReadOnly));
    ASSERT_TRUE(older.open(QIODevice::ReadOnly));
    EXPECT_LE(older.size(), RangeCaptureLog::kMaxBytes);
    EXPECT_LE(current.size(), RangeCaptureLog::kMaxBytes);
    EXPECT_EQ(older.readAll().count('\n') + current.readAll().count('\n'), lines);
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
