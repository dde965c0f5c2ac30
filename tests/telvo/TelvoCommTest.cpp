#include "telvo/TelvoComm.h"

#include "common/PseudoTerminal.h"
#include "telvo/RangeFinderPort.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <string>
#include <vector>

void PrintTo(const RangeEvent& e, std::ostream* os);

namespace {

constexpr int kWaitMs = 5000;

// Runs the event loop until `done` holds or `timeoutMs` has passed. Unlike
// QTest::qWaitFor it does not nap between rounds, so a burst that is handed
// over one event per round does not take ten milliseconds an event.
template <typename Predicate> bool WaitUntil(Predicate done, int timeoutMs = kWaitMs) {
    QElapsedTimer clock;
    clock.start();
    QTimer wake; // makes sure the deadline is looked at while the port is quiet
    wake.start(20);
    while (!done()) {
        if (clock.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

// Stands in for the canvas: reads the event from the link when told about
// it and re-arms the link.
class RangeReceiver : public QObject {
public:
    explicit RangeReceiver(TelvoComm& link) : m_link(link) {}

    std::vector<RangeEvent> received;
    bool rearm = true;

protected:
    bool event(QEvent* e) override {
        if (e->type() != kRangeValueEventType)
            return QObject::event(e);
        received.push_back(RangeEvent{m_link.EventCode(), m_link.EventValue()});
        if (rearm)
            m_link.SetListen(1);
        return true;
    }

private:
    TelvoComm& m_link;
};

// Restores the environment variable that names the range finder's device.
class ScopedPortVariable {
public:
    explicit ScopedPortVariable(const QString& value)
        : m_wasSet(qEnvironmentVariableIsSet(kRangeFinderPortVariable)),
          m_saved(qgetenv(kRangeFinderPortVariable)) {
        qputenv(kRangeFinderPortVariable, value.toLocal8Bit());
    }
    ~ScopedPortVariable() {
        if (m_wasSet)
            qputenv(kRangeFinderPortVariable, m_saved);
        else
            qunsetenv(kRangeFinderPortVariable);
    }

private:
    bool m_wasSet;
    QByteArray m_saved;
};

constexpr int16_t D = kRangeEventDistance;
constexpr int16_t K = kRangeEventKey;
// Written last so a test knows that everything before it has been read.
const RangeEvent kSentinel{D, 999999};
const char* const kSentinelLine = "D 999999\n";

class TelvoCommTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(pty.IsValid()); }

    void OpenLink() {
        ASSERT_NE(link.Open(pty.SlavePath(), &receiver), 0) << pty.SlavePath().toStdString();
        ASSERT_TRUE(link.IsOpen());
    }

    bool WaitForEvents(size_t count) {
        return WaitUntil([&] { return receiver.received.size() >= count; });
    }

    PseudoTerminal pty;
    TelvoComm link;
    RangeReceiver receiver{link};
};

TEST_F(TelvoCommTest, ReadingsArriveWithTheirCodeAndValue) {
    OpenLink();
    ASSERT_TRUE(pty.Send("D 2345\r\n"));
    ASSERT_TRUE(WaitForEvents(1));
    ASSERT_TRUE(pty.Send("D -7\r"));
    ASSERT_TRUE(WaitForEvents(2));
    ASSERT_TRUE(pty.Send("K 6\nK 8\n"));
    ASSERT_TRUE(WaitForEvents(4));
    EXPECT_EQ(receiver.received, (std::vector<RangeEvent>{{D, 2345}, {D, -7}, {K, 6}, {K, 8}}));
    EXPECT_EQ(link.EventCode(), K);
    EXPECT_EQ(link.EventValue(), kRangeKeyNext);
}

TEST_F(TelvoCommTest, MalformedLinesAreIgnoredAndPartialLinesJoined) {
    OpenLink();
    ASSERT_TRUE(pty.Send(std::string("garbage\nD 12.5\n\0\0\xff\n", 19)));
    ASSERT_TRUE(pty.Send("D " + std::string(100, '9') + "\n"));
    ASSERT_TRUE(pty.Send("D 23"));
    // Let the link read the first half on its own before the rest comes.
    QTest::qWait(20);
    ASSERT_TRUE(pty.Send("45\r\nK 8\n"));
    ASSERT_TRUE(pty.Send(kSentinelLine));
    ASSERT_TRUE(WaitForEvents(3));
    EXPECT_EQ(receiver.received, (std::vector<RangeEvent>{{D, 2345}, {K, 8}, kSentinel}));
}

TEST_F(TelvoCommTest, ABurstIsDeliveredOneByOneEachAfterTheReArm) {
    OpenLink();
    receiver.rearm = false;
    ASSERT_TRUE(pty.Send("D 1\nD 2\nK 6\nD 3\n"));
    ASSERT_TRUE(WaitForEvents(1));
    ASSERT_TRUE(WaitUntil([&] { return link.WaitingEvents() == 3; }));
    // Nothing more is announced, and the event read stays the one announced.
    QCoreApplication::processEvents();
    EXPECT_EQ(receiver.received.size(), 1u);
    EXPECT_EQ(link.EventValue(), 1);

    for (size_t next = 2; next <= 4; ++next) {
        link.SetListen(1);
        ASSERT_TRUE(WaitForEvents(next));
        QCoreApplication::processEvents();
        EXPECT_EQ(receiver.received.size(), next);
    }
    EXPECT_EQ(receiver.received, (std::vector<RangeEvent>{{D, 1}, {D, 2}, {K, 6}, {D, 3}}));
    EXPECT_EQ(link.WaitingEvents(), 0u);

    // Re-armed with nothing waiting, the next reading is announced at once.
    link.SetListen(1);
    ASSERT_TRUE(pty.Send("D 4\n"));
    ASSERT_TRUE(WaitForEvents(5));
    EXPECT_EQ(receiver.received.back(), (RangeEvent{D, 4}));
}

TEST_F(TelvoCommTest, SetListenZeroHoldsEventsBack) {
    OpenLink();
    link.SetListen(0);
    ASSERT_TRUE(pty.Send("D 5\nD 6\n"));
    ASSERT_TRUE(WaitUntil([&] { return link.WaitingEvents() == 2; }));
    EXPECT_TRUE(receiver.received.empty());
    link.SetListen(1);
    ASSERT_TRUE(WaitForEvents(2));
    EXPECT_EQ(receiver.received, (std::vector<RangeEvent>{{D, 5}, {D, 6}}));
}

TEST_F(TelvoCommTest, WaitingEventsAreBoundedAndKeepTheirOrder) {
    OpenLink();
    receiver.rearm = false;
    const size_t total = TelvoComm::kMaxWaitingEvents + 40;
    std::string burst;
    for (size_t i = 1; i <= total; ++i)
        burst += "D " + std::to_string(i) + "\n";
    ASSERT_TRUE(pty.Send(burst));
    // The first is announced, the next ones wait, the rest are dropped.
    ASSERT_TRUE(
        WaitUntil([&] { return link.DroppedEvents() == 39 && receiver.received.size() == 1; }));
    EXPECT_EQ(link.WaitingEvents(), TelvoComm::kMaxWaitingEvents);
    receiver.rearm = true;
    link.SetListen(1);
    ASSERT_TRUE(WaitForEvents(TelvoComm::kMaxWaitingEvents + 1));
    for (size_t i = 0; i < receiver.received.size(); ++i)
        ASSERT_EQ(receiver.received[i], (RangeEvent{D, static_cast<int32_t>(i + 1)})) << i;
}

TEST_F(TelvoCommTest, OpensTheDeviceNamedByTheEnvironmentForCom4) {
    ScopedPortVariable variable(pty.SlavePath());
    ASSERT_NE(link.Open(QStringLiteral("COM4"), &receiver), 0);
    EXPECT_EQ(link.DevicePath(), pty.SlavePath());
    ASSERT_TRUE(pty.Send("D 2345\n"));
    ASSERT_TRUE(WaitForEvents(1));
    EXPECT_EQ(receiver.received.front(), (RangeEvent{D, 2345}));
}

TEST_F(TelvoCommTest, CloseDropsEventsNotYetHandled) {
    OpenLink();
    receiver.rearm = false;
    ASSERT_TRUE(pty.Send("D 1\nD 2\nD 3\n"));
    ASSERT_TRUE(WaitForEvents(1));
    ASSERT_TRUE(WaitUntil([&] { return link.WaitingEvents() == 2; }));
    // D 2 is announced (posted, not yet handled) when the link is closed.
    link.SetListen(1);
    EXPECT_EQ(link.Close(), 1);
    EXPECT_FALSE(link.IsOpen());
    EXPECT_EQ(link.WaitingEvents(), 0u);
    link.SetListen(1);
    QCoreApplication::processEvents();
    EXPECT_EQ(receiver.received.size(), 1u);

    // Opened again, the link starts afresh.
    receiver.rearm = true;
    OpenLink();
    ASSERT_TRUE(pty.Send("K 8\n"));
    ASSERT_TRUE(WaitForEvents(2));
    EXPECT_EQ(receiver.received.back(), (RangeEvent{K, 8}));
}

TEST_F(TelvoCommTest, AVanishingDeviceClosesTheLink) {
    OpenLink();
    ASSERT_TRUE(pty.Send("D 1\n"));
    ASSERT_TRUE(WaitForEvents(1));
    pty.CloseMaster();
    ASSERT_TRUE(WaitUntil([&] { return !link.IsOpen(); }));
    link.SetListen(1);
    EXPECT_EQ(link.Close(), 1);
    QCoreApplication::processEvents();
    EXPECT_EQ(receiver.received.size(), 1u);
}

TEST(TelvoCommOpenTest, FailsForAMissingDeviceOrTarget) {
    TelvoComm link;
    RangeReceiver receiver(link);
    EXPECT_EQ(link.Open(QStringLiteral("/dev/tessamar-no-such-range-finder"), &receiver), 0);
    EXPECT_FALSE(link.IsOpen());
    // A device that is not a serial port.
    EXPECT_EQ(link.Open(QStringLiteral("/dev/null"), &receiver), 0);
    EXPECT_FALSE(link.IsOpen());
    PseudoTerminal pty;
    ASSERT_TRUE(pty.IsValid());
    EXPECT_EQ(link.Open(pty.SlavePath(), nullptr), 0);
    EXPECT_FALSE(link.IsOpen());
}

TEST(TelvoCommOpenTest, CloseAndSetListenAreHarmlessWhenNothingIsOpen) {
    TelvoComm link;
    EXPECT_EQ(link.Close(), 1);
    EXPECT_EQ(link.Close(), 1);
    link.SetListen(1);
    link.SetListen(0);
    EXPECT_FALSE(link.IsOpen());
    EXPECT_EQ(link.EventCode(), 0);
    EXPECT_EQ(link.EventValue(), 0);
}

TEST(TelvoCommOpenTest, TheDestructorClosesAnOpenLink) {
    PseudoTerminal pty;
    ASSERT_TRUE(pty.IsValid());
    {
        TelvoComm link;
        RangeReceiver receiver(link);
        ASSERT_NE(link.Open(pty.SlavePath(), &receiver), 0);
        ASSERT_TRUE(pty.Send("D 1\n"));
        ASSERT_TRUE(WaitUntil([&] { return !receiver.received.empty(); }));
    }
    // The device is free again for the next link.
    TelvoComm again;
    RangeReceiver receiver(again);
    EXPECT_NE(again.Open(pty.SlavePath(), &receiver), 0);
}

} // namespace
