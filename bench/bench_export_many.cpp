// `tessamar --export-many`: 16 photos of 24 megapixels with 50 records each,
// exported on every core (one photo per worker) against the same photos
// exported one after another in the same iteration. Wall time; the counter
// "ratio" is export-many over one-after-another, with its median and worst
// over the repetitions. "cpu_ratio" compares the processor time both ways
// took: on a machine busy with other work the batch cannot have more than
// its share of the cores, and its wall time then follows its processor time.
// "load" is the one-minute load average when the iteration started.

#include "BenchRecords.h"
#include "BenchRoomPhotos.h"
#include "BenchStatistics.h"

#include "document/PhotoInfo.h"
#include "output/BatchExport.h"
#include "output/PhotoFileExport.h"
#include "platform/LogFont.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImageWriter>
#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <vector>

namespace {

constexpr int kPhotoW = 6000;
constexpr int kPhotoH = 4000;
constexpr int kPhotos = 16;
constexpr int kScenes = 4; // distinct pictures; each is used by four photos

QTemporaryDir* g_dir = nullptr;
QStringList g_photos;

void ExportOneAfterAnother(const QString& out, benchmark::State& state) {
    for (const QString& photo : g_photos)
        if (!ExportPhotoFile(photo, BatchOutputPath(out, photo)).Succeeded())
            state.SkipWithError("export failed");
}

void ExportMany(const QString& out, benchmark::State& state) {
    BatchExportOptions options;
    options.overwrite = true;
    for (const BatchExportItem& item : ExportPhotoFiles(g_photos, out, options))
        if (!item.result.Succeeded())
            state.SkipWithError("export failed");
}

struct Took {
    double wall = 0; // seconds
    double cpu = 0;  // seconds of processor time, all threads
};

double ProcessCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

Took Measure(const std::function<void()>& run) {
    const auto start = std::chrono::steady_clock::now();
    const double cpu = ProcessCpuSeconds();
    run();
    return {std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(),
            ProcessCpuSeconds() - cpu};
}

double LoadAverage() {
    double load[1] = {0};
    return getloadavg(load, 1) == 1 ? load[0] : -1;
}

// Each iteration exports the sixteen photos both ways, in turns (the order
// changes from one iteration to the next), so that both meet the same load
// on a shared machine. The time reported is --export-many's; the counters
// give both times and their ratio.
void BM_ExportSixteen(benchmark::State& state) {
    const QString out = g_dir->filePath(QStringLiteral("out"));
    QDir().mkpath(out);
    static int turn = 0; // alternates across the repetitions too
    Took one, many;
    double load = 0;
    for (auto _ : state) {
        load = LoadAverage();
        Took a, b;
        if (turn++ % 2 == 0) {
            a = Measure([&] { ExportOneAfterAnother(out, state); });
            b = Measure([&] { ExportMany(out, state); });
        } else {
            b = Measure([&] { ExportMany(out, state); });
            a = Measure([&] { ExportOneAfterAnother(out, state); });
        }
        state.SetIterationTime(b.wall);
        one.wall += a.wall;
        one.cpu += a.cpu;
        many.wall += b.wall;
        many.cpu += b.cpu;
    }
    state.counters["one_after_another_s"] =
        benchmark::Counter(one.wall, benchmark::Counter::kAvgIterations);
    state.counters["export_many_s"] =
        benchmark::Counter(many.wall, benchmark::Counter::kAvgIterations);
    state.counters["ratio"] = one.wall > 0 ? many.wall / one.wall : 0;
    state.counters["cpu_ratio"] = one.cpu > 0 ? many.cpu / one.cpu : 0;
    state.counters["load"] = load;
}

} // namespace

BENCHMARK(BM_ExportSixteen)
    ->Unit(benchmark::kSecond)
    ->Iterations(1)
    ->Repetitions(6)
    ->UseManualTime()
    ->ComputeStatistics("worst", Worst);

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    InstallFontSubstitutes();
    QTemporaryDir dir;
    g_dir = &dir;
    g_photos = MakeRoomPhotos(dir.path(), kPhotos, kScenes, kPhotoW, kPhotoH);
    if (g_photos.isEmpty()) {
        std::fputs("cannot make the photos\n", stderr);
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
