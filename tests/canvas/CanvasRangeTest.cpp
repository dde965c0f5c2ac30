// Range-finder readings reaching the canvas over a real serial link (a
// pseudo-terminal pair plays the range finder).

#include "canvas/CPhotoCanvas.h"

#include "canvas/CanvasTestPhotos.h"
#include "common/PseudoTerminal.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr int kWaitMs = 5000;

template <typename Predicate> bool WaitUntil(Predicate done, int timeoutMs = kWaitMs) {
    QElapsedTimer clock;
    clock.start();
    QTimer wake; // looks at the deadline while the port is quiet
    wake.start(20);
    while (!done()) {
        if (clock.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

Dimension MakeDimension(int x0, int y0, int x1, int y1, const char* value) {
    Dimension dim;
    dim.start = POINT{x0, y0};
    dim.end = POINT{x1, y1};
    std::strncpy(dim.value, value, sizeof dim.value - 1);
    return dim;
}

class CanvasRangeTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(pty.IsValid());
        QObject::connect(&canvas, &CPhotoCanvas::canvasNotify,
                         [this](int code) { notified.push_back(code); });
        ASSERT_NE(canvas.m_rangeFinder.Open(pty.SlavePath(), &canvas), 0);
    }
    void ThreeDimensions() {
        canvas.m_info.dimensions = {MakeDimension(0, 0, 100, 0, "a"),
                                    MakeDimension(10, 20, 31, 41, "b"),
                                    MakeDimension(-5, -6, -8, -9, "c")};
    }
    std::string Value(size_t i) const { return canvas.m_info.dimensions[i].value; }
    // Sends `lines`, then a "next" key, and waits until the selection has
    // moved from `from` to `to`: everything before the key has been handled.
    ::testing::AssertionResult SendThenMove(const std::string& lines, int from, int to) {
        canvas.m_nSelDim = from;
        if (!pty.Send(lines + "K 8\n"))
            return ::testing::AssertionFailure() << "send failed";
        if (!WaitUntil([&] {
                return canvas.m_nSelDim == to && canvas.m_rangeFinder.WaitingEvents() == 0;
            }))
            return ::testing::AssertionFailure() << "selection is " << canvas.m_nSelDim;
        return ::testing::AssertionSuccess();
    }

    PseudoTerminal pty;
    CPhotoCanvas canvas;
    std::vector<int> notified;
};

} // namespace

TEST_F(CanvasRangeTest, ReadingsReplaceTheSelectedDimensionsValue) {
    ThreeDimensions();
    canvas.m_nSelDim = 1;
    ASSERT_TRUE(pty.Send("D 2345\n"));
    ASSERT_TRUE(WaitUntil([&] { return Value(1) == "2345"; }));
    ASSERT_TRUE(pty.Send("D -7\r\n"));
    ASSERT_TRUE(WaitUntil([&] { return Value(1) == "-7"; }));
    // The whole field is rewritten: nothing of "2345" is left behind "-7".
    const Dimension& dim = canvas.m_info.dimensions[1];
    EXPECT_EQ(std::string(dim.value, 3), std::string("-7\0", 3));
    EXPECT_EQ(Value(0), "a");
    EXPECT_EQ(Value(2), "c");
    EXPECT_EQ(canvas.m_nSelDim, 1);
    QCoreApplication::processEvents();
    EXPECT_TRUE(notified.empty()) << "a reading is not a selection change";
}

TEST_F(CanvasRangeTest, TheWidestReadingsFitTheValueField) {
    ThreeDimensions();
    canvas.m_nSelDim = 0;
    ASSERT_TRUE(pty.Send("D -2147483648\n"));
    ASSERT_TRUE(WaitUntil([&] { return Value(0) == "-2147483648"; }));
    ASSERT_TRUE(pty.Send("D 2147483647\n"));
    ASSERT_TRUE(WaitUntil([&] { return Value(0) == "2147483647"; }));
}

TEST_F(CanvasRangeTest, ReadingsWithoutAValidSelectionAreDroppedAndTheLinkReArmed) {
    ThreeDimensions();
    // -1, then an index past the list: neither takes the reading; the link
    // is re-armed after each, so the key behind them still arrives.
    ASSERT_TRUE(SendThenMove("D 99\n", -1, 0));
    ASSERT_TRUE(SendThenMove("D 98\n", 7, 2)); // (7 + 1) % 3
    for (size_t i = 0; i < 3; ++i)
        EXPECT_NE(Value(i).substr(0, 1), "9") << i;
}

TEST_F(CanvasRangeTest, MalformedLinesChangeNothingAndPartialLinesWait) {
    ThreeDimensions();
    canvas.m_nSelDim = 2;
    ASSERT_TRUE(pty.Send("D 12.5\nD 2345mm\nd 5\nD\nX 1\n"));
    ASSERT_TRUE(pty.Send("D 4"));
    QTest::qWait(100);
    EXPECT_EQ(Value(2), "c");
    ASSERT_TRUE(pty.Send("2\n"));
    ASSERT_TRUE(WaitUntil([&] { return Value(2) == "42"; }));
}

namespace {
struct NavigationCase {
    int selected;
    const char* key;
    int expected;
};
class Navigation : public CanvasRangeTest, public ::testing::WithParamInterface<NavigationCase> {};
} // namespace

TEST_P(Navigation, MovesTheSelectionAroundTheList) {
    const NavigationCase c = GetParam();
    ThreeDimensions();
    canvas.m_nSelDim = c.selected;
    ASSERT_TRUE(pty.Send(std::string("K ") + c.key + "\n"));
    ASSERT_TRUE(WaitUntil([&] { return !notified.empty(); }));
    EXPECT_EQ(canvas.m_nSelDim, c.expected);
    EXPECT_EQ(notified, std::vector<int>{CN_DIMENSION_SELECTED});
}

INSTANTIATE_TEST_SUITE_P(ThreeDimensions, Navigation,
                         ::testing::Values(NavigationCase{1, "8", 2}, NavigationCase{2, "8", 0},
                                           NavigationCase{0, "6", 2}, NavigationCase{2, "6", 1},
                                           // nothing selected: next is the first,
                                           // previous is n - 2
                                           NavigationCase{-1, "8", 0}, NavigationCase{-1, "6", 1},
                                           // any negative index counts as none
                                           NavigationCase{-9, "8", 0},
                                           NavigationCase{-2147483647 - 1, "6", 1},
                                           // an index past the list wraps back in
                                           NavigationCase{2147483647, "8", 2}));

TEST_F(CanvasRangeTest, OneDimensionIsAlwaysTheOneSelected) {
    canvas.m_info.dimensions = {MakeDimension(0, 0, 10, 10, "x")};
    for (const char* key : {"K 6\n", "K 8\n", "K 6\n"}) {
        canvas.m_nSelDim = -1;
        notified.clear();
        ASSERT_TRUE(pty.Send(key));
        ASSERT_TRUE(WaitUntil([&] { return !notified.empty(); })) << key;
        EXPECT_EQ(canvas.m_nSelDim, 0) << key;
    }
}

TEST_F(CanvasRangeTest, ABurstOfKeysIsHandledOneByOne) {
    ThreeDimensions();
    canvas.m_nSelDim = 1;
    // Every event waits for the re-arm of the one before.
    ASSERT_TRUE(pty.Send("K 8\nK 8\nK 8\nK 8\nK 6\n"));
    ASSERT_TRUE(WaitUntil([&] { return notified.size() == 5; }));
    EXPECT_EQ(canvas.m_nSelDim, 1); // 2, 0, 1, 2, then back to 1
    EXPECT_EQ(canvas.m_rangeFinder.WaitingEvents(), 0u);
}

TEST_F(CanvasRangeTest, KeysWithoutDimensionsClearTheSelectionAndPostNothing) {
    canvas.m_nSelDim = 3;
    // Ignored keys and empty-list moves all re-arm the link; a reading
    // behind them still finds the dimension added meanwhile.
    ASSERT_TRUE(pty.Send("K 8\nK 5\nK 6\n"));
    ASSERT_TRUE(WaitUntil([&] { return canvas.m_nSelDim == -1; }));
    ASSERT_TRUE(WaitUntil([&] { return canvas.m_rangeFinder.WaitingEvents() == 0; }));
    QTest::qWait(50);
    EXPECT_EQ(canvas.m_nSelDim, -1);
    canvas.m_info.dimensions = {MakeDimension(0, 0, 10, 10, "x")};
    canvas.m_nSelDim = 0;
    ASSERT_TRUE(pty.Send("D 5\n"));
    ASSERT_TRUE(WaitUntil([&] { return Value(0) == "5"; }));
    QCoreApplication::processEvents();
    EXPECT_TRUE(notified.empty());
}

TEST_F(CanvasRangeTest, NavigationCentresTheViewOnTheNewDimensionsMidpoint) {
    canvas.resize(200, 100);
    QImage photo(1000, 800, QImage::Format_RGB32);
    photo.fill(Qt::white);
    ShowPhotoOnCanvas(canvas, photo);
    // Midpoints (500, 0) clamped to the top, (600, 401) and (-6, -7) clamped
    // to the top left corner; odd sums halve toward zero.
    canvas.m_info.dimensions = {MakeDimension(400, 0, 600, 0, "a"),
                                MakeDimension(599, 400, 601, 403, "b"),
                                MakeDimension(-5, -6, -8, -9, "c")};
    canvas.m_nSelDim = 0;
    ASSERT_TRUE(pty.Send("K 8\n"));
    ASSERT_TRUE(WaitUntil([&] { return notified.size() == 1; }));
    const RECT& src = canvas.m_rcSrc;
    EXPECT_EQ(src.right - src.left, 200);
    EXPECT_EQ((src.left + src.right) / 2, 600);
    EXPECT_EQ((src.top + src.bottom) / 2, 401);
    ASSERT_TRUE(pty.Send("K 8\n"));
    ASSERT_TRUE(WaitUntil([&] { return notified.size() == 2; }));
    EXPECT_EQ(src.left, 0);
    EXPECT_EQ(src.top, 0);
}
