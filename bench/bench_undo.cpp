// The undo history: undo and redo of one all-dimension colour change on
// 10,000 dimensions (each a colour of its own before, the worst case for the
// step), timed one at a time, against the plain loop that sets the 10,000
// colours (the edit itself) measured in the same run; and the memory the
// history holds after 1,000 steps on a document of 1,000 dimensions and 1,000
// notes, against the document's own records, counted by a global
// operator new / delete hook (bytes of the heap blocks actually held).
#include "BenchRecords.h"
#include "canvas/CPhotoCanvas.h"
#include "editing/EditHistory.h"
#include "platform/LogFont.h"

#include <QApplication>
#include <QRandomGenerator>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <malloc.h>
#include <new>

// --- Heap bytes held, counted on every allocation of the process ---
namespace {
std::atomic<long long> g_heldBytes{0};
}

void* operator new(std::size_t size) {
    void* p = std::malloc(size ? size : 1);
    if (!p)
        throw std::bad_alloc();
    g_heldBytes += static_cast<long long>(malloc_usable_size(p));
    return p;
}
void* operator new[](std::size_t size) {
    return operator new(size);
}
void operator delete(void* p) noexcept {
    if (!p)
        return;
    g_heldBytes -= static_cast<long long>(malloc_usable_size(p));
    std::free(p);
}
void operator delete[](void* p) noexcept {
    operator delete(p);
}
void operator delete(void* p, std::size_t) noexcept {
    operator delete(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    operator delete(p);
}

namespace {

constexpr int kPhotoW = 6000;
constexpr int kPhotoH = 4000;
constexpr int kManyDimensions = 10000;

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point from) {
    return std::chrono::duration<double>(Clock::now() - from).count();
}

// 10,000 dimensions, each with a colour of its own, and one all-dimension
// colour change recorded as the program records it.
struct AllColoursFixture {
    CPhotoCanvas canvas;
    AllColoursFixture() {
        QRandomGenerator rng(13);
        for (int i = 0; i < kManyDimensions; ++i) {
            Dimension d = ScatteredDimension(rng, i, kPhotoW, kPhotoH);
            d.colour = static_cast<COLORREF>(i * 97);
            canvas.Model().Records().dimensions.push_back(d);
        }
        auto before =
            ValueRuns<COLORREF>::Of(canvas.Model().Records().dimensions, &Dimension::colour);
        for (Dimension& dim : canvas.Model().Records().dimensions)
            dim.colour = RGB(0, 128, 255);
        canvas.Model().History().AllColoursChanged(std::move(before));
    }
};

AllColoursFixture& AllColours() {
    static AllColoursFixture fixture;
    return fixture;
}

double Max(const std::vector<double>& v) {
    return v.empty() ? 0.0 : *std::max_element(v.begin(), v.end());
}

// One undo (or redo) per repetition, so that the statistics are of single
// steps: median and worst ("max").
void BM_UndoAllDimensionColour(benchmark::State& state) {
    AllColoursFixture& f = AllColours();
    for (auto _ : state) {
        const auto start = Clock::now();
        f.canvas.Undo();
        state.SetIterationTime(Seconds(start));
        f.canvas.Redo();
    }
    if (f.canvas.Model().Records().dimensions[1].colour != RGB(0, 128, 255))
        state.SkipWithError("redo did not give the colour back");
}

void BM_RedoAllDimensionColour(benchmark::State& state) {
    AllColoursFixture& f = AllColours();
    for (auto _ : state) {
        f.canvas.Undo();
        const auto start = Clock::now();
        f.canvas.Redo();
        state.SetIterationTime(Seconds(start));
    }
    if (f.canvas.Model().Records().dimensions[1].colour != RGB(0, 128, 255))
        state.SkipWithError("redo did not give the colour back");
}

// Baseline: the edit itself, the loop that sets every dimension's colour.
void BM_SetAllDimensionColoursBaseline(benchmark::State& state) {
    AllColoursFixture& f = AllColours();
    COLORREF colour = 1;
    for (auto _ : state) {
        const auto start = Clock::now();
        for (Dimension& dim : f.canvas.Model().Records().dimensions)
            dim.colour = colour;
        benchmark::DoNotOptimize(f.canvas.Model().Records().dimensions.data());
        state.SetIterationTime(Seconds(start));
        colour ^= 1;
    }
    for (Dimension& dim : f.canvas.Model().Records().dimensions)
        dim.colour = RGB(0, 128, 255);
}

// --- History memory ---

// 1,000 steps of everyday editing, recorded as the program records them:
// each kind of step in turn, typing and nudges as runs of several keys.
void EverydaySteps(PhotoInfo& info, EditHistory& history, QRandomGenerator& rng) {
    for (int i = 0; i < 1000; ++i) {
        const int d = static_cast<int>(rng.bounded(static_cast<quint32>(info.dimensions.size())));
        const int n = static_cast<int>(rng.bounded(static_cast<quint32>(info.notes.size())));
        Dimension& dim = info.dimensions[static_cast<size_t>(d)];
        InfoNote& note = info.notes[static_cast<size_t>(n)];
        switch (i % 10) {
        case 0: // five arrow presses
            for (int k = 0; k < 5; ++k) {
                const Dimension before = dim;
                ++dim.start.x;
                ++dim.end.x;
                history.DimensionChanged(d, before, EditRun::Nudge);
            }
            history.EndRun();
            break;
        case 1: { // a note dragged
            const InfoNote before = note;
            note.anchor.y += 17;
            history.NoteChanged(n, before);
            break;
        }
        case 2: // a value typed, four keys
            for (int k = 0; k < 4; ++k) {
                const Dimension before = dim;
                dim.value[k] = static_cast<char>('0' + (i / 10 + k) % 10);
                dim.value[k + 1] = '\0';
                history.DimensionChanged(d, before, EditRun::Value);
            }
            history.EndRun();
            break;
        case 3: // a note's text typed, 40 keys
            for (int k = 0; k < 40; ++k) {
                const InfoNote before = note;
                note.text[k] = static_cast<char>('a' + k % 26);
                note.text[k + 1] = '\0';
                history.NoteChanged(n, before, EditRun::Text);
            }
            history.EndRun();
            break;
        case 4: { // one dimension's colour
            const Dimension before = dim;
            dim.colour = static_cast<COLORREF>(rng.generate() & 0xFFFFFF);
            history.DimensionChanged(d, before);
            break;
        }
        case 5: { // one note's font
            const InfoNote before = note;
            note.font.lfHeight = -10 - static_cast<int32_t>(i % 20);
            history.NoteChanged(n, before);
            break;
        }
        case 6: // a dimension drawn
            info.dimensions.push_back(ScatteredDimension(rng, i, kPhotoW, kPhotoH));
            history.DimensionAdded(static_cast<int>(info.dimensions.size()) - 1);
            break;
        case 7: { // a note deleted
            const InfoNote removed = note;
            info.notes.erase(info.notes.begin() + n);
            history.NoteRemoved(n, removed, n);
            break;
        }
        case 8: { // every dimension's colour, or every font, in turn
            if (i % 20 == 8) {
                auto before = ValueRuns<COLORREF>::Of(info.dimensions, &Dimension::colour);
                for (Dimension& each : info.dimensions)
                    each.colour = static_cast<COLORREF>(i);
                history.AllColoursChanged(std::move(before));
            } else {
                auto before = ValueRuns<LOGFONTA>::Of(info.dimensions, &Dimension::font);
                for (Dimension& each : info.dimensions)
                    each.font.lfHeight = -i;
                history.AllFontsChanged(std::move(before));
            }
            break;
        }
        default: { // an end point dragged
            const Dimension before = dim;
            dim.end.y += 9;
            NormalizeDimensionEnds(dim);
            history.DimensionChanged(d, before);
            break;
        }
        }
    }
}

// The document: 1,000 dimensions, each a colour and font of its own (so the
// first all-dimension steps hold 1,000 values), and 1,000 notes.
void Populate(PhotoInfo& info, QRandomGenerator& rng) {
    for (int i = 0; i < 1000; ++i) {
        Dimension d = ScatteredDimension(rng, i, kPhotoW, kPhotoH);
        d.colour = static_cast<COLORREF>(i * 7919);
        d.font.lfHeight = -8 - i;
        info.dimensions.push_back(d);
        info.notes.push_back(ScatteredNote(rng, kPhotoW, kPhotoH));
    }
}

void BM_HistoryMemory1000Steps(benchmark::State& state) {
    long long historyBytes = 0;
    long long documentBytes = 0;
    long long mallinfoBytes = 0;
    int steps = 0;
    for (auto _ : state) {
        QRandomGenerator rng(21);
        const long long empty = g_heldBytes.load();
        auto info = std::make_unique<PhotoInfo>();
        Populate(*info, rng);
        documentBytes = g_heldBytes.load() - empty;
        {
            const size_t capacityBefore = info->dimensions.capacity();
            const long long start = g_heldBytes.load();
            const size_t mallocStart = mallinfo2().uordblks;
            EditHistory history(*info);
            EverydaySteps(*info, history, rng);
            // What the history holds: the bytes it added, less the records
            // the steps themselves added to the document.
            const long long grownDocument = static_cast<long long>(
                (info->dimensions.capacity() - capacityBefore) * sizeof(Dimension));
            historyBytes = g_heldBytes.load() - start - grownDocument;
            mallinfoBytes =
                static_cast<long long>(mallinfo2().uordblks - mallocStart) - grownDocument;
            steps = history.Stack().count();
        }
    }
    state.counters["history_MB"] = static_cast<double>(historyBytes) / (1024.0 * 1024.0);
    state.counters["mallinfo_MB"] = static_cast<double>(mallinfoBytes) / (1024.0 * 1024.0);
    state.counters["document_MB"] = static_cast<double>(documentBytes) / (1024.0 * 1024.0);
    state.counters["steps"] = steps;
    state.counters["bytes_per_step"] = steps ? static_cast<double>(historyBytes) / steps : 0.0;
    if (historyBytes > 10LL * 1024 * 1024)
        state.SkipWithError("the history holds more than 10 MB");
}

} // namespace

BENCHMARK(BM_SetAllDimensionColoursBaseline)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond)
    ->Iterations(1)
    ->Repetitions(200)
    ->ComputeStatistics("max", Max)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_UndoAllDimensionColour)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond)
    ->Iterations(1)
    ->Repetitions(200)
    ->ComputeStatistics("max", Max)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_RedoAllDimensionColour)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond)
    ->Iterations(1)
    ->Repetitions(200)
    ->ComputeStatistics("max", Max)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_HistoryMemory1000Steps)->Unit(benchmark::kMillisecond)->Iterations(1);

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
