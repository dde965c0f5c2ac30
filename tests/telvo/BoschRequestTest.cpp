// Bosch MT requests and answers over time: one request at a time, answers
// taken by their shape, a request without answer or crossed by the meter's
// own sent once more and then reported, partial frames dropped after a
// silence, and the chunks of the second low-energy family. Frames are
// those of the MT documents; CRCs were worked out separately.

#include "RangeTestSupport.h"
#include "telvo/BoschMtChunks.h"
#include "telvo/BoschMtProtocol.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Bytes = std::vector<QByteArray>;

constexpr int32_t kNoAnswer = static_cast<int32_t>(RangeFailure::NoAnswer);
constexpr int32_t kFrameLost = static_cast<int32_t>(RangeFailure::FrameLost);

const QByteArray kAutoSync = Hex("C0 55 02 01 00 1A");
const QByteArray kMeasure = Hex("C0 40 00 EE");
const QByteArray kAnswer2576 = Hex("00 04 45 C9 00 00 84");
const QByteArray kAck = Hex("00 00 82");
const QByteArray kKeepAlive = Hex("C0 11 00 3A");
const QByteArray kPush1300 = Hex("C0 55 10 06 00 01 00 66 66 A6 3F 00 00 00 00 00 00 00 00 BA");

std::vector<RangeEvent> TickAt(BoschMtProtocol& bosch, int64_t ms) {
    std::vector<RangeEvent> events;
    bosch.SetTime(ms);
    bosch.Tick(events);
    return events;
}

// The greeting switches automatic sending on both ways (commands 85 and
// 80), each request leaving when the one before is answered; an answer of
// the wrong shape answers nothing; "command unknown" to command 80 (a meter
// of the other family) is no news.
TEST(BoschRequestTest, RequestsGoOneAtATimeAndAnswersAreTakenByTheirShape) {
    BoschMtProtocol bosch(true);
    bosch.Greet();
    EXPECT_EQ(bosch.TakeOutgoing(), Bytes{kAutoSync});
    EXPECT_TRUE(bosch.AskForReading());
    EXPECT_TRUE(bosch.TakeOutgoing().empty()); // waits its turn
    EXPECT_TRUE(bosch.Receive(0, kAnswer2576).empty());
    EXPECT_TRUE(bosch.TakeOutgoing().empty()); // AutoSync is still waiting
    EXPECT_TRUE(bosch.Receive(0, kAck).empty());
    EXPECT_EQ(bosch.TakeOutgoing(), Bytes{Hex("C0 50 02 40 00 2E")}); // SyncOn
    EXPECT_TRUE(bosch.Receive(0, Hex("04 00 C4")).empty());
    EXPECT_EQ(bosch.TakeOutgoing(), Bytes{kMeasure});
    EXPECT_TRUE(bosch.Receive(0, kAck).empty()); // no distance in it
    EXPECT_EQ(bosch.Receive(0, kAnswer2576), (std::vector<RangeEvent>{{D, 2576}}));
    EXPECT_TRUE(bosch.Receive(0, kAnswer2576).empty()); // nothing waits: noise
    bosch.AskForReading();
    bosch.Reset(); // a new connection: no request waits
    EXPECT_TRUE(bosch.Receive(0, kAnswer2576).empty());
}

// A request without answer (a command the meter ignores) is sent once more
// after its time-out, then given up with a notice, and the next request
// goes; it never takes the next request's answer. The meter's own request
// crossing ours means ours was dropped: it is sent again at once and its
// answer counts; crossed twice, it is given up.
TEST(BoschRequestTest, ARequestUnansweredOrCrossedIsSentAgainOnceThenReported) {
    BoschMtProtocol bosch(true);
    bosch.SetTime(1000);
    bosch.AskForReading();
    bosch.Ask(0x41); // laser on, queued behind
    EXPECT_EQ(bosch.TakeOutgoing(), Bytes{kMeasure});
    EXPECT_TRUE(TickAt(bosch, 1000 + BoschMtProtocol::kMeasureTimeoutMs - 1).empty());
    EXPECT_TRUE(bosch.TakeOutgoing().empty());
    EXPECT_TRUE(TickAt(bosch, 1000 + BoschMtProtocol::kMeasureTimeoutMs).empty());
    EXPECT_EQ(bosch.TakeOutgoing(), Bytes{kMeasure});
    EXPECT_EQ(TickAt(bosch, 1000 + 2 * BoschMtProtocol::kMeasureTimeoutMs),
              (std::vector<RangeEvent>{{F, kNoAnswer}}));
    EXPECT_EQ(bosch.TakeOutgoing(), Bytes{Hex("C0 41 00 96")});
    EXPECT_TRUE(bosch.Receive(0, kAck).empty());
    EXPECT_FALSE(bosch.Waiting());

    bosch.AskForReading();
    bosch.TakeOutgoing();
    EXPECT_TRUE(bosch.Receive(0, kKeepAlive).empty());
    EXPECT_EQ(bosch.TakeOutgoing(), Bytes{kMeasure});
    EXPECT_EQ(bosch.Receive(0, kAnswer2576), (std::vector<RangeEvent>{{D, 2576}}));
    bosch.AskForReading();
    bosch.TakeOutgoing();
    EXPECT_EQ(bosch.Receive(0, kKeepAlive + kKeepAlive), (std::vector<RangeEvent>{{F, kNoAnswer}}));
    EXPECT_TRUE(bosch.Receive(0, kAnswer2576).empty()); // late: answers nothing
}

// A reading is decoded when it arrives or lost with a notice, never
// completed later by other bytes: a partial frame goes after a silence,
// zeros before a reading do not hold it back (a false start is in the
// decoders' frame table).
TEST(BoschRequestTest, APartialFrameIsDroppedAfterASilenceAndNoiseHoldsNothingBack) {
    BoschMtProtocol bosch(true);
    bosch.SetTime(0);
    EXPECT_TRUE(bosch.Receive(0, Hex("C0 55 40")).empty());
    EXPECT_TRUE(bosch.Waiting());
    EXPECT_TRUE(TickAt(bosch, BoschMtFrameReader::kSilenceMs - 1).empty());
    EXPECT_EQ(TickAt(bosch, BoschMtFrameReader::kSilenceMs),
              (std::vector<RangeEvent>{{F, kFrameLost}}));
    EXPECT_FALSE(bosch.Waiting());
    EXPECT_TRUE(bosch.Receive(0, QByteArray(60, '\0')).empty());
    EXPECT_EQ(bosch.Receive(0, kPush1300), (std::vector<RangeEvent>{{D, 1300}}));
}

// The second low-energy family: frames in pieces of up to 19 bytes behind a
// header byte (message number, pieces to come), each piece of the meter's
// acknowledged with FF <header> 00 (a frame of two pieces joined and
// acknowledged: RangeLinkTest, LowEnergyLinkTest).
TEST(BoschChunksTest, FramesTravelInAcknowledgedPieces) {
    BoschMtChunks chunks;
    EXPECT_EQ(chunks.Split(kPush1300),
              (Bytes{Hex("11") + kPush1300.left(19), Hex("10") + kPush1300.mid(19)}));
    EXPECT_EQ(chunks.Split(kAutoSync), Bytes{Hex("20") + kAutoSync});
    Bytes acks;
    EXPECT_TRUE(chunks.Join(Hex("FF 11 00"), acks).isEmpty()); // the meter's acknowledgement
    EXPECT_TRUE(acks.empty());
    // A last piece without its first is a frame of its own (and fails its
    // CRC later), not the end of an older one.
    EXPECT_TRUE(chunks.Join(Hex("31") + kPush1300.left(19), acks).isEmpty());
    EXPECT_EQ(chunks.Join(Hex("50") + kAck, acks), kAck);
}

} // namespace
