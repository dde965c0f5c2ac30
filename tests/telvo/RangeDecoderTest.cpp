// The meters' decoders, fed whole, byte by byte and cut in two at every
// byte. Frames come from public captures (the files in tests/data/range-finder
// name their sources) and from the makers' documents:
// - Bosch MT: "MT connectivity protocol" 1.2.9 and its "LRF command set"
//   2.5.0 (status byte, answer layouts, exchange data and sync containers,
//   distance 0 = failed measurement). Frames no capture shows (error
//   statuses, containers) carry a CRC worked out separately with the
//   documented parameters.
// - Leica GSI words: the DISTO pro4a interface manual (word format), the GSI
//   unit table (0 = 1 mm, 6 = 1/10 mm, 8 = 1/100 mm, 1 and 7 feet).
// - Leica DISTO low energy: distance 3ab10101 (float32 LE), unit 3ab10102
//   (uint16 LE; 0..3 metric lengths, 4..13 imperial, +100 areas).
// - Our line format: "D 2345" a distance, "K 8" a key, one a line.

#include "RangeTestSupport.h"
#include "common/TestSupport.h"
#include "telvo/BoschMtProtocol.h"
#include "telvo/LeicaBleProtocol.h"
#include "telvo/RangeProtocol.h"
#include "telvo/RangeUnits.h"

#include <QFile>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int32_t kHardwareError = static_cast<int32_t>(RangeFailure::HardwareError);
constexpr int32_t kNotReady = static_cast<int32_t>(RangeFailure::NotReady);
constexpr int32_t kRefused = static_cast<int32_t>(RangeFailure::Refused);
constexpr int32_t kUnknownUnit = static_cast<int32_t>(RangeFailure::UnknownUnit);

// "answer": Bosch over a serial line with a measure request waiting.
std::unique_ptr<RangeProtocol> Fresh(const std::string& protocol) {
    auto made =
        MakeRangeProtocol(QString::fromStdString(protocol == "answer" ? "bosch-spp" : protocol));
    if (protocol == "answer")
        made->AskForReading(); // the answers below answer it
    return made;
}

// The events of `bytes` fed to `protocol` whole (cut 0), byte by byte (cut
// -1) or in two pieces cut at `cut`.
std::vector<RangeEvent> Feed(RangeProtocol& protocol, const QByteArray& bytes, int cut) {
    std::vector<RangeEvent> events;
    if (cut < 0) {
        for (char byte : bytes)
            protocol.Receive(0, QByteArray(1, byte), events);
        return events;
    }
    const int at = cut == 0 ? int(bytes.size()) : cut;
    protocol.Receive(0, bytes.left(at), events);
    protocol.Receive(0, bytes.mid(at), events);
    return events;
}

struct FrameCase {
    const char* name;
    const char* protocol;
    QByteArray bytes;
    std::vector<RangeEvent> expected;
};

class StreamDecoderTest : public ::testing::TestWithParam<FrameCase> {};

TEST_P(StreamDecoderTest, GivesTheReadingsOfValidFramesHoweverTheyAreCut) {
    const FrameCase& c = GetParam();
    for (int cut = -1; cut < c.bytes.size(); ++cut)
        EXPECT_EQ(Feed(*Fresh(c.protocol), c.bytes, cut), c.expected) << "cut at " << cut;
}

const QByteArray kPush1300 = Hex("C0 55 10 06 00 01 00 66 66 A6 3F 00 00 00 00 00 00 00 00 BA");

INSTANTIATE_TEST_SUITE_P(
    Frames, StreamDecoderTest,
    ::testing::Values(
        // A distance of 0 is the meter's failed measurement; the device
        // flags hardware error and not ready, and any communication status
        // but success, give no reading; "hand raised" does not matter.
        FrameCase{"bosch_zero", "answer", Hex("00 04 00 00 00 00 5C"), {{F, kNoMeasurement}}},
        FrameCase{
            "bosch_hardware_error", "answer", Hex("08 04 45 C9 00 00 52"), {{F, kHardwareError}}},
        FrameCase{"bosch_not_ready", "answer", Hex("10 04 45 C9 00 00 8E"), {{F, kNotReady}}},
        FrameCase{"bosch_checksum_error_status", "answer", Hex("03 00 0A"), {{F, kRefused}}},
        FrameCase{"bosch_hand_raised", "answer", Hex("20 04 45 C9 00 00 90"), {{D, 2576}}},
        FrameCase{"bosch_crc_wrong", "answer", Hex("00 04 45 C9 00 00 85"), {}},
        // The longest a uint32 of 0.05 mm can say: 214748364.75 mm.
        FrameCase{"bosch_longest", "answer", Hex("00 04 FF FF FF FF D6"), {{D, 214748365}}},
        // Pushed exchange data (command 85): the keep-alive, noise, and noise
        // that looks like the start of a long frame give nothing and do not
        // hold back the reading after them; a single distance is a reading, in
        // metres even when the meter shows imperial units (DevStatus bit 3).
        FrameCase{"bosch_pushed_after_keepalive_and_noise",
                  "bosch-spp",
                  Hex("C0 11 00 3A FF 12 C0 55 40") + kPush1300 +
                      Hex("C0 55 10 06 08 01 00 66 66 A6 3F 00 00 00 00 00 00 00 00 F0"),
                  {{D, 1300}, {D, 1300}}},
        // 0 and the error event (mode 63) are failed measurements (NaN,
        // negative, too long: RangeUnitsTest); an area and the laser switching
        // on are nothing. The frame after them still counts.
        FrameCase{"bosch_pushed_refused",
                  "bosch-spp",
                  Hex("C0 55 10 06 00 01 00 00 00 00 00 00 00 00 00 00 00 00 00 60"
                      "C0 55 10 FC 00 02 00 01 00 00 00 00 00 00 00 00 00 00 00 A0"
                      "C0 55 10 11 00 01 00 00 00 48 41 00 00 00 00 00 00 00 00 1C"
                      "C0 55 10 01 00 01 00 00 00 00 00 00 00 00 00 00 00 00 00 6E") +
                      kPush1300,
                  {{F, kNoMeasurement}, {F, kNoMeasurement}, {D, 1300}}},
        // The GLM 100 C's sync container (command 80, 33 bytes): a single
        // distance; 0 with the laser off and a device error are failures;
        // 0 with the laser on (waiting for the second press) and an area are
        // nothing.
        FrameCase{"glm100c_sync",
                  "bosch-spp",
                  Hex("C0 50 21 01 02 50 15 66 66 A6 3F 00 00 00 00 00 00 00 00 00 00 00 00"
                      "00 00 00 00 00 00 00 00 00 01 00 00 00 18"
                      "C0 50 21 01 02 50 15 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00"
                      "00 00 00 00 00 00 00 00 00 01 00 00 00 9C"
                      "C0 50 21 01 02 50 15 66 66 A6 3F 00 00 00 00 00 00 00 00 00 00 00 00"
                      "00 00 00 00 00 00 00 00 09 01 00 00 00 04"
                      "C0 50 21 01 02 50 15 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00"
                      "00 00 00 00 00 00 00 01 01 00 00 00 02"
                      "C0 50 21 02 00 50 15 4A 0C 16 41 00 00 00 00 00 00 00 00 00 00 00 00"
                      "00 00 00 00 00 00 00 00 00 01 00 00 00 DC"),
                  {{D, 1300}, {F, kNoMeasurement}, {F, kNoMeasurement}}},
        // "g" of the OEM module answers WI31 WI51; word 51 is no distance.
        FrameCase{"leica_words",
                  "leica-spp",
                  "31..00+00001234\r\n31..00+00003387 51....+00000123\r\n31..06+00012345\r\n"
                  "31..08+00123450\r\n31..01+00010000\r\n31..00+00000000\n31..00+99999999\r"
                  "*31..00+0000000000001234\r\n",
                  {{D, 1234},
                   {D, 3387},
                   {D, 1235},
                   {D, 1235},
                   {D, 3048},
                   {F, kNoMeasurement},
                   {D, 99999999},
                   {D, 1234}}},
        // What is no distance word, and a word still waiting for its end.
        FrameCase{"leica_refused",
                  "leica-spp",
                  "?\r\n@E255\r\n31..00-00001234\r\n31..02+00001234\r\n21.102+17920860\r\n"
                  "31..00+0000123\r\n31..00+0000123x\r\n32..00+00001234\r\n31..00+00001234",
                  {}},
        // A distance is never negative: "D -7" is malformed. (A 0 passes
        // the parser; the link takes it for a failed measurement.)
        FrameCase{"lines_ends_signs_blanks",
                  "lines",
                  "D 1\rK 8\nD -7\r\nD +0012\n\r \tD\t 0 \t\r\nK -3\n\n\r\n",
                  {{D, 1}, {K, 8}, {D, 12}, {D, 0}, {K, -3}}},
        FrameCase{
            "lines_int32",
            "lines",
            "D 2147483647\nD -1000000000\nD 2147483648\nD -2147483649\nD 99999999999999999999\n",
            {{D, INT32_MAX}}},
        FrameCase{"lines_bad_and_junk",
                  "lines",
                  "d 5\nX 5\nDD 5\nD5\nD \nD -\nD --5\nD 12.5\nD 1,5\nD 2345mm\nD 1 2\n" +
                      QByteArray("D 1\n#$%^&*\nD 1\0\n\0\xff\x80\nK 6\n", 24),
                  {{D, 1}, {K, 6}}},
        // 64 bytes make the longest line; past it, the line is dropped whole.
        FrameCase{"lines_overlong",
                  "lines",
                  "D " + QByteArray(62, '0') + "\nD " + QByteArray(63, '0') + "\rK 8\r" +
                      QByteArray(500, 'x') + "D 5\nD 6\n",
                  {{D, 0}, {K, 8}, {D, 6}}}),
    [](const ::testing::TestParamInfo<FrameCase>& info) { return std::string(info.param.name); });

// One line of a capture file: what the app sends, or what the meter sends
// and the events it gives.
struct CaptureLine {
    bool fromApp = false;
    QByteArray frame;
    std::vector<RangeEvent> expected;
};

std::vector<CaptureLine> ReadCapture(const char* name) {
    QFile file(SourcePath(QStringLiteral("tests/data/range-finder/") + QLatin1String(name)));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name;
    std::vector<CaptureLine> lines;
    while (!file.atEnd()) {
        const QByteArray text = file.readLine().trimmed();
        if (text.isEmpty() || text.startsWith('#'))
            continue;
        CaptureLine line;
        line.fromApp = text.startsWith('>');
        const QList<QByteArray> parts = text.mid(1).split('=');
        line.frame = QByteArray::fromHex(parts[0].simplified().replace(' ', ""));
        const QList<QByteArray> what = parts.value(1).simplified().split(' ');
        if (what.size() == 2)
            line.expected.push_back(
                {what[0] == "D" ? D : F, static_cast<int32_t>(what[1].toLong())});
        lines.push_back(line);
    }
    return lines;
}

// The captured exchanges replayed: each frame the app sent is the one the
// protocol sends for the same request, each answer gives what the capture
// says however it is cut; no byte is noise. The command set document's
// example frames are built alike.
TEST(BoschCaptureTest, CapturedExchangesReplayToTheirReadings) {
    for (const char* name : {"glm20-serial.txt", "glm120c-ble.txt"}) {
        const std::vector<CaptureLine> capture = ReadCapture(name);
        ASSERT_FALSE(capture.empty());
        for (int cut = -1; cut <= 40; ++cut) {
            BoschMtProtocol bosch(true);
            for (const CaptureLine& line : capture) {
                if (!line.fromApp) {
                    EXPECT_EQ(Feed(bosch, line.frame, cut), line.expected) << name << " " << cut;
                    continue;
                }
                ASSERT_TRUE(bosch.Ask(uint8_t(line.frame[1]), line.frame.mid(3, line.frame[2])));
                EXPECT_EQ(bosch.TakeOutgoing(), std::vector<QByteArray>{line.frame}) << name;
            }
        }
    }
    const std::vector<CaptureLine> examples = ReadCapture("mt-command-examples.txt");
    ASSERT_EQ(examples.size(), 15u);
    for (const CaptureLine& line : examples)
        EXPECT_EQ(BoschMtProtocol::Frame(uint8_t(line.frame[1]), line.frame.mid(3, line.frame[2])),
                  line.frame)
            << line.frame.toHex(' ').toStdString();
}

// Leica over low energy: a distance counts only in a metric display unit,
// and waits for the unit.
TEST(LeicaBleProtocolTest, TakesMetresOnlyWhileTheUnitIsMetric) {
    const QByteArray metres2500 = Hex("00 00 20 40"), metre = Hex("00 00");
    const struct {
        std::vector<std::pair<int, QByteArray>> values; // source (1: unit), value
        std::vector<RangeEvent> expected;
    } cases[] = {
        {{{1, metre}, {0, metres2500}}, {{D, 2500}}},
        {{{0, metres2500}, {1, Hex("03 00")}}, {{D, 2500}}},
        {{{1, Hex("06 00")}, {0, metres2500}}, {{F, kUnknownUnit}}}, // feet
        // 0, NaN, 2500 "metres" (a value in mm) are no measurement; a short value nothing.
        {{{1, metre},
          {0, Hex("00 00 00 00")},
          {0, Hex("00 00 C0 7F")},
          {0, Hex("00 40 1C 45")},
          {0, Hex("00 20 40")}},
         {{F, kNoMeasurement}, {F, kNoMeasurement}, {F, kNoMeasurement}}},
    };
    for (const auto& c : cases) {
        LeicaBleProtocol leica;
        std::vector<RangeEvent> events;
        for (const auto& [source, value] : c.values)
            leica.Receive(source, value, events);
        EXPECT_EQ(events, c.expected) << c.values[0].second.toHex().toStdString();
    }
}

TEST(RangeUnitsTest, RoundsHalvesAwayFromZeroAndRefusesWhatIsNoDistance) {
    const struct {
        double in;
        std::optional<int32_t> out;
    } cases[] = {{0.49, 0},
                 {2.5, 3},
                 {2147483647.0, INT32_MAX},
                 {2147483647.5, {}},
                 {-0.5, std::nullopt},
                 {std::nan(""), {}},
                 {HUGE_VAL, {}}};
    for (const auto& c : cases)
        EXPECT_EQ(WholeMillimetres(c.in), c.out) << c.in;
}

} // namespace
