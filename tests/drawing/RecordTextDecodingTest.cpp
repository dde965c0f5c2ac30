// A record's text is decoded once, however often and at whatever scale it is
// measured, wrapped and drawn, and again when it changes.
#include "canvas/CanvasTestSupport.h"
#include "drawing/AnnotationRenderer.h"

#include <QPainter>
#include <algorithm>

namespace {

struct DecodeCase {
    const char* name;
    bool note;
    const char* text;
    const char* changed; // the same characters in another order
};

void PrintTo(const DecodeCase& c, std::ostream* os) {
    *os << c.name;
}

class RecordText : public ::testing::TestWithParam<DecodeCase> {};

// One record with `text` drawn by `r` at `zoom`.
QImage DrawRecord(AnnotationRenderer& r, bool note, const QString& text, float zoom) {
    const ViewMapping view{zoom, RECT{0, 0, int32_t(400 / zoom), int32_t(300 / zoom)},
                           RECT{0, 0, 400, 300}};
    QImage img = Solid(400, 300);
    QPainter painter(&img);
    if (note)
        r.DrawInfoNote(painter, MakeNote({40, 60}, text), false, &view);
    else
        r.DrawDimension(painter, MakeDimension({30, 120}, {170, 140}, text), false, &view);
    return img;
}

TEST_P(RecordText, IsDecodedOnceUntilItChanges) {
    const DecodeCase& c = GetParam();
    const QString text = QString::fromUtf8(c.text);
    const QString changed = QString::fromUtf8(c.changed);
    AnnotationRenderer r;
    // Characters are decoded once for every font: a record of the same
    // characters in another order makes them known.
    QString warm = text;
    std::reverse(warm.begin(), warm.end());
    for (float zoom : {1.0f, 2.0f, 0.5f})
        DrawRecord(r, c.note, warm, zoom);

    const uint64_t before = Cp950DecodeCount();
    const QImage first = DrawRecord(r, c.note, text, 1.0f);
    for (float zoom : {2.0f, 0.5f, 0.7f, 1.0f})
        DrawRecord(r, c.note, text, zoom);
    EXPECT_EQ(Cp950DecodeCount() - before, 1u);

    const uint64_t beforeChange = Cp950DecodeCount();
    const QImage after = DrawRecord(r, c.note, changed, 1.0f);
    DrawRecord(r, c.note, changed, 2.0f);
    EXPECT_EQ(Cp950DecodeCount() - beforeChange, 1u);
    // The changed text is drawn, not the one kept from before.
    EXPECT_NE(after, first);
    AnnotationRenderer fresh;
    EXPECT_EQ(after, DrawRecord(fresh, c.note, changed, 1.0f));
}

INSTANTIATE_TEST_SUITE_P(Records, RecordText,
                         ::testing::Values(DecodeCase{"DimensionChinese", false, "中文 8.5m",
                                                      "文中 5.8m"},
                                           DecodeCase{"DimensionAscii", false, "305.5", "350.5"},
                                           DecodeCase{"NoteChinese", true, "窗 左 牆", "左 窗 牆"},
                                           DecodeCase{"NoteMixed", true, "Wall 2 中", "中 2 Wall"}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
