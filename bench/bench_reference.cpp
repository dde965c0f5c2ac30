// The accuracy table of lengths read through a reference plane, from
// synthetic views of known geometry (SyntheticViews.h), and
// the cost of one computed length against one scaled by a reference length.
//
// Run: build/bench_reference [--table-only]
// The table goes to standard output as Markdown: for each rectangle size
// (its width on the photo as a share of the photo's width) and viewing
// angle (between the line of sight and the plane's normal), the median and
// 90th-percentile error of lines in the plane, and how often the stated
// uncertainty covered the true error.

#include "SyntheticViews.h"
#include "document/ComputedLength.h"

#include <benchmark/benchmark.h>

#include <algorithm>
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

Cell Measure(double span, double angle, unsigned seed) {
    synthetic::ViewGenerator gen(seed, {span, span + 0.05, angle, angle + 5});
    std::vector<double> errors;
    int covered = 0;
    for (int v = 0; v < 200; ++v) {
        const std::optional<synthetic::View> view = gen.TryNext(2000);
        if (!view)
            break;
        const Quad rect = *view->ClickedCorners();
        const Quad clicked = OrderCorners(rect);
        const bool widthAcross = clicked[0] == rect[0] || clicked[0] == rect[2];
        for (int i = 0; i < 3; ++i) {
            const synthetic::PlaneLine line = synthetic::RandomLine(*view, gen);
            const ComputedLength c =
                PlaneLength(clicked, widthAcross ? view->width : view->height,
                            widthAcross ? view->height : view->width, line.a, line.b);
            if (!c.HasValue())
                continue;
            const double error = std::abs(c.length - line.trueLength);
            errors.push_back(100 * error / line.trueLength);
            covered += error <= c.uncertainty;
        }
    }
    Cell cell;
    cell.lines = static_cast<int>(errors.size());
    cell.median = Percentile(errors, 0.5);
    cell.p90 = Percentile(errors, 0.9);
    cell.covered = errors.empty() ? 0 : 100.0 * covered / errors.size();
    return cell;
}

void PrintTable() {
    const double spans[] = {0.1, 0.25, 0.5, 0.75};
    const double angles[] = {0, 20, 40, 60, 75};
    std::printf("| rectangle width / photo width |");
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
            const Cell c = Measure(s, a, seed++);
            if (c.lines == 0)
                std::printf(" (does not fit) |");
            else
                std::printf(" %.2f %% / %.2f %% / %.0f %% |", c.median, c.p90, c.covered);
        }
        std::printf("\n");
    }
    std::printf("\nEach cell: median error / 90th-percentile error / share of lines whose "
                "stated ± covered the true error; 200 views of 6000 x 4000 pixels, 3 lines "
                "each, corners and ends rounded to whole pixels.\n");
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

} // namespace

int main(int argc, char** argv) {
    PrintTable();
    if (argc > 1 && std::strcmp(argv[1], "--table-only") == 0)
        return 0;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
