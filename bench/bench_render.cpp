// Drawing and hit-testing the records of a busy photo.
//
// RenderRecords: 1,000 dimensions and 200 notes of 40 characters drawn into
// an 870 × 756 picture (the canvas size), as one repaint does.
//   /Direct - every label drawn with five text outputs (no label images)
//   /Cold   - a new renderer each frame (first paint after a zoom change)
//   /Warm   - the same renderer frame after frame (panning, dragging, typing)
// PrepareLabels: the labels of 10,000 dimensions on a reference plane (each a
// computed length) and 1,000 notes made at a zoom not seen before, as the
// label worker does after a zoom step; the time per label is the counter.
//   /Z/0 - zoom Z percent, the dimensions in their order in the file
//   /Z/1 - in the order of their labels' angles, as the label worker makes them
// SelectClick: one select-tool click over 1,000 notes of 200 characters and
// 1,000 dimensions that all miss (the worst case: every record is tested).
//   /Cold - a new measurer per click (every note measured again)
//   /Warm - the measurer kept between clicks

#include "BenchRecords.h"
#include "canvas/HitTest.h"
#include "drawing/AnnotationRenderer.h"
#include "drawing/RenderGeometry.h"
#include "platform/Cp950.h"
#include "platform/LogFont.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <memory>
#include <random>
#include <vector>

namespace {

const char* const kWords[] = {"wall", "window", "door", "frame",  "beam", "floor", "tile",
                              "牆面", "窗戶",   "門框", "天花板", "地板", "插座"};

QByteArray MakeText(std::mt19937& rng, int characters) {
    QString text;
    std::uniform_int_distribution<int> pick(0, int(std::size(kWords)) - 1);
    while (text.size() < characters) {
        if (!text.isEmpty())
            text += QLatin1Char(' ');
        text += QString::fromUtf8(kWords[pick(rng)]);
    }
    return cp950::FromQString(text.left(characters));
}

struct Scene {
    std::vector<Dimension> dims;
    std::vector<InfoNote> notes;
};

Scene MakeScene(int dimCount, int noteCount, int noteChars, int width, int height) {
    std::mt19937 rng(12345);
    std::uniform_int_distribution<int> x(0, width - 1), y(0, height - 1), v(100, 9999);
    Scene s;
    for (int i = 0; i < dimCount; ++i) {
        Dimension d;
        d.colour = RGB(rng() % 256, rng() % 256, rng() % 256);
        d.start = POINT{x(rng), y(rng)};
        d.end = POINT{x(rng), y(rng)};
        d.font = DefaultLogFont();
        cp950::CopyToField(d.value, QByteArray::number(v(rng)));
        NormalizeDimensionEnds(d);
        s.dims.push_back(d);
    }
    for (int i = 0; i < noteCount; ++i) {
        InfoNote n = MakeNewNote(POINT{x(rng), y(rng)}, DefaultLogFont());
        cp950::CopyToField(n.text, MakeText(rng, noteChars));
        s.notes.push_back(n);
    }
    return s;
}

ViewMapping CanvasMapping() {
    ViewMapping view;
    view.zoom = 1.0f;
    view.src = RECT{0, 0, 870, 756};
    view.dst = RECT{0, 0, 870, 756};
    return view;
}

void Paint(AnnotationRenderer& r, QImage& target, const Scene& s, const ViewMapping& view) {
    QPainter p(&target);
    for (size_t i = 0; i < s.dims.size(); ++i)
        r.DrawDimension(p, s.dims[i], i == 3, &view);
    for (size_t i = 0; i < s.notes.size(); ++i)
        r.DrawInfoNote(p, s.notes[i], i == 5, &view);
}

enum Mode { Direct, Cold, Warm };

void BM_RenderRecords(benchmark::State& state) {
    const Mode mode = static_cast<Mode>(state.range(0));
    const Scene scene = MakeScene(1000, 200, 40, 870, 756);
    const ViewMapping view = CanvasMapping();
    QImage target(870, 756, QImage::Format_RGB32);
    auto renderer = std::make_unique<AnnotationRenderer>();
    renderer->SetImageCacheEnabled(mode != Direct);
    Paint(*renderer, target, scene, view); // fonts loaded once for every mode
    for (auto _ : state) {
        if (mode == Cold) {
            state.PauseTiming();
            renderer = std::make_unique<AnnotationRenderer>();
            state.ResumeTiming();
        }
        target.fill(Qt::gray);
        Paint(*renderer, target, scene, view);
        benchmark::DoNotOptimize(target.constBits());
    }
}
BENCHMARK(BM_RenderRecords)
    ->ArgName("direct0_cold1_warm2")
    ->Arg(Direct)
    ->Arg(Cold)
    ->Arg(Warm)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(7)
    ->ReportAggregatesOnly(true);

void BM_PrepareLabels(benchmark::State& state) {
    PhotoInfo info = ScatteredRecords(6000, 4000, 10000, 1000);
    OnReferencePlane(info, 6000, 4000);
    ViewMapping view;
    view.zoom = static_cast<float>(state.range(0)) / 100.0f;
    view.src = RECT{0, 0, 6000, 4000};
    view.dst = RECT{0, 0, int(6000 * view.zoom), int(4000 * view.zoom)};
    AnnotationRenderer fonts;
    fonts.Measurer().Font(DefaultLogFont());
    ComputedLabels computed;
    computed.Update(info.reference, info.dimensions);
    std::vector<size_t> order(info.dimensions.size());
    for (size_t d = 0; d < order.size(); ++d)
        order[d] = d;
    if (state.range(1) == 1)
        std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
            const auto angle = [&](size_t d) {
                return LabelEscapement(LineAngle(info.dimensions[d].start, info.dimensions[d].end));
            };
            return angle(a) < angle(b);
        });
    int64_t labels = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto renderer = std::make_unique<AnnotationRenderer>();
        state.ResumeTiming();
        for (const size_t d : order) {
            const QByteArray& text = computed.Label(d);
            renderer->PrepareDimension(info.dimensions[d], &view, text.isEmpty() ? nullptr : &text);
        }
        for (const InfoNote& note : info.notes)
            renderer->PrepareInfoNote(note, &view);
        labels += static_cast<int64_t>(info.dimensions.size() + info.notes.size());
    }
    state.counters["us_per_label"] =
        benchmark::Counter(static_cast<double>(labels) * 1e-6,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_PrepareLabels)
    ->ArgsProduct({{10, 25, 100}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

void BM_SelectClick(benchmark::State& state) {
    const Mode mode = static_cast<Mode>(state.range(0));
    const Scene scene = MakeScene(1000, 1000, 200, 4000, 3000);
    auto renderer = std::make_unique<AnnotationRenderer>();
    const POINT click{-500, -500}; // outside every record
    int hits = 0;
    for (const InfoNote& n : scene.notes) // warm the fonts for both modes
        hits += HitTestNote(n, click, *renderer, nullptr);
    for (auto _ : state) {
        if (mode == Cold) {
            state.PauseTiming();
            renderer = std::make_unique<AnnotationRenderer>();
            renderer->Measurer().Font(DefaultLogFont()); // the font itself stays loaded
            state.ResumeTiming();
        }
        for (const InfoNote& n : scene.notes)
            hits += HitTestNote(n, click, *renderer, nullptr);
        for (const Dimension& d : scene.dims)
            hits += HitTestDimension(d, click, 1.0f, renderer->Measurer());
    }
    benchmark::DoNotOptimize(hits);
}
BENCHMARK(BM_SelectClick)
    ->ArgName("cold1_warm2")
    ->Arg(Cold)
    ->Arg(Warm)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(7)
    ->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    InstallFontSubstitutes();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
