// Records as the shared drawing path puts them on a picture (the window and
// the export): note boxes, computed lengths and the reference's marks, areas
// and angles; and lengths, areas and angles computed again only for what
// changed.
#include "common/Pictures.h"
#include "common/RecordBuilders.h"
#include "document/PhotoInfo.h"
#include "drawing/AnnotationRenderer.h"
#include "drawing/ComputedLabels.h"
#include "drawing/ComputedShapes.h"
#include "drawing/RecordDrawing.h"
#include "drawing/RenderGeometry.h"

#include <QPainter>
#include <functional>
#include <tuple>

namespace {

constexpr QRgb kWhitePx = 0xFFFFFF, kBlackPx = 0x000000, kRedPx = 0xFF0000, kBluePx = 0x0000FF;

QRgb At(const QImage& img, int x, int y) {
    return img.pixel(x, y) & 0xFFFFFF;
}

// Pixels within `tolerance` of `colour` inside `area` (the whole image when null).
int CountNear(const QImage& img, QRgb colour, QRect area = QRect(), int tolerance = 0) {
    area = area.isNull() ? img.rect() : area.intersected(img.rect());
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            n += ColourDistance(QColor(At(img, x, y)), QColor(colour)) <= tolerance;
    return n;
}

using NoteBoxCase = std::tuple<const char*, float, size_t>; // text, zoom, lines
class RenderNoteBox : public ::testing::TestWithParam<NoteBoxCase> {};

// A yellow box holding the wrapped red lines with a margin of 5 x zoom all
// round, its 2-pixel black outline centred on the edge; the select tool
// picks the note inside that edge.
TEST_P(RenderNoteBox, HoldsTheLinesWithMargins) {
    const auto [text, zoom, lines] = GetParam();
    const InfoNote n = MakeNote({20, 20}, text);
    TextMeasurer m;
    const auto& layout = m.LayoutNote(ScaledLogFont(n.font, zoom), cp950::FieldBytes(n.text));
    ASSERT_EQ(layout.lines.size(), lines);
    const int margin = int(5 * zoom), l = int(20 * zoom), t = l;
    const int r = l + layout.widest + 2 * margin;
    const int b = t + int(lines) * layout.lineHeight + 2 * margin;
    EXPECT_TRUE(*text || r - l == 10) << "an empty note is ten pixels wide";
    const ViewMapping view{zoom, RECT{0, 0, 2000, 2000}, RECT{0, 0, 400, 300}};
    QImage img = Solid(400, 300);
    QPainter painter(&img);
    AnnotationRenderer renderer;
    renderer.DrawInfoNote(painter, n, false, &view);
    const NoteBox hit = renderer.NoteBoxOf(n, &view); // what the select tool picks
    EXPECT_EQ(QRect(QPoint(hit.left, hit.top), QPoint(hit.right, hit.bottom)),
              QRect(QPoint(l, t), QPoint(r, b)));
    EXPECT_EQ(CountNear(img, kWhitePx, QRect(QPoint(l - 1, t - 1), QPoint(r, b))), 0);
    EXPECT_EQ(CountNear(img, kWhitePx), 400 * 300 - (r - l + 2) * (b - t + 2));
    for (int x : {l - 1, l, r - 1, r})
        EXPECT_EQ(At(img, x, (t + b) / 2), kBlackPx) << x;
    EXPECT_EQ(CountNear(img, kRedPx, QRect(l - 1, t - 1, r - l + 2, margin + 1)), 0);
    EXPECT_EQ(CountNear(img, kRedPx) > 0, *text != 0);
}

INSTANTIATE_TEST_SUITE_P(Texts, RenderNoteBox,
                         ::testing::Values(NoteBoxCase{"", 1.0f, 1},
                                           NoteBoxCase{"一二三四五六七八九十一", 1.0f, 3},
                                           NoteBoxCase{"一二三四五六", 0.5f, 2}));

// Grey, so both the white and the black parts of the marks show.
QImage Draw(const PhotoInfo& info) {
    QImage img = Solid(600, 400, QColor(128, 128, 128));
    QPainter painter(&img);
    AnnotationRenderer renderer;
    DrawAllDimensions(renderer, painter, info, -1, nullptr);
    return img;
}

// An empty value shows its computed length only under a reference; the
// reference line carries a mark of white and black; a plane is a dashed
// outline, white over a black band, with a faint grid.
TEST(ReferenceRender, ComputedLengthsTheReferenceMarkAndThePlane) {
    PhotoInfo info;
    info.dimensions = {MakeDimension({50, 100}, {450, 100}, "800"),
                       MakeDimension({50, 300}, {250, 300})};
    const QRect label(60, 260, 180, 34), mark(140, 92, 20, 17); // above line 2; along line 1
    const QImage plain = Draw(info);
    info.reference.dimension = 0;
    const QImage marked = Draw(info);
    EXPECT_EQ(CountNear(plain, kBluePx, label), 0);
    EXPECT_GT(CountNear(marked, kBluePx, label), 40) << "≈400 ±3 in the dimension's colour";
    for (QRgb colour : {kWhitePx, kBlackPx}) {
        EXPECT_EQ(CountNear(plain, colour, mark, 40), 0);
        EXPECT_GT(CountNear(marked, colour, mark, 40), 3);
    }
    PhotoInfo plane;
    plane.reference.hasPlane = true;
    plane.reference.plane = {{{100, 50}, {500, 50}, {500, 350}, {100, 350}}, 1000, 750};
    const QImage img = Draw(plane);
    int light = 0; // rows of the left edge with white
    for (int y = 60; y < 340; ++y)
        light += CountNear(img, kWhitePx, QRect(99, y, 3, 1), 60) > 0;
    EXPECT_TRUE(light > 80 && light < 250) << light << ": dashed, not solid";
    EXPECT_GT(CountNear(img, kBlackPx, QRect(97, 60, 7, 280), 40), 280);
    // A grid line every 40 px across: faint, and the photo untouched between two.
    const QRgb onGrid = At(img, 140, 215);
    EXPECT_TRUE(onGrid != 0x808080u && onGrid != kWhitePx && onGrid != kBlackPx);
    EXPECT_EQ(At(img, 160, 215), 0x808080u);
}

struct Change {
    const char* what;
    std::function<void(PhotoInfo&)> apply;
    uint64_t computed; // lengths computed at the next update
};

// Computed lengths are computed again only for what changed: a dimension's
// ends or empty value, or the reference; a repaint computes nothing. (What
// they read is ComputedLength's test.)
TEST(ComputedLabels, ComputeWhatChangedOnly) {
    const Change changes[] = {
        {"repaint", [](PhotoInfo&) {}, 0},
        {"end moved", [](PhotoInfo& i) { i.dimensions[0].end.x += 40; }, 1},
        {"value emptied", [](PhotoInfo& i) { i.dimensions[2].value[0] = '\0'; }, 1},
        {"value typed", [](PhotoInfo& i) { i.dimensions[1].value[0] = '7'; }, 0},
        {"corner moved", [](PhotoInfo& i) { i.reference.plane.corners[2].y += 9; }, 2},
        {"no reference", [](PhotoInfo& i) { i.reference.hasPlane = false; }, 0},
    };
    for (const Change& change : changes) {
        PhotoInfo info;
        info.reference.hasPlane = true;
        info.reference.plane = {{{100, 50}, {500, 60}, {520, 350}, {90, 340}}, 1000, 750};
        info.dimensions = {MakeDimension({120, 100}, {300, 110}),
                           MakeDimension({200, 200}, {210, 300}),
                           MakeDimension({150, 300}, {400, 320}, "500")};
        ComputedLabels labels;
        labels.Update(info.reference, info.dimensions);
        const uint64_t before = labels.Computations();
        change.apply(info);
        labels.Update(info.reference, info.dimensions);
        EXPECT_EQ(labels.Computations() - before, change.computed) << change.what;
        EXPECT_EQ(labels.Label(0).isEmpty(), !info.reference.HasReference()) << change.what;
    }
}

AreaRecord MakeArea(std::vector<POINT> corners, COLORREF colour, bool opening = false,
                    const char* name = "") {
    AreaRecord area;
    area.colour = colour;
    area.corners = std::move(corners);
    area.opening = opening;
    area.name = name;
    return area;
}

// Areas and angles as the shared path draws them on a white picture: the
// translucent fill and the outline in the area's colour, an opening hatched
// (only whole colour or untouched pixels, some of each along a row), the
// label inside a U whose centroid lies in its notch, an angle's arc at the
// vertex and nothing filled inside it.
TEST(RenderShapes, FillOutlineHatchLabelAndArc) {
    const std::vector<POINT> u = {{20, 20},  {120, 20}, {120, 200}, {280, 200},
                                  {280, 20}, {380, 20}, {380, 280}, {20, 280}};
    AngleRecord angle;
    angle.colour = RGB(0, 128, 0);
    angle.arm1 = {250, 200};
    angle.vertex = {100, 200};
    angle.arm2 = {100, 50};
    const struct {
        const char* what;
        std::function<void(PhotoInfo&)> make;
        std::function<void(const QImage&)> check;
    } rows[] = {
        {"fill and outline",
         [](PhotoInfo& i) {
             i.areas = {MakeArea({{50, 50}, {150, 50}, {150, 150}, {50, 150}}, RGB(0, 0, 255))};
         },
         [](const QImage& img) {
             EXPECT_LE(ColourDistance(QColor(At(img, 58, 58)), QColor(183, 183, 255)), 6);
             EXPECT_EQ(At(img, 50, 100), kBluePx);
             EXPECT_EQ(At(img, 100, 150), kBluePx);
             EXPECT_EQ(At(img, 48, 100), kWhitePx);
         }},
        {"opening hatched",
         [](PhotoInfo& i) {
             i.areas = {
                 MakeArea({{200, 50}, {300, 50}, {300, 150}, {200, 150}}, RGB(255, 0, 0), true)};
         },
         [](const QImage& img) {
             const QRect row(204, 60, 92, 1);
             const int red = CountNear(img, kRedPx, row), white = CountNear(img, kWhitePx, row);
             EXPECT_EQ(red + white, row.width());
             EXPECT_TRUE(red >= 5 && red <= row.width() / 3) << red;
         }},
        {"label inside a U",
         [&u](PhotoInfo& i) { i.areas = {MakeArea(u, RGB(0, 0, 255), false, "U")}; },
         [&u](const QImage& img) {
             const QPolygon polygon = [&u] {
                 QPolygon p;
                 for (const POINT& c : u)
                     p << QPoint(c.x, c.y);
                 return p;
             }();
             int halo = 0, outside = 0;
             for (int y = 0; y < img.height(); ++y)
                 for (int x = 0; x < img.width(); ++x)
                     if (At(img, x, y) == 0xFFFF00u) {
                         ++halo;
                         outside += !polygon.containsPoint(QPoint(x, y), Qt::OddEvenFill);
                     }
             EXPECT_GT(halo, 20);
             EXPECT_EQ(outside, 0);
         }},
        {"angle arc", [&angle](PhotoInfo& i) { i.angles = {angle}; },
         [](const QImage& img) {
             // The arc's radius is 40 here (a third of 150, at most 40).
             EXPECT_GT(CountNear(img, 0x008000, QRect(126, 170, 5, 5)), 0);
             EXPECT_EQ(CountNear(img, 0x008000, QRect(110, 180, 10, 10)), 0);
             EXPECT_EQ(At(img, 180, 200), 0x008000u);
             EXPECT_EQ(At(img, 100, 120), 0x008000u);
         }},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        PhotoInfo info;
        row.make(info);
        QImage img = Solid(400, 300);
        AnnotationRenderer renderer;
        QPainter painter(&img);
        DrawAllRecords(renderer, painter, info, nullptr);
        painter.end();
        row.check(img);
    }
}

// Areas' and angles' figures are computed again only for what changed: any
// area's corners or opening mark (all areas at once), an angle's points, the
// reference, the unit; a repaint computes nothing.
TEST(ComputedShapes, ComputeWhatChangedOnly) {
    const Change changes[] = {
        {"repaint", [](PhotoInfo&) {}, 0},
        {"angle moved", [](PhotoInfo& i) { i.angles[0].vertex.x += 5; }, 1},
        {"corner moved", [](PhotoInfo& i) { i.areas[1].corners[0].y += 3; }, 1},
        {"opening marked", [](PhotoInfo& i) { i.areas[1].opening = true; }, 1},
        {"reference plane", [](PhotoInfo& i) { i.reference.hasPlane = true; }, 2},
        {"dimension added",
         [](PhotoInfo& i) {
             i.dimensions.push_back(MakeDimension({1, 1}, {9, 9}));
         },
         0},
    };
    for (const Change& change : changes) {
        PhotoInfo info;
        info.reference.plane = {{{100, 50}, {500, 60}, {520, 350}, {90, 340}}, 1000, 750};
        info.areas = {MakeArea({{120, 100}, {300, 110}, {280, 300}}, 0),
                      MakeArea({{150, 150}, {200, 150}, {200, 200}}, 0)};
        AngleRecord angle;
        angle.arm1 = {300, 100};
        angle.vertex = {200, 200};
        angle.arm2 = {100, 100};
        info.angles = {angle};
        ComputedShapes shapes;
        shapes.Update(info.reference, info.dimensions, info.areas, info.angles);
        const uint64_t before = shapes.Computations();
        change.apply(info);
        shapes.Update(info.reference, info.dimensions, info.areas, info.angles);
        EXPECT_EQ(shapes.Computations() - before, change.computed) << change.what;
        EXPECT_FALSE(shapes.AngleLabel(0).isEmpty()) << change.what;
    }
    ComputedShapes shapes;
    PhotoInfo info;
    info.areas = {MakeArea({{120, 100}, {300, 110}, {280, 300}}, 0)};
    shapes.Update(info.reference, info.dimensions, info.areas, info.angles);
    shapes.SetPing(!shapes.Ping());
    shapes.Update(info.reference, info.dimensions, info.areas, info.angles);
    EXPECT_EQ(shapes.Computations(), 2u) << "the unit changed";
}

} // namespace
