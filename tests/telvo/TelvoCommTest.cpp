#include "telvo/TelvoComm.h"

#include "common/PseudoTerminal.h"
#include "common/TestSupport.h"
#include "telvo/RangeFinderPort.h"

#include <QCoreApplication>
#include <QTest>
#include <gtest/gtest.h>

#include <string>
#include <vector>

void PrintTo(const RangeEvent& e, std::ostream* os);

namespace {

constexpr int16_t D = kRangeEventDistance;
constexpr int16_t K = kRangeEventKey;

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

struct PortCase {
    const char* port;
    const char* override; // the environment's device, "" when unset
    const char* device;
};

class RangeFinderPortTest : public ::testing::TestWithParam<PortCase> {};

TEST_P(RangeFinderPortTest, MapsThePortNameToADevice) {
    const PortCase& c = GetParam();
    EXPECT_EQ(RangeFinderDevice(QString::fromLatin1(c.port), QString::fromLatin1(c.override)),
              QString::fromLatin1(c.device))
        << c.port << " with \"" << c.override << '"';
}

INSTANTIATE_TEST_SUITE_P(
    Names, RangeFinderPortTest,
    ::testing::Values(PortCase{"COM4", "", "/dev/rfcomm0"}, PortCase{"com4", "", "/dev/rfcomm0"},
                      PortCase{"COM1", "", "/dev/ttyS0"}, PortCase{"COM12", "", "/dev/ttyS11"},
                      PortCase{"COM0", "", "COM0"}, PortCase{"COM4x", "", "COM4x"},
                      PortCase{"ttyUSB0", "", "ttyUSB0"},
                      PortCase{"COM4", " /dev/pts/3 ", "/dev/pts/3"},
                      PortCase{"COM4", "   ", "/dev/rfcomm0"},
                      // a path given by the caller is not overridden
                      PortCase{"/dev/ttyUSB1", "/dev/pts/3", "/dev/ttyUSB1"}));

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
    EXPECT_EQ(link.EventCode(), K);
    EXPECT_EQ(link.EventValue(), kRangeKeyNext);
}

// One event is outstanding at a time: the next is announced after the re-arm.
TEST_F(TelvoCommTest, EventsWaitWhileHeldBackAndComeOneByOneEachAfterTheReArm) {
    receiver.rearm = false;
    link.SetListen(0);
    ASSERT_TRUE(pty.Send("D 1\nD 2\nK 6\nD 3\n"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return link.WaitingEvents() == 4; }));
    EXPECT_TRUE(receiver.received.empty());
    for (size_t next = 1; next <= 4; ++next) {
        link.SetListen(1);
        ASSERT_TRUE(WaitForEvents(next));
        QCoreApplication::processEvents();
        EXPECT_EQ(receiver.received.size(), next);
        EXPECT_EQ(link.EventValue(), receiver.received.back().value); // the one announced
    }
    EXPECT_EQ(receiver.received, (std::vector<RangeEvent>{{D, 1}, {D, 2}, {K, 6}, {D, 3}}));
    // Re-armed with nothing waiting, the next reading is announced at once.
    link.SetListen(1);
    ASSERT_TRUE(pty.Send("D 4\n"));
    ASSERT_TRUE(WaitForEvents(5));
}

TEST_F(TelvoCommTest, CloseDropsEventsNotYetHandled) {
    receiver.rearm = false;
    ASSERT_TRUE(pty.Send("D 1\nD 2\nD 3\n"));
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return link.WaitingEvents() == 2 && receiver.received.size() == 1; }));
    link.SetListen(1);          // D 2 is announced (posted, not yet handled) ...
    EXPECT_EQ(link.Close(), 1); // ... when the link is closed
    EXPECT_EQ(link.WaitingEvents(), 0u);
    QCoreApplication::processEvents();
    EXPECT_EQ(receiver.received, (std::vector<RangeEvent>{{D, 1}}));
    EXPECT_EQ(link.Close(), 1); // harmless when nothing is open
}

TEST_F(TelvoCommTest, AVanishingDeviceClosesTheLink) {
    ASSERT_TRUE(pty.Send("D 1\n"));
    ASSERT_TRUE(WaitForEvents(1));
    pty.CloseMaster();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !link.IsOpen(); }));
    EXPECT_EQ(link.Close(), 1);
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

} // namespace
