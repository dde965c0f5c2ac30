// Records drawn all at once as the canvas composes a frame: the bounds that
// skip records away from the view never lose a drawn pixel, and labels over
// the frame's budget refine to exactly what drawing every record directly
// gives (how many frames it takes is bench_view's).
#include "common/Pictures.h"
#include "common/RecordBuilders.h"
#include "document/PhotoInfo.h"
#include "drawing/AnnotationRenderer.h"
#include "drawing/RecordDrawing.h"

#include <QPainter>
#include <chrono>

namespace {

// Records over 2000 x 1500 in every direction, in large and italic fonts,
// with wrapped notes, some reaching into the view from outside it. With the
// frame's budget spent, frames leave labels pending; frames drawn until none
// is pending end exactly as drawing each record directly, through zoom steps
// in and out.
TEST(LabelBudget, FramesOverBudgetRefineToTheDirectPicture) {
    PhotoInfo info;
    for (int i = 0; i < 60; ++i) {
        const POINT s{(i * 337) % 2000, (i * 211) % 1500};
        Dimension d = MakeDimension(s, {s.x + (i * 53) % 400 - 200, s.y + (i * 97) % 400 - 200},
                                    i % 2 ? "中文 8.5m" : "Wy/gj|", RGB(i * 4, 40, 200));
        d.font.lfHeight = -13 - i % 30;
        d.font.lfItalic = i % 3 == 1;
        NormalizeDimensionEnds(d);
        info.dimensions.push_back(d);
        if (i % 4 == 0)
            info.notes.push_back(MakeNote(s, "Kitchen wall, left of the window 中文字\r\nMMMM"));
    }
    // Clipped to the photo's place, dimension 3 and note 1 selected.
    const auto draw = [&](AnnotationRenderer& r, const ViewMapping& view, bool oneByOne) {
        QImage img = Solid(500, 400);
        QPainter p(&img);
        p.setClipRect(QRect(20, 20, 460, 360));
        for (size_t i = 0; oneByOne && i < info.dimensions.size(); ++i)
            r.DrawDimension(p, info.dimensions[i], i == 3, &view);
        for (size_t i = 0; oneByOne && i < info.notes.size(); ++i)
            r.DrawInfoNote(p, info.notes[i], i == 1, &view);
        if (!oneByOne) {
            DrawAllDimensions(r, p, info, 3, &view);
            DrawAllNotes(r, p, info, 1, &view);
        }
        return img;
    };
    AnnotationRenderer direct, budgeted;
    direct.SetImageCacheEnabled(false);
    for (const float zoom : {1.0f, 2.0f, 0.3f, 0.7f, 1.0f}) {
        const RECT src{700, 500, 700 + int32_t(460 / zoom), 500 + int32_t(360 / zoom)};
        const ViewMapping view{zoom, src, RECT{20, 20, 480, 380}};
        QImage got;
        for (int frames = 0; frames == 0 || (budgeted.LabelsPending() && frames < 1000); ++frames) {
            budgeted.SetLabelDeadline(std::chrono::steady_clock::now() - std::chrono::seconds(1));
            got = draw(budgeted, view, false);
            budgeted.ClearLabelDeadline();
        }
        EXPECT_FALSE(budgeted.LabelsPending()) << zoom;
        EXPECT_EQ(got, draw(direct, view, true)) << zoom;
    }
}

} // namespace
