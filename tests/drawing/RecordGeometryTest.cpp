// The records' integer geometry (arrowheads, turning, midpoints, label
// escapement and font heights), note text wrapping,
// the text halo and far coordinates drawn at photo scale.
#include "common/Pictures.h"
#include "common/RecordBuilders.h"
#include "drawing/AnnotationRenderer.h"
#include "drawing/HaloText.h"
#include "drawing/RenderGeometry.h"
#include "drawing/WrapNoteText.h"

#include <QPainter>
#include <array>
#include <cmath>

namespace {

using Head = std::array<POINT, 3>;

TEST(Geometry, ArrowHeadsRoundAtTheStartTruncateAtTheEndAndScaleWithTheZoom) {
    const ArrowHeads one = DimensionArrowHeads({100, 50}, {200, 50}, 1.0);
    EXPECT_EQ(one.atStart, (Head{{{100, 50}, {110, 53}, {110, 48}}}));
    EXPECT_EQ(one.atEnd, (Head{{{200, 50}, {190, 52}, {190, 48}}}));
    // At zoom 0.5 they are five pixels long.
    EXPECT_EQ(DimensionArrowHeads({100, 50}, {200, 50}, 0.5).atEnd,
              (Head{{{200, 50}, {195, 51}, {195, 49}}}));
}

TEST(Geometry, RotatePointsTurnsCounterClockwiseAboutTheCentreWithHalfUpRounding) {
    std::vector<POINT> pts{{10, 0}, {0, 10}};
    RotatePoints(std::atan2(1.0, 0.0), POINT{0, 0}, pts.data(), 2);
    // +x turns to screen-up; R(-10) = trunc(-9.5) = -9.
    EXPECT_EQ(pts, (std::vector<POINT>{{0, -9}, {10, 0}}));
}

// Heights are truncated but never vanish; 0 is the default -13.
TEST(Geometry, ScaledFontHeight) {
    const int32_t heights[][3] = {{-13, 50, -6}, {-13, 5, -1}, {20, 1, 1}, {0, 200, -26}};
    for (const auto& [height, percent, scaled] : heights)
        EXPECT_EQ(ScaledFontHeight(height, percent / 100.0), scaled) << height << " " << percent;
}

// The label is drawn and hit about the midpoint, and the range finder centres
// on it: halves truncate toward zero, sums never overflow.
TEST(Geometry, DimensionMidpointHalvesTowardZero) {
    constexpr int32_t kMax = INT32_MAX;
    EXPECT_EQ(DimensionMidpoint({-5, 0}, {0, -3}), (POINT{-2, -1}));
    EXPECT_EQ(DimensionMidpoint({kMax, kMax}, {kMax - 2, 1}), (POINT{kMax - 1, kMax / 2 + 1}));
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
        {"ab d中文字句子", {cp("ab d中文字"), cp("句子")}, 60},
        {"", {""}, 0},
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
    const QByteArray cut("abc\xA4"); // a lead byte at the very end is one piece
    EXPECT_EQ(WrapNoteText(cut, sixPerByte, 60).lines, std::vector<QByteArray>{cut});
}

// The yellow halo reaches one pixel past the ink on every side.
TEST(HaloText, SurroundsTheInkOnAllFourSides) {
    TextMeasurer measurer;
    const TextMeasurer::FontInfo& font = measurer.Font(DefaultLogFont());
    const QString line = QStringLiteral("H");
    QImage image = Solid(60, 60);
    QPainter painter(&image);
    painter.setRenderHints(QPainter::RenderHints());
    PaintHaloText(painter, QPoint(20, 20),
                  HaloTextSpec{&font, &line, 1, font.height, 0, Qt::black});
    painter.end();
    QRect ink, all;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            ink |= (image.pixel(x, y) & 0xFFFFFF) == 0 ? QRect(x, y, 1, 1) : QRect();
            all |= (image.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF ? QRect(x, y, 1, 1) : QRect();
        }
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_EQ(all, ink.adjusted(-1, -1, 1, 1));
}

// A label's kept image stamps exactly the pixels drawing it directly makes,
// for the texts a label can hold (code page 950 and the computed labels'
// symbols): fallback fonts' glyphs (their line taller than the font's own),
// full-width forms, italic overhang, lines of a note, at any angle and size.
TEST(HaloText, ALabelImageStampsWhatDrawingDirectlyMakes) {
    struct Row {
        const char* face;
        int height;
        bool italic;
        QStringList lines;
    };
    const Row rows[] = {
        {"Arial", -13, false, {QStringLiteral("≈2431 ±12")}},
        {"Arial", -9, false, {QStringLiteral("客廳北牆 12.40 m² (3.75 坪)")}},
        {"Arial", -20, false, {QStringLiteral("畫面角 67.3° ＡＢ１２")}},
        {"Courier New", -20, false, {QStringLiteral("Ω∑√∞ 3.5 ←→")}},
        {"Times New Roman", -31, true, {QStringLiteral("ffjord Wyg|")}},
        {"新細明體",
         -15,
         false,
         {QStringLiteral("窗台 900"), QString(), QStringLiteral("x 2100 mm")}},
    };
    TextMeasurer measurer;
    for (const Row& row : rows) {
        LOGFONTA lf = DefaultLogFont();
        lf.lfHeight = row.height;
        lf.lfItalic = row.italic;
        SetFaceName(lf, QString::fromUtf8(row.face));
        const TextMeasurer::FontInfo& font = measurer.Font(lf);
        for (const int escapement : {0, 900, 1800, 2700, 123, 3377}) {
            const HaloTextSpec spec{
                &font,      row.lines.constData(), int(row.lines.size()), font.height,
                escapement, QColor(0, 0, 255)};
            QImage direct = Solid(400, 400), stamped = Solid(400, 400);
            {
                QPainter painter(&direct);
                painter.setRenderHints(QPainter::RenderHints());
                PaintHaloText(painter, QPoint(200, 200), spec);
            }
            HaloTextCache cache;
            HaloTextCache::Entry& entry = cache.Insert("label", SIZE{0, 0});
            {
                QPainter painter(&stamped);
                ASSERT_TRUE(cache.Draw(painter, QPoint(200, 200), entry, spec));
            }
            EXPECT_EQ(stamped, direct) << row.lines.join('/').toStdString() << " " << escapement;
        }
    }
}

// A dimension from far left to far right of the int32 range, drawn at photo
// scale, crosses the whole picture without wrapping.
TEST(PhotoScale, FarCoordinatesAreClipped) {
    QImage picture = Solid(300, 100);
    QPainter painter(&picture);
    AnnotationRenderer().DrawDimension(painter, MakeDimension({-2147483000, 90}, {2147483000, 90}),
                                       false, nullptr);
    painter.end();
    for (int x = 0; x < 300; ++x)
        EXPECT_EQ(picture.pixel(x, 90) & 0xFFFFFF, 0x0000FFu) << x;
}

} // namespace
