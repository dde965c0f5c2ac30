// View benchmarks: the first frame after every zoom step (in, then out) and
// every frame of a pan drag at every zoom step, on a 24-megapixel photo with
// five record sets side by side in the same run: none, a typical room (20
// dimensions, 5 notes), a crowded one (1,000 dimensions, 200 notes), and on a
// reference plane with every label a computed length, 1,000 + 200 ("plane")
// and 10,000 + 1,000 ("plane10k"), and the plane's set with 100 areas, each
// labelled with its measured area ("areas"). The canvases are timed in turn at each
// step, so all see the same machine; counters are medians and worst frames in
// milliseconds, the crowded canvas's ratio over the empty one, the plane's
// over the crowded one (median and worst), and the frames each canvas needs
// after the last input until no label is pending (worst over the steps).
// Inputs are generated here.
#include "BenchGradientPhoto.h"
#include "BenchRecords.h"
#include "canvas/CPhotoCanvas.h"
#include "common/CanvasAccess.h"
#include "document/PhotoInfo.h"
#include "platform/LogFont.h"

#include <QApplication>
#include <QImageWriter>
#include <QPainter>
#include <QPixmap>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <time.h>
#include <vector>

namespace {

constexpr int kPhotoW = 6000;
constexpr int kPhotoH = 4000;
const QSize kCanvasSize(870, 756);
QString g_photoPath;

struct Figures {
    std::vector<double> ms;
    void Add(double v) { ms.push_back(v); }
    double Median() const {
        std::vector<double> v = ms;
        std::sort(v.begin(), v.end());
        const size_t n = v.size();
        return n == 0 ? 0 : n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
    }
    double Worst() const { return ms.empty() ? 0 : *std::max_element(ms.begin(), ms.end()); }
};

// The three canvases, each with its own caches.
struct Canvases {
    static constexpr int kCount = 6;
    static constexpr std::array<const char*, kCount> kNames = {"none",  "room",     "crowded",
                                                               "plane", "plane10k", "areas"};
    static constexpr int kCrowded = 2;
    static constexpr int kPlane = 3;
    static constexpr int kAreas = 5;
    std::array<std::unique_ptr<CPhotoCanvas>, kCount> canvas;
    QImage target{kCanvasSize, QImage::Format_RGB32};

    Canvases() {
        const std::array<std::pair<int, int>, kCount> sizes = {
            {{0, 0}, {20, 5}, {1000, 200}, {1000, 200}, {10000, 1000}, {1000, 200}}};
        for (int i = 0; i < kCount; ++i) {
            canvas[i] = std::make_unique<CPhotoCanvas>();
            canvas[i]->resize(kCanvasSize);
            CanvasAccess::LoadPhoto(*canvas[i], g_photoPath);
            canvas[i]->Model().Records() =
                ScatteredRecords(kPhotoW, kPhotoH, sizes[i].first, sizes[i].second);
            if (i >= kPlane)
                OnReferencePlane(canvas[i]->Model().Records(), kPhotoW, kPhotoH);
            if (i == kAreas)
                AddScatteredAreas(canvas[i]->Model().Records(), kPhotoW, kPhotoH, 100);
        }
    }
    // One screen frame of canvas i (its paint event, labels within the
    // frame's budget): wall milliseconds, and this thread's CPU milliseconds
    // in `cpu` (photo scaling may run on Qt's pool).
    double Frame(int i, double* cpu = nullptr) {
        using Clock = std::chrono::steady_clock;
        const double c0 = ThreadCpuMs();
        const auto t0 = Clock::now();
        const QPixmap frame = canvas[i]->grab();
        if (cpu)
            *cpu = ThreadCpuMs() - c0;
        return std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
    }
    static double ThreadCpuMs() {
        timespec ts{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
        return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
    }
    // Zooms every canvas out to the smallest step with its frames drawn
    // there until they settle.
    void ToSmallest() {
        for (int i = 0; i < kCount; ++i) {
            while (canvas[i]->Zoom() > kZoomSteps[0])
                canvas[i]->SetZoom(ZoomOut);
            Figures ignored;
            Frame(i);
            Refine(i, ignored);
        }
    }
    // Frames until no label is pending (at most kMaxRefine: a figure of
    // kMaxRefine means not settled); their wall times go to `refine`, their
    // number to `settle` (null: not kept).
    static constexpr int kMaxRefine = 100;
    void Refine(int i, Figures& refine, Figures* settle = nullptr) {
        int n = 0;
        for (; n < kMaxRefine && !canvas[i]->PictureSettled(); ++n)
            refine.Add(Frame(i));
        if (settle)
            settle->Add(n);
    }
};

using Table = std::array<Figures, Canvases::kCount>;

// Frames to settle after the last input, worst over the steps, per canvas
// with many records.
void ReportSettle(benchmark::State& state, const Table& settle) {
    for (int i = Canvases::kCrowded; i < Canvases::kCount; ++i)
        state.counters[std::string(Canvases::kNames[i]) + "_settle_n"] = settle[i].Worst();
}

// Wall and CPU medians and worst frames per canvas.
void Report(benchmark::State& state, const Table& wall, const Table& cpu) {
    for (int i = 0; i < Canvases::kCount; ++i) {
        const std::string name = Canvases::kNames[i];
        state.counters[name + "_med_ms"] = wall[i].Median();
        state.counters[name + "_worst_ms"] = wall[i].Worst();
        state.counters[name + "_cpu_med"] = cpu[i].Median();
        state.counters[name + "_cpu_worst"] = cpu[i].Worst();
    }
    state.counters["crowded_over_none"] = wall[2].Median() / std::max(wall[0].Median(), 1e-6);
    const Figures& plane = wall[Canvases::kPlane];
    const Figures& crowded = wall[Canvases::kCrowded];
    state.counters["plane_over_crowded"] = plane.Median() / std::max(crowded.Median(), 1e-6);
    state.counters["plane_over_crowded_worst"] = plane.Worst() / std::max(crowded.Worst(), 1e-6);
    const Figures& areas = wall[Canvases::kAreas];
    state.counters["areas_over_plane"] = areas.Median() / std::max(plane.Median(), 1e-6);
    state.counters["areas_over_plane_worst"] = areas.Worst() / std::max(plane.Worst(), 1e-6);
}

// The frames that made the labels a first frame left pending.
void ReportRefine(benchmark::State& state, const Figures& refine) {
    state.counters["crowded_refine_n"] = static_cast<double>(refine.ms.size());
    state.counters["crowded_refine_worst"] = refine.Worst();
}

void Time(Canvases& c, int i, Table& wall, Table& cpu) {
    double cpuMs = 0;
    wall[i].Add(c.Frame(i, &cpuMs));
    cpu[i].Add(cpuMs);
}

// The first frame after each zoom step, through every step in and back out,
// label caches as the previous step left them (emptied once per round).
void BM_ZoomSweep(benchmark::State& state) {
    Canvases c;
    Table wall, cpu, settle, first;
    Figures refine;
    constexpr int kSteps = static_cast<int>(std::size(kZoomSteps));
    for (auto _ : state) {
        for (auto& canvas : c.canvas)
            CanvasAccess::Renderer(*canvas).ClearCaches();
        c.ToSmallest();
        for (int s = 0; s < 2 * (kSteps - 1); ++s) {
            const int command = s < kSteps - 1 ? ZoomIn : ZoomOut;
            for (int i = 0; i < Canvases::kCount; ++i) {
                c.canvas[i]->SetZoom(command);
                Time(c, i, wall, cpu);
                // The 0.1 -> 0.2 step right after the caches were emptied.
                if (s == 0)
                    first[i].Add(wall[i].ms.back());
            }
            // Frames until no label is pending, as after a pause; the
            // crowded canvas's times are reported, every canvas's number.
            Figures others;
            for (int i = 0; i < Canvases::kCount; ++i)
                c.Refine(i, i == Canvases::kCrowded ? refine : others, &settle[i]);
        }
    }
    Report(state, wall, cpu);
    ReportRefine(state, refine);
    ReportSettle(state, settle);
    for (int i = Canvases::kCrowded; i < Canvases::kCount; ++i)
        state.counters[std::string(Canvases::kNames[i]) + "_first_step_ms"] = first[i].Worst();
}

// Every frame of a 30 x 20-pixel drag (ten moves of 3 x 2 pixels, then back)
// at zoom step state.range(0), caches warm from a first frame there; with
// `settled`, also from the frames that made the labels it left pending (a
// drag begun a moment after the zoom step), else those are made during the
// drag.
void PanDrag(benchmark::State& state, bool settled) {
    static std::unique_ptr<Canvases> c;
    if (!c)
        c = std::make_unique<Canvases>();
    c->ToSmallest();
    for (auto& canvas : c->canvas) {
        for (int s = 0; s < state.range(0); ++s)
            canvas->SetZoom(ZoomIn);
        canvas->CentreOn(POINT{kPhotoW / 2, kPhotoH / 2});
    }
    Table wall, cpu;
    Figures refine;
    for (int i = 0; i < Canvases::kCount; ++i) {
        c->Frame(i);
        if (settled)
            c->Refine(i, refine);
    }
    Table settle;
    for (auto _ : state) {
        for (int move = 0; move < 20; ++move) {
            const int sign = move < 10 ? 1 : -1;
            for (int i = 0; i < Canvases::kCount; ++i) {
                CPhotoCanvas& canvas = *c->canvas[i];
                CanvasAccess::LastPoint(canvas) = POINT{400, 400};
                canvas.PanBy(POINT{400 + 3 * sign, 400 + 2 * sign});
                Time(*c, i, wall, cpu);
            }
        }
        // The frames after the drag's last move until no label is pending
        // (their times are kept out of the drag's figures).
        Figures after;
        for (int i = 0; i < Canvases::kCount; ++i)
            c->Refine(i, after, &settle[i]);
    }
    state.counters["zoom"] = kZoomSteps[state.range(0)];
    Report(state, wall, cpu);
    ReportSettle(state, settle);
}

void BM_PanDrag(benchmark::State& state) {
    PanDrag(state, false);
}

void BM_PanDragSettled(benchmark::State& state) {
    PanDrag(state, true);
}

} // namespace

BENCHMARK(BM_ZoomSweep)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_PanDrag)
    ->DenseRange(0, static_cast<int>(std::size(kZoomSteps)) - 1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK(BM_PanDragSettled)
    ->DenseRange(0, static_cast<int>(std::size(kZoomSteps)) - 1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

int main(int argc, char** argv) {
    return RunOnGradientPhoto(argc, argv, kPhotoW, kPhotoH, &g_photoPath);
}
