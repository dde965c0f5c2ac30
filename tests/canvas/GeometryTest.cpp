// The canvas's arithmetic: view layout, zoom steps and clamping;
// record geometry; note text wrapping.
#include "canvas/CanvasTestSupport.h"
#include "canvas/ViewModel.h"
#include "drawing/RenderGeometry.h"
#include "drawing/WrapNoteText.h"

#include <array>
#include <cmath>
#include <limits>
#include <tuple>

namespace {

using namespace viewmodel;

TEST(ViewModelZoom, WalksTheStepTableAndStopsAtItsEnds) {
    std::vector<float> down, up;
    for (float zoom = 1.0f; down.size() < 7;)
        down.push_back(zoom = ZoomAfter(ZoomOut, zoom));
    for (float zoom = 0.1f; up.size() < 7;)
        up.push_back(zoom = ZoomAfter(ZoomIn, zoom));
    EXPECT_EQ(down, (std::vector<float>{0.7f, 0.5f, 0.3f, 0.2f, 0.1f, 0.1f, 0.1f}));
    EXPECT_EQ(up, (std::vector<float>{0.2f, 0.3f, 0.5f, 0.7f, 1.0f, 2.0f, 2.0f}));
    // Zooms off the table (fitted ones) step to their neighbours or stay.
    const float cases[][3] = {
        {ZoomIn, 0.43f, 0.5f}, {ZoomOut, 0.43f, 0.3f}, {ZoomIn, 3.7f, 3.7f}, {ZoomOut, 5.0f, 2.0f}};
    for (const auto& c : cases)
        EXPECT_EQ(ZoomAfter(int(c[0]), c[1]), c[2]) << "command " << c[0] << " from " << c[1];
}

// Photo, client area, fit, zoom before and after, destination, source.
using LayoutCase = std::tuple<SIZE, SIZE, bool, float, float, RECT, RECT>;
class ViewModelLayout : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(ViewModelLayout, GivesZoomAndRectangles) {
    auto [photo, client, fit, zoom, zoomAfter, dst, src] = GetParam();
    RECT laidSrc{}, laidDst{1, 2, 3, 4};
    UpdateLayout(client, photo, fit, zoom, laidSrc, laidDst);
    EXPECT_EQ(zoom, zoomAfter);
    EXPECT_EQ(laidDst, dst);
    EXPECT_EQ(laidSrc, src);
}

const LayoutCase kLayouts[] = {
    {{400, 300}, {600, 500}, false, 1.0f, 1.0f, {100, 100, 500, 400}, {0, 0, 400, 300}},
    {{2000, 1000}, {500, 500}, false, 1.0f, 1.0f, {0, 0, 500, 500}, {0, 0, 500, 500}},
    {{2000, 1000}, {500, 500}, true, 1.0f, 0.25f, {0, 125, 500, 375}, {0, 0, 2000, 1000}},
    // 0.7 is held as 0.699999988: 699 x 559, not 700 x 560.
    {{1000, 800}, {2000, 2000}, false, 0.7f, 0.7f, {650, 720, 1349, 1279}, {0, 0, 1000, 800}},
    // An empty client area keeps the zoom instead of fitting to zero.
    {{2000, 1000}, {0, 0}, true, 0.5f, 0.5f, {}, {}},
    // 870 / 0.300000012 = 2899.9999: the source is 2899 wide, not 2900.
    {{4000, 3000}, {870, 756}, false, 0.3f, 0.3f, {0, 0, 870, 756}, {0, 0, 2899, 2519}},
};
INSTANTIATE_TEST_SUITE_P(Table, ViewModelLayout, ::testing::ValuesIn(kLayouts));

TEST(ViewModelClamp, MovesTheSourceBackInsideAtEachCorner) {
    RECT cases[][2] = {{{-10, -20, 190, 80}, {0, 0, 200, 100}},
                       {{900, 750, 1100, 850}, {800, 700, 1000, 800}},
                       {{-5, 750, 195, 850}, {0, 700, 200, 800}},
                       {{850, -1, 1050, 99}, {800, 0, 1000, 100}},
                       {{10, 20, 210, 120}, {10, 20, 210, 120}}};
    for (auto& [src, clamped] : cases) {
        ClampSourceRect(src, SIZE{1000, 800});
        EXPECT_EQ(src, clamped);
    }
}

TEST(Geometry, ArrowHeadsRoundAtTheStartTruncateAtTheEndAndScaleWithTheZoom) {
    using Head = std::array<POINT, 3>;
    const ArrowHeads one = DimensionArrowHeads({100, 50}, {200, 50}, 1.0);
    EXPECT_EQ(one.atStart, (Head{{{100, 50}, {110, 53}, {110, 48}}}));
    EXPECT_EQ(one.atEnd, (Head{{{200, 50}, {190, 52}, {190, 48}}}));
    // At zoom 0.5 they are five pixels long.
    const ArrowHeads half = DimensionArrowHeads({100, 50}, {200, 50}, 0.5);
    EXPECT_EQ(half.atStart, (Head{{{100, 50}, {105, 51}, {105, 50}}}));
    EXPECT_EQ(half.atEnd, (Head{{{200, 50}, {195, 51}, {195, 49}}}));
}

TEST(Geometry, LabelEscapementAndScaledFontHeight) {
    EXPECT_EQ(LabelEscapement(LineAngle({100, 200}, {100, 100})), 900);
    // Heights are truncated but never vanish; 0 is the default -13.
    EXPECT_EQ(ScaledFontHeight(-13, 0.5), -6);
    EXPECT_EQ(ScaledFontHeight(-13, 0.05), -1);
    EXPECT_EQ(ScaledFontHeight(20, 0.01), 1);
    EXPECT_EQ(ScaledFontHeight(0, 2.0), -26);
    EXPECT_EQ(ScaledFontHeight(INT32_MIN, 4.0), INT32_MIN);
}

// The label is drawn and hit about the midpoint, and the range finder centres
// on it: halves truncate toward zero, sums never overflow.
TEST(Geometry, DimensionMidpointHalvesTowardZero) {
    constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
    const std::array<POINT, 3> cases[] = {
        {POINT{0, 0}, POINT{5, 5}, POINT{2, 2}},
        {POINT{599, 400}, POINT{601, 403}, POINT{600, 401}},
        {POINT{-5, 0}, POINT{0, -3}, POINT{-2, -1}},
        {POINT{kMax, kMax}, POINT{kMax - 2, 1}, POINT{kMax - 1, kMax / 2 + 1}}};
    for (const auto& [a, b, mid] : cases)
        EXPECT_EQ(DimensionMidpoint(a, b), mid);
}

TEST(Geometry, EllipseBezierPointsRunOverTheTop) {
    std::vector<POINT> pts(13);
    EllipseBezierPoints(RECT{0, 0, 100, 50}, pts.data());
    const std::vector<POINT> expected = {{0, 25},   {0, 12},   {23, 0},   {50, 0},  {77, 0},
                                         {100, 12}, {100, 25}, {100, 38}, {77, 50}, {50, 50},
                                         {23, 50},  {0, 38},   {0, 25}};
    EXPECT_EQ(pts, expected);
}

TEST(Geometry, RotatePointsTurnsCounterClockwiseAboutTheCentreWithHalfUpRounding) {
    std::vector<POINT> pts{{10, 0}, {0, 10}};
    RotatePoints(std::atan2(1.0, 0.0), POINT{0, 0}, pts.data(), 2);
    // +x turns to screen-up; R(-10) = trunc(-9.5) = -9.
    EXPECT_EQ(pts, (std::vector<POINT>{{0, -9}, {10, 0}}));
    POINT p{110, 50};
    RotatePoints(M_PI, POINT{100, 50}, &p, 1);
    EXPECT_EQ(p, (POINT{90, 50}));
}

TEST(WrapNoteText, BreaksAsTheNoteShowsThem) {
    const auto cp = [](const char* utf8) { return cp950::FromQString(QString::fromUtf8(utf8)); };
    // Six pixels a byte: one-byte characters are 6 wide, two-byte ones 12, so
    // the wrap width of 60 holds five CJK characters.
    const auto sixPerByte = [](const char*, int len) { return 6 * len; };
    const struct {
        const char* text;
        std::vector<QByteArray> lines;
        int widest;
    } cases[] = {
        {"aaaa bbbb cc dd", {"aaaa bbbb ", "cc dd"}, 60},
        {"abcdefghijk", {"abcdefghij", "k"}, 60},
        {"中文abcdefghij", {cp("中文"), "abcdefghij"}, 60},
        {"ab d中文字句子", {cp("ab d中文字"), cp("句子")}, 60},
        {"aaaaaaaaaa b", {"aaaaaaaaaa", " b"}, 60},
        {"一二三四五六", {cp("一二三四五"), cp("六")}, 60},
        {"", {""}, 0},
        {"ab\r\ncd", {"ab", "cd"}, 12},
        {"ab\r\n", {"ab", ""}, 12},
        {"ab\r", {"ab", ""}, 12},                     // a lone CR at the end
        {"aaaaaaaaaa  x", {"aaaaaaaaaa", "  x"}, 60}, // an overflowing space starts the line
        // The break after "a " is not forgotten when the line ends; it lies
        // before the new line's start, so the next overflow splits plainly.
        {"a bbbbbbbbbbbbbbbbbbbbbb", {"a ", "bbbbbbbbbb", "bbbbbbbbbb", "bb"}, 60},
    };
    for (const auto& c : cases) {
        const WrappedText out = WrapNoteText(cp(c.text), sixPerByte, 60);
        EXPECT_EQ(out.lines, c.lines) << c.text;
        EXPECT_EQ(out.widest, c.widest) << c.text;
    }
    // A lead byte at the very end is one piece.
    const QByteArray cut("abc\xA4");
    EXPECT_EQ(WrapNoteText(cut, sixPerByte, 60).lines, std::vector<QByteArray>{cut});
}

} // namespace
