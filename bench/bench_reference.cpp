// The accuracy tables of lengths, areas and angles read through a reference
// plane, from synthetic views of known geometry (SyntheticViews.h), and the
// cost of one computed length, area or angle against one length scaled by a
// reference length.
//
// Run: build/bench_reference [--table-only]
// The tables go to standard output as Markdown: for each rectangle size
// (its width on the photo as a share of the photo's width) and viewing
// angle (between the line of sight and the plane's normal), the median and
// 90th-percentile error of lines in the plane (relative), of polygons of 3
// to 8 corners in the plane (relative) and of angles between two lines in
// the plane (degrees), and how often the stated uncertainty covered the
// true error.

#include "SyntheticViews.h"
#include "document/ComputedLength.h"
#include "document/PolygonGeometry.h"
#include "document/ShapeMeasures.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

struct Cell {
    double median = 0, p90 = 0, covered = 0;
    int lines = 0;
};

double Percentile(std::vector<double> v, double p) {
    if (v.empty())
        return 0;
    const size_t k = std::min(v.size() - 1, static_cast<size_t>(p * v.size()));
    std::nth_element(v.begin(), v.begin() + k, v.end());
    return v[k];
}

// One sample: the error of a measure against the truth (in the table's
// unit), and whether the stated uncertainty covered it; none when it could
// not be measured.
struct Sample {
    double error;
    bool covered;
};

// The view's reference as the window stores it: the rectangle's corners as
// clicked, in the order OrderCorners gives, the width along the first side.
// Every click's spread beyond rounding to a whole pixel: none for the
// tables; one pixel (normally distributed) for the check that the stated
// uncertainty is one standard deviation.
double g_clickSpread = 0;
std::mt19937 g_clickNoise(11);

QPointF Click(QPointF p) {
    if (g_clickSpread > 0) {
        std::normal_distribution<> off(0, g_clickSpread);
        p += QPointF(off(g_clickNoise), off(g_clickNoise));
    }
    return synthetic::View::Click(p);
}

POINT Clicked(QPointF p) {
    const QPointF c = Click(p);
    return POINT{static_cast<int32_t>(c.x()), static_cast<int32_t>(c.y())};
}

MeasureReference PlaneOf(const synthetic::View& view) {
    Quad rect = *view.ClickedCorners();
    for (QPointF& corner : rect)
        corner = Click(corner);
    const Quad clicked = OrderCorners(rect);
    const bool widthAcross = clicked[0] == rect[0] || clicked[0] == rect[2];
    MeasureReference reference;
    reference.hasPlane = true;
    for (int i = 0; i < 4; ++i)
        reference.plane.corners[i] =
            POINT{static_cast<int32_t>(clicked[i].x()), static_cast<int32_t>(clicked[i].y())};
    reference.plane.width = widthAcross ? view.width : view.height;
    reference.plane.height = widthAcross ? view.height : view.width;
    return reference;
}

std::optional<Sample> LineSample(const synthetic::View& view, synthetic::ViewGenerator& gen) {
    const ReferencePlane plane = PlaneOf(view).plane;
    const synthetic::PlaneLine line = synthetic::RandomLine(view, gen);
    const ComputedLength c = PlaneLength({ToPointF(plane.corners[0]), ToPointF(plane.corners[1]),
                                          ToPointF(plane.corners[2]), ToPointF(plane.corners[3])},
                                         plane.width, plane.height, line.a, line.b);
    if (!c.HasValue())
        return std::nullopt;
    const double error = std::abs(c.length - line.trueLength);
    return Sample{100 * error / line.trueLength, error <= c.uncertainty};
}

// A star-shaped polygon of 3 to 8 corners round a point of the rectangle,
// up to 60 % of its size across, every corner showing on the photo.
std::optional<Sample> AreaSample(const synthetic::View& view, synthetic::ViewGenerator& gen) {
    for (;;) {
        const int n = static_cast<int>(gen.Uniform(3, 9));
        const QPointF centre(gen.Uniform(0.2, 0.8) * view.width,
                             gen.Uniform(0.2, 0.8) * view.height);
        const double rx = gen.Uniform(0.15, 0.6) * view.width;
        const double ry = gen.Uniform(0.15, 0.6) * view.height;
        std::vector<double> turns;
        for (int i = 0; i < n; ++i)
            turns.push_back(gen.Uniform(0, 2 * M_PI));
        std::sort(turns.begin(), turns.end());
        Polygon plane;
        AreaRecord area;
        bool shows = true;
        for (double t : turns) {
            const double r = gen.Uniform(0.5, 1);
            plane.emplace_back(centre.x() + rx * r * std::cos(t),
                               centre.y() + ry * r * std::sin(t));
            const std::optional<QPointF> p = view.Project(plane.back().x(), plane.back().y());
            shows = shows && p && synthetic::View::OnPhoto(*p);
            if (shows)
                area.corners.push_back(Clicked(*p));
        }
        const double trueArea = std::abs(SignedArea(plane));
        if (!shows || trueArea < 0.01 * view.width * view.height)
            continue;
        const ComputedArea c = ComputeAreas(PlaneOf(view), {}, {area})[0];
        if (!c.HasValue())
            return std::nullopt;
        const double error = std::abs(c.gross - trueArea);
        return Sample{100 * error / trueArea, error <= c.grossUncertainty};
    }
}

// Two lines of the plane meeting at a point near the rectangle, each arm at
// least a fifth of its width long, at 10 to 170 degrees.
std::optional<Sample> AngleSample(const synthetic::View& view, synthetic::ViewGenerator& gen) {
    for (;;) {
        const double vx = gen.Uniform(0, 1) * view.width, vy = gen.Uniform(0, 1) * view.height;
        const double t1 = gen.Uniform(0, 2 * M_PI);
        const double opening = gen.Uniform(10, 170) * M_PI / 180;
        const double t2 = t1 + (gen.Uniform(0, 1) < 0.5 ? opening : -opening);
        const double l1 = gen.Uniform(0.2, 0.8) * view.width,
                     l2 = gen.Uniform(0.2, 0.8) * view.width;
        const std::optional<QPointF> a =
            view.Project(vx + l1 * std::cos(t1), vy + l1 * std::sin(t1));
        const std::optional<QPointF> v = view.Project(vx, vy);
        const std::optional<QPointF> b =
            view.Project(vx + l2 * std::cos(t2), vy + l2 * std::sin(t2));
        if (!a || !v || !b || !synthetic::View::OnPhoto(*a) || !synthetic::View::OnPhoto(*v) ||
            !synthetic::View::OnPhoto(*b))
            continue;
        const AngleRecord angle{0, Clicked(*a), Clicked(*v), Clicked(*b), LOGFONTA()};
        const ComputedAngle c = ComputeAngle(PlaneOf(view), {}, angle);
        if (!c.HasValue())
            return std::nullopt;
        const double error = std::abs(c.degrees - opening * 180 / M_PI);
        return Sample{error, error <= c.uncertainty};
    }
}

using Sampler = std::optional<Sample> (*)(const synthetic::View&, synthetic::ViewGenerator&);

Cell Measure(Sampler sampler, double span, double angle, unsigned seed) {
    synthetic::ViewGenerator gen(seed, {span, span + 0.05, angle, angle + 5});
    std::vector<double> errors;
    int covered = 0;
    for (int v = 0; v < 200; ++v) {
        const std::optional<synthetic::View> view = gen.TryNext(2000);
        if (!view)
            break;
        for (int i = 0; i < 3; ++i) {
            const std::optional<Sample> sample = sampler(*view, gen);
            if (!sample)
                continue;
            errors.push_back(sample->error);
            covered += sample->covered;
        }
    }
    Cell cell;
    cell.lines = static_cast<int>(errors.size());
    cell.median = Percentile(errors, 0.5);
    cell.p90 = Percentile(errors, 0.9);
    cell.covered = errors.empty() ? 0 : 100.0 * covered / errors.size();
    return cell;
}

void PrintTable(const char* title, Sampler sampler, const char* unit, const char* what) {
    const double spans[] = {0.1, 0.25, 0.5, 0.75};
    const double angles[] = {0, 20, 40, 60, 75};
    std::printf("%s\n\n| rectangle width / photo width |", title);
    for (double a : angles)
        std::printf(" %g-%g° |", a, a + 5);
    std::printf("\n|---|");
    for (size_t i = 0; i < std::size(angles); ++i)
        std::printf("---|");
    std::printf("\n");
    unsigned seed = 1;
    for (double s : spans) {
        std::printf("| %.2f-%.2f |", s, s + 0.05);
        for (double a : angles) {
            const Cell c = Measure(sampler, s, a, seed++);
            if (c.lines == 0)
                std::printf(" (does not fit) |");
            else
                std::printf(" %.2f%s / %.2f%s / %.0f %% |", c.median, unit, c.p90, unit, c.covered);
        }
        std::printf("\n");
    }
    std::printf("\nEach cell: median error / 90th-percentile error / share of %s whose "
                "stated ± covered the true error; 200 views of 6000 x 4000 pixels, 3 %s "
                "each, corners and ends rounded to whole pixels.\n\n",
                what, what);
}

void PrintTables() {
    PrintTable("Lengths (relative error)", LineSample, " %", "lines");
    PrintTable("Areas of 3 to 8 corners (relative error)", AreaSample, " %", "polygons");
    PrintTable("Angles (error in degrees)", AngleSample, "°", "angles");
    // Clicks a random pixel off: one standard deviation covers about 68 %.
    g_clickSpread = 1;
    double covered[2] = {};
    int counted[2] = {};
    unsigned seed = 100;
    for (double span : {0.25, 0.5, 0.75})
        for (double angle : {0, 20, 40, 60}) {
            int k = 0;
            for (Sampler sampler : {AreaSample, AngleSample}) {
                const Cell c = Measure(sampler, span, angle, seed++);
                covered[k] += c.covered * c.lines / 100;
                counted[k++] += c.lines;
            }
        }
    g_clickSpread = 0;
    std::printf("With every click a random pixel off (normally distributed, 1 px in each "
                "direction, then rounded), rectangles 0.25-0.80 of the photo wide, 0-65°: the "
                "stated ± covered %.0f %% of %d areas and %.0f %% of %d angles.\n",
                100 * covered[0] / counted[0], counted[0], 100 * covered[1] / counted[1],
                counted[1]);
}

void BM_ScaledLength(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(ScaledLength(QPointF(10, 10), QPointF(810, 30), 800,
                                              QPointF(5, 400), QPointF(905, 420)));
}
BENCHMARK(BM_ScaledLength);

void BM_PlaneLength(benchmark::State& state) {
    const Quad corners = {QPointF(1000, 500), QPointF(1600, 650), QPointF(1600, 2350),
                          QPointF(1000, 2500)};
    for (auto _ : state)
        benchmark::DoNotOptimize(
            PlaneLength(corners, 800, 2000, QPointF(1050, 900), QPointF(1550, 1900)));
}
BENCHMARK(BM_PlaneLength);

// Every computed length of a photo with 10,000 dimensions on the door's
// plane, as the window computes them when the plane changes: one length at
// a time, each through a mapping of its own (/0), or all through the one
// mapping of the photo's reference (/1).
void BM_AllPlaneLengths(benchmark::State& state) {
    MeasureReference reference;
    reference.hasPlane = true;
    reference.plane =
        ReferencePlane{{{1000, 500}, {1600, 650}, {1600, 2350}, {1000, 2500}}, 800, 2000};
    std::vector<Dimension> dims(10000);
    for (size_t i = 0; i < dims.size(); ++i) {
        const int32_t k = static_cast<int32_t>(i);
        dims[i].start = POINT{1050 + k % 500, 600 + k % 1700};
        dims[i].end = POINT{1550 - k % 450, 2300 - k % 1500};
    }
    double sum = 0;
    for (auto _ : state) {
        if (state.range(0) == 0) {
            for (size_t i = 0; i < dims.size(); ++i)
                sum += ComputeLength(reference, dims, i).length;
        } else {
            const std::optional<ReferenceMapping> mapping = ReferenceMapping::Of(reference, dims);
            for (const Dimension& dim : dims)
                sum += ComputeLength(*mapping, dim).length;
        }
    }
    benchmark::DoNotOptimize(sum);
}
BENCHMARK(BM_AllPlaneLengths)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// An area of `state.range(0)` corners on the door's plane, or (range 1) an
// area of 8 with two overlapping openings of 4 inside it.
void BM_PlaneArea(benchmark::State& state) {
    MeasureReference reference;
    reference.hasPlane = true;
    reference.plane =
        ReferencePlane{{{1000, 500}, {1600, 650}, {1600, 2350}, {1000, 2500}}, 800, 2000};
    std::vector<AreaRecord> areas(1);
    const int n = static_cast<int>(state.range(0));
    for (int i = 0; i < n; ++i)
        areas[0].corners.push_back(
            POINT{static_cast<int32_t>(1300 + 250 * std::cos(2 * M_PI * i / n)),
                  static_cast<int32_t>(1500 + 800 * std::sin(2 * M_PI * i / n))});
    if (state.range(1)) {
        for (int k = 0; k < 2; ++k) {
            AreaRecord opening;
            opening.opening = true;
            opening.corners = {{1200 + 50 * k, 1300 + 50 * k},
                               {1300 + 50 * k, 1300 + 50 * k},
                               {1300 + 50 * k, 1500 + 50 * k},
                               {1200 + 50 * k, 1500 + 50 * k}};
            areas.push_back(opening);
        }
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(ComputeAreas(reference, {}, areas));
}
BENCHMARK(BM_PlaneArea)->Args({4, 0})->Args({8, 0})->Args({8, 1})->Args({64, 0})->Args({512, 0});

void BM_PlaneAngle(benchmark::State& state) {
    MeasureReference reference;
    reference.hasPlane = true;
    reference.plane =
        ReferencePlane{{{1000, 500}, {1600, 650}, {1600, 2350}, {1000, 2500}}, 800, 2000};
    const AngleRecord angle{0, {1550, 700}, {1050, 600}, {1060, 2300}, LOGFONTA()};
    for (auto _ : state)
        benchmark::DoNotOptimize(ComputeAngle(reference, {}, angle));
}
BENCHMARK(BM_PlaneAngle);

} // namespace

int main(int argc, char** argv) {
    PrintTables();
    if (argc > 1 && std::strcmp(argv[1], "--table-only") == 0)
        return 0;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
