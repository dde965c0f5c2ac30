// Range-finder readings reaching the canvas over a real serial link (a
// pseudo-terminal pair plays the range finder).
#include "CanvasTestSupport.h"
#include "common/PseudoTerminal.h"

#include <QTest>
#include <string>
#include <vector>

namespace {

class CanvasRangeTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(pty.IsValid());
        QObject::connect(&canvas, &CPhotoCanvas::canvasNotify,
                         [this](int code) { notified.push_back(code); });
        ASSERT_NE(canvas.m_rangeFinder.Open(pty.SlavePath(), &canvas), 0);
    }
    // Dimensions valued "a", "b", "c", ...
    void Dimensions(int n) {
        for (int i = 0; i < n; ++i)
            canvas.m_info.dimensions.push_back(
                MakeDimension({10 * i, 0}, {10 * i + 5, 9}, std::string(1, char('a' + i)).c_str()));
    }
    std::string Values() const {
        std::string all;
        for (const Dimension& d : canvas.m_info.dimensions)
            all += std::string(d.value) + "|";
        return all;
    }
    template <typename Predicate> bool SendAndWait(const std::string& lines, Predicate done) {
        return pty.Send(lines) && QTest::qWaitFor(done, 5000);
    }
    bool Settled() { return canvas.m_rangeFinder.WaitingEvents() == 0; }

    PseudoTerminal pty;
    CPhotoCanvas canvas;
    std::vector<int> notified;
};

TEST_F(CanvasRangeTest, ReadingsRewriteTheSelectedDimensionsWholeValue) {
    Dimensions(3);
    canvas.m_nSelDim = 1;
    ASSERT_TRUE(SendAndWait("D 2345\n", [&] { return Values() == "a|2345|c|"; }));
    ASSERT_TRUE(SendAndWait("D -7\r\n", [&] { return Values() == "a|-7|c|"; }));
    EXPECT_EQ(std::string(canvas.m_info.dimensions[1].value, 3), std::string("-7\0", 3));
    ASSERT_TRUE(SendAndWait("D -2147483648\n", [&] { return Values() == "a|-2147483648|c|"; }));
    QTest::qWait(20);
    EXPECT_TRUE(notified.empty()) << "a reading is not a selection change";
}

// Every event, used or not, re-arms the link, so the events behind it arrive.
TEST_F(CanvasRangeTest, UnusableEventsAreDropped) {
    canvas.m_nSelDim = 3; // keys with no dimensions clear the selection, post nothing
    ASSERT_TRUE(
        SendAndWait("K 8\nK 5\nK 6\n", [&] { return canvas.m_nSelDim == -1 && Settled(); }));
    QTest::qWait(50);
    EXPECT_TRUE(notified.empty());
    // Readings with no selection, or one past the list, are dropped.
    Dimensions(3);
    ASSERT_TRUE(SendAndWait("D 99\nK 8\n", [&] { return canvas.m_nSelDim == 0 && Settled(); }));
    canvas.m_nSelDim = 7;
    ASSERT_TRUE(SendAndWait("D 98\nK 8\n", [&] { return canvas.m_nSelDim == 2 && Settled(); }));
    EXPECT_EQ(Values(), "a|b|c|");
}

TEST_F(CanvasRangeTest, KeysMoveTheSelectionAroundTheList) {
    // dimensions, selected, key (8: next, 6: previous), selected after. With
    // nothing selected (any negative index) next is the first, previous n - 2;
    // an index past the list wraps back in; a single dimension is always the one.
    const int cases[][4] = {
        {3, 1, 8, 2},  {3, 2, 8, 0},         {3, 0, 6, 2},         {3, 2, 6, 1},  {3, -1, 8, 0},
        {3, -1, 6, 1}, {3, INT32_MIN, 6, 1}, {3, INT32_MAX, 8, 2}, {1, -1, 6, 0}, {1, 0, 8, 0}};
    for (const auto& c : cases) {
        canvas.m_info.dimensions.clear();
        Dimensions(c[0]);
        canvas.m_nSelDim = c[1];
        notified.clear();
        const std::string key = "K " + std::to_string(c[2]) + "\n";
        ASSERT_TRUE(SendAndWait(key, [&] { return !notified.empty() && Settled(); }));
        EXPECT_EQ(canvas.m_nSelDim, c[3]) << key << " from " << c[1] << " of " << c[0];
        EXPECT_EQ(notified, std::vector<int>{CN_DIMENSION_SELECTED});
    }
}

TEST_F(CanvasRangeTest, NavigationCentresTheViewOnTheNewDimensionsMidpoint) {
    canvas.resize(200, 100);
    ShowPhotoOnCanvas(canvas, Solid(1000, 800));
    // The midpoint (600, 401): odd sums halve toward zero.
    canvas.m_info.dimensions = {MakeDimension({0, 0}, {5, 5}),
                                MakeDimension({599, 400}, {601, 403})};
    canvas.m_nSelDim = 0;
    ASSERT_TRUE(SendAndWait("K 8\n", [&] { return notified.size() == 1; }));
    EXPECT_EQ(canvas.m_rcSrc, (RECT{500, 351, 700, 451}));
}

} // namespace
