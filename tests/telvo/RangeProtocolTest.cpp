// The meters' protocols, decoded from frames written out of their published
// descriptions:
// - Bosch MT frames: the serial command set posted with the GLM 50 C / 100 C
//   measurements at
//   https://www.eevblog.com/forum/projects/hacking-the-bosch-glm-20-laser-measuring-tape/msg4834073/
//   (request C0 40 00 EE, answers 00 04 45 C9 00 00 84 and 00 04 6C 1F 00 00 AA,
//   acknowledgement 00 00 82), the automatic-sending frame C0 55 02 01 00 1A of
//   Bosch's GLM/PLR app kit, and the exchange data layout (mode and reference
//   byte, status, id, three float32) of the app kit as
//   https://github.com/oberbichler/bosch-plr describes it. Frames that no
//   document shows (zero, the longest reading, exchange data) carry a CRC
//   worked out separately with the documented parameters.
// - Leica GSI words: the DISTO pro4a interface manual (word format
//   "12..10+12345678", "g" gives WI31 WI51) and the GSI unit table
//   (0 = metre with 1 mm last digit, 6 = 1/10 mm, 8 = 1/100 mm, 1 and 7 feet).
// - Leica DISTO low energy: the distance characteristic 3ab10101 holds a
//   float32, little-endian, in metres.

#include "RangeTestSupport.h"
#include "telvo/BoschMtProtocol.h"
#include "telvo/LeicaBleProtocol.h"
#include "telvo/LeicaGsiProtocol.h"
#include "telvo/RangeUnits.h"
#include "telvo/TelvoComm.h"

#include <QByteArray>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

struct FrameCase {
    const char* name;
    const char* protocol; // "bosch" (one measure request first) or "leica"
    QByteArray bytes;
    std::vector<RangeEvent> expected;
};

std::unique_ptr<RangeProtocol> Fresh(const char* protocol) {
    if (std::string(protocol) == "bosch") {
        auto bosch = std::make_unique<BoschMtProtocol>(true);
        bosch->MeasureRequest(); // the answers below answer it
        return bosch;
    }
    return std::make_unique<LeicaGsiProtocol>();
}

class StreamDecoderTest : public ::testing::TestWithParam<FrameCase> {};

// Whole, one byte at a time, and cut in two at every byte, the stream gives
// the same readings.
TEST_P(StreamDecoderTest, GivesTheReadingsOfValidFramesHoweverTheyAreCut) {
    const FrameCase& c = GetParam();
    EXPECT_EQ(Fresh(c.protocol)->Receive(0, c.bytes), c.expected) << "whole";
    {
        auto protocol = Fresh(c.protocol);
        std::vector<RangeEvent> events;
        for (char byte : c.bytes)
            protocol->Receive(0, QByteArray(1, byte), events);
        EXPECT_EQ(events, c.expected) << "byte by byte";
    }
    for (int cut = 1; cut < c.bytes.size(); ++cut) {
        auto protocol = Fresh(c.protocol);
        std::vector<RangeEvent> events;
        protocol->Receive(0, c.bytes.left(cut), events);
        protocol->Receive(0, c.bytes.mid(cut), events);
        EXPECT_EQ(events, c.expected) << "cut at " << cut;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Frames, StreamDecoderTest,
    ::testing::Values(
        // 0xC945 = 51525 units of 0.05 mm = 2576.25 mm.
        FrameCase{"bosch_answer", "bosch", Hex("00 04 45 C9 00 00 84"), {{D, 2576}}},
        FrameCase{"bosch_answer_2", "bosch", Hex("00 04 6C 1F 00 00 AA"), {{D, 402}}},
        FrameCase{"bosch_crc_wrong", "bosch", Hex("00 04 45 C9 00 00 85"), {}},
        FrameCase{"bosch_zero", "bosch", Hex("00 04 00 00 00 00 5C"), {{D, 0}}},
        // The longest a uint32 of 0.05 mm can say: 214748364.75 mm.
        FrameCase{"bosch_longest", "bosch", Hex("00 04 FF FF FF FF D6"), {{D, 214748365}}},
        // An error answer (checksum error, status 3) uses up the request.
        FrameCase{"bosch_error_answer", "bosch", Hex("03 00 0A 00 04 45 C9 00 00 84"), {}},
        // The meter's keep-alive (command 0x11), then noise, then readings
        // it pushes (exchange data, single distance mode).
        FrameCase{"bosch_pushed_after_unknown_and_noise",
                  "bosch",
                  Hex("C0 11 00 3A FF 12"
                      "C0 55 10 06 00 01 00 00 00 20 40 00 00 00 00 00 00 00 00 56"
                      "C0 55 10 05 00 01 00 00 00 88 3F 00 00 00 00 00 00 00 00 9C"),
                  {{D, 2500}, {D, 1063}}},
        FrameCase{"bosch_pushed_zero",
                  "bosch",
                  Hex("C0 55 10 06 00 01 00 00 00 00 00 00 00 00 00 00 00 00 00 60"),
                  {{D, 0}}},
        // NaN, negative, too long for 32 bits, an area, the laser switching
        // on: no reading. The frame after them still counts.
        FrameCase{"bosch_pushed_refused",
                  "bosch",
                  Hex("C0 55 10 06 00 01 00 00 00 C0 7F 00 00 00 00 00 00 00 00 36"
                      "C0 55 10 06 00 01 00 00 00 80 BF 00 00 00 00 00 00 00 00 B2"
                      "C0 55 10 06 00 01 00 E6 B1 61 7F 00 00 00 00 00 00 00 00 36"
                      "C0 55 10 11 00 01 00 00 00 48 41 00 00 00 00 00 00 00 00 1C"
                      "C0 55 10 01 00 01 00 00 00 00 00 00 00 00 00 00 00 00 00 6E"
                      "C0 55 10 06 00 01 00 00 00 20 40 00 00 00 00 00 00 00 00 56"),
                  {{D, 2500}}},
        FrameCase{"bosch_pushed_crc_wrong",
                  "bosch",
                  Hex("C0 55 10 06 00 01 00 00 00 20 40 00 00 00 00 00 00 00 00 57"),
                  {}},
        FrameCase{"leica_distance", "leica", "31..00+00001234\r\n", {{D, 1234}}},
        // "g" answers WI31 WI51; word 51 is no distance.
        FrameCase{"leica_g_answer", "leica", "31..00+00003387 51....+00000123\r\n", {{D, 3387}}},
        FrameCase{"leica_tenths", "leica", "31..06+00012345\r\n", {{D, 1235}}},
        FrameCase{"leica_hundredths", "leica", "31..08+00123450\r\n", {{D, 1235}}},
        FrameCase{"leica_feet", "leica", "31..01+00010000\r\n", {{D, 3048}}},
        FrameCase{"leica_zero", "leica", "31..00+00000000\n", {{D, 0}}},
        FrameCase{"leica_longest", "leica", "31..00+99999999\r", {{D, 99999999}}},
        FrameCase{"leica_gsi16", "leica", "*31..00+0000000000001234\r\n", {{D, 1234}}},
        FrameCase{"leica_refused",
                  "leica",
                  "?\r\n@E255\r\n31..00-00001234\r\n31..02+00001234\r\n21.102+17920860\r\n"
                  "31..00+0000123\r\n31..00+0000123x\r\n32..00+00001234\r\n",
                  {}},
        FrameCase{"leica_waits_for_the_end", "leica", "31..00+00001234", {}}),
    [](const ::testing::TestParamInfo<FrameCase>& info) { return std::string(info.param.name); });

// The documented request and automatic-sending frames. Answers carry no
// command: they are matched in order with the requests. The answer to
// switching automatic sending on is no reading; without a request waiting
// an answer is noise.
TEST(BoschMtProtocolTest, SendsTheDocumentedFramesAndMatchesAnswersWithRequestsInOrder) {
    BoschMtProtocol bosch(true);
    const QByteArray answer = Hex("00 04 45 C9 00 00 84");
    EXPECT_TRUE(bosch.Receive(0, answer).empty());
    EXPECT_EQ(bosch.Greeting(), Hex("C0 55 02 01 00 1A"));
    EXPECT_EQ(bosch.MeasureRequest(), Hex("C0 40 00 EE"));
    EXPECT_TRUE(bosch.Receive(0, Hex("00 00 82")).empty()); // acknowledges the greeting
    EXPECT_EQ(bosch.Receive(0, answer), (std::vector<RangeEvent>{{D, 2576}}));
    EXPECT_TRUE(bosch.Receive(0, answer).empty());
    bosch.MeasureRequest();
    bosch.Reset(); // a new connection: no request waits
    EXPECT_TRUE(bosch.Receive(0, answer).empty());
}

struct ValueCase {
    const char* name;
    int source;
    QByteArray value;
    std::vector<RangeEvent> expected;
};

class LeicaBleProtocolTest : public ::testing::TestWithParam<ValueCase> {};

TEST_P(LeicaBleProtocolTest, TakesFloatMetresOfTheDistanceCharacteristic) {
    LeicaBleProtocol leica;
    EXPECT_EQ(leica.Receive(GetParam().source, GetParam().value), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Values, LeicaBleProtocolTest,
    ::testing::Values(ValueCase{"metres", 0, Hex("00 00 20 40"), {{D, 2500}}},
                      ValueCase{"half_rounds_up", 0, Hex("00 00 88 3F"), {{D, 1063}}},
                      ValueCase{"zero", 0, Hex("00 00 00 00"), {{D, 0}}},
                      ValueCase{"longest", 0, Hex("00 00 7A 43"), {{D, 250000}}},
                      ValueCase{"nan", 0, Hex("00 00 C0 7F"), {}},
                      ValueCase{"short", 0, Hex("00 20 40"), {}},
                      ValueCase{"unit_characteristic", 1, Hex("00 00 20 40"), {}}),
    [](const ::testing::TestParamInfo<ValueCase>& info) { return std::string(info.param.name); });

TEST(RangeUnitsTest, RoundsHalvesAwayFromZeroAndRefusesWhatIsNoDistance) {
    const struct {
        double in;
        std::optional<int32_t> out;
    } cases[] = {{0.0, 0},
                 {0.49, 0},
                 {0.5, 1},
                 {2.5, 3},
                 {1234.4999, 1234},
                 {2147483647.0, INT32_MAX},
                 {2147483647.5, std::nullopt},
                 {-0.5, std::nullopt},
                 {std::nan(""), std::nullopt},
                 {HUGE_VAL, std::nullopt}};
    for (const auto& c : cases)
        EXPECT_EQ(WholeMillimetres(c.in), c.out) << c.in;
}

} // namespace
