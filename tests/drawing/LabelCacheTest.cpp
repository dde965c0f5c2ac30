// The label images kept between frames: the least recently used go first
// when a bound is reached, an image is never dropped while being made, and
// labels made by a worker on another core are the ones the window would
// make, handed over until the window's own steps reach them.
#include "common/Pictures.h"
#include "common/RecordBuilders.h"
#include "document/PhotoInfo.h"
#include "drawing/AnnotationRenderer.h"
#include "drawing/LabelPrefetch.h"
#include "drawing/RecordDrawing.h"

#include <QPainter>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

HaloTextCache::Entry Made(int side) {
    HaloTextCache::Entry e;
    e.image = Solid(side, side);
    e.imageTried = true;
    return e;
}

// Bounds of 3 entries or 1,000 bytes (a 10 x 10 image is 400 bytes).
TEST(LabelCache, DropsTheLeastRecentlyUsedFirstAndNeverTheLabelBeingKept) {
    const struct {
        const char* what;
        std::vector<std::pair<char, int>> steps; // key, image side (0: find)
        std::string kept;                        // keys held at the end
        size_t bytes;
    } rows[] = {
        {"a found one is used", {{'a', 1}, {'b', 1}, {'c', 1}, {'a', 0}, {'d', 1}}, "acd", 12},
        {"bytes", {{'a', 10}, {'b', 10}, {'c', 10}}, "bc", 800},
        {"one too large", {{'a', 10}, {'b', 10}, {'c', 20}}, "c", 1600},
        {"made again", {{'a', 10}, {'a', 5}}, "a", 100},
    };
    for (const auto& row : rows) {
        HaloTextCache cache(1000, 3);
        for (const auto& [key, side] : row.steps) {
            const std::string k(1, key);
            if (side == 0)
                cache.Find(k);
            else
                cache.Adopt(k, Made(side));
        }
        std::string kept;
        for (char key = 'a'; key <= 'd'; ++key)
            if (cache.Find(std::string(1, key)))
                kept += key;
        EXPECT_EQ(kept, row.kept) << row.what;
        EXPECT_EQ(cache.Bytes(), row.bytes) << row.what;
    }
    HaloTextCache cache;
    const HaloTextCache::Entry made = Made(4);
    cache.Adopt("x", made);
    EXPECT_EQ(cache.Find("x")->image.constBits(), made.image.constBits()); // shared, not copied
}

PhotoInfo Records() {
    PhotoInfo info;
    for (int i = 0; i < 40; ++i) {
        const POINT s{100 + (i * 337) % 1700, 100 + (i * 211) % 1200};
        info.dimensions.push_back(MakeDimension(s, {s.x + 150 + i * 7, s.y + (i * 97) % 300 - 150},
                                                QString::number(1000 + i * 37),
                                                RGB(i * 4, 40, 200)));
    }
    for (int i = 0; i < 5; ++i)
        info.notes.push_back(MakeNote({300 * i + 50, 200 + 150 * i},
                                      QStringLiteral("窗台 %1 mm, left of the door").arg(i)));
    return info;
}

// Every label but the selected records' is made ahead and handed over; the
// picture drawn with them equals one drawn by a renderer making its own. A
// run makes none of the records the window has drawn already.
TEST(LabelPrefetchTest, HandsOverTheLabelsTheWindowWouldMakeUntilItsStepsReachThem) {
    const auto info = std::make_shared<const PhotoInfo>(Records());
    const ViewMapping view{0.5f, RECT{0, 0, 2000, 1500}, RECT{0, 0, 1000, 750}};
    const auto draw = [&](AnnotationRenderer& renderer) {
        QImage image = Solid(1000, 750);
        QPainter painter(&image);
        DrawRecordSteps(renderer, painter, *info, 3, 1, &view, 0,
                        std::chrono::steady_clock::time_point::max());
        return image;
    };
    AnnotationRenderer window, own;
    LabelPrefetch prefetch;
    prefetch.Start(info, {}, view, QRect(0, 0, 1000, 750), 3, 1);
    prefetch.Wait();
    prefetch.HandTo(window);
    EXPECT_EQ(window.Labels().Images(), 40u - 1 + 5 - 1);
    EXPECT_EQ(draw(window), draw(own));

    // A run for dimensions the window has drawn already: the notes alone.
    AnnotationRenderer late;
    prefetch.Start(info, {}, ViewMapping{0.25f, view.src, view.dst}, QRect(0, 0, 1000, 750), -1, -1,
                   StepsThroughDimensions(*info));
    prefetch.Wait();
    prefetch.HandTo(late);
    EXPECT_EQ(late.Labels().Count(), 5u);

    // Only the records the drawn area shows: of the notes, the first (at 12
    // at this zoom; the next is at 87), its label made by the run before and
    // handed over again.
    AnnotationRenderer left;
    prefetch.Start(info, {}, ViewMapping{0.25f, view.src, view.dst}, QRect(0, 0, 60, 750), -1, -1,
                   StepsThroughDimensions(*info));
    prefetch.Wait();
    prefetch.HandTo(left);
    EXPECT_EQ(left.Labels().Count(), 1u);
}

} // namespace
