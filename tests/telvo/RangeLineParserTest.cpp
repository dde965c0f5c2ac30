#include "telvo/RangeLineParser.h"
#include "telvo/TelvoComm.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

void PrintTo(const RangeEvent& e, std::ostream* os) {
    *os << "{" << e.code << ", " << e.value << "}";
}

namespace {

constexpr int16_t D = kRangeEventDistance;
constexpr int16_t K = kRangeEventKey;

struct StreamCase {
    const char* name;
    std::string bytes;
    std::vector<RangeEvent> expected;
    size_t dropped;
};

class RangeLineParserTest : public ::testing::TestWithParam<StreamCase> {};

// Fed at once, and fed one byte at a time (a line split over reads, an
// overlong line's tail), the stream gives the same events.
TEST_P(RangeLineParserTest, GivesTheEventsOfWellFormedLinesOnly) {
    const StreamCase& c = GetParam();
    RangeLineParser whole, bytewise;
    EXPECT_EQ(whole.Feed(c.bytes), c.expected);
    EXPECT_EQ(whole.DroppedLines(), c.dropped);
    EXPECT_EQ(whole.PendingBytes(), 0u);
    std::vector<RangeEvent> events;
    for (char byte : c.bytes)
        bytewise.Feed(&byte, 1, events);
    EXPECT_EQ(events, c.expected);
    EXPECT_EQ(bytewise.DroppedLines(), c.dropped);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, RangeLineParserTest,
    ::testing::Values(
        StreamCase{"terminators", "D 1\rK 8\nD 2\r\nD 3\n\r", {{D, 1}, {K, 8}, {D, 2}, {D, 3}}, 0},
        StreamCase{"signs_and_zeros", "D -7\nD +0012\nD 0\n", {{D, -7}, {D, 12}, {D, 0}}, 0},
        StreamCase{"blanks_around", "  \tD \t 15 \t\r\n", {{D, 15}}, 0},
        StreamCase{"empty_lines_are_not_dropped", "\n\r\n\r\r  \t\nD 1\n\n", {{D, 1}}, 0},
        StreamCase{
            "int32_limits", "D 2147483647\nD -2147483648\n", {{D, 2147483647}, {D, INT32_MIN}}, 0},
        StreamCase{"beyond_int32", "D 2147483648\nD -2147483649\nD 99999999999999999999\n", {}, 3},
        StreamCase{"bad_kind", "d 5\nk 8\nX 5\nDD 5\nD5\nD\nD \n", {}, 7},
        StreamCase{"bad_number", "D -\nD --5\nD 12.5\nD 1,5\nD 2345mm\nD 2345 mm\nD 1 2\n", {}, 7},
        StreamCase{"junk_between_good_lines",
                   std::string("D 1\n#$%^&*\nD 1\0\n\0\xff\x80\nK 6\n", 24),
                   {{D, 1}, {K, 6}},
                   3},
        StreamCase{"longest_line_kept", "D " + std::string(62, '0') + "\n", {{D, 0}}, 0},
        StreamCase{"overlong_line_dropped", "D " + std::string(63, '0') + "\rK 8\r", {{K, 8}}, 1},
        StreamCase{
            "overlong_junk_with_good_tail", std::string(500, 'x') + "D 5\nD 6\n", {{D, 6}}, 1}),
    [](const ::testing::TestParamInfo<StreamCase>& info) { return std::string(info.param.name); });

} // namespace
