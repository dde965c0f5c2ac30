// Idle processor time: a 24-megapixel photo opened in a shown canvas window
// with 1,000 dimensions + 200 notes, without a reference ("crowded"), and on
// a reference plane with every label a computed length, 1,000 + 200
// ("plane") and 10,000 + 1,000 ("plane10k"). Nothing is touched; the
// process's processor time (user + system, all threads) over 4 s, measured
// from 3 s after opening, in percent of one core. One window at a time, in
// turn, in the same run. Under a real X server: tools/run-under-x
// ./build/bench_idle; without a display Qt's offscreen platform is used.
#include "BenchGradientPhoto.h"
#include "BenchRecords.h"
#include "canvas/CPhotoCanvas.h"
#include "common/CanvasAccess.h"
#include "platform/LogFont.h"

#include <QApplication>
#include <QEventLoop>
#include <QImageWriter>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <sys/resource.h>

namespace {

constexpr int kPhotoW = 6000;
constexpr int kPhotoH = 4000;
QString g_photoPath;

// Runs the event loop for `ms` milliseconds.
void Wait(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

double ProcessCpuMs() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    const auto ms = [](const timeval& t) { return t.tv_sec * 1e3 + t.tv_usec / 1e3; };
    return ms(u.ru_utime) + ms(u.ru_stime);
}

// Percent of a core the process used over 4 s, 3 s after the window opened.
double IdleCpuPercent(int dimensions, int notes, bool plane) {
    CPhotoCanvas canvas;
    canvas.resize(870, 756);
    CanvasAccess::LoadPhoto(canvas, g_photoPath);
    canvas.Model().Records() = ScatteredRecords(kPhotoW, kPhotoH, dimensions, notes);
    if (plane)
        OnReferencePlane(canvas.Model().Records(), kPhotoW, kPhotoH);
    canvas.show();
    Wait(3000);
    const double before = ProcessCpuMs();
    Wait(4000);
    return (ProcessCpuMs() - before) / 4000.0 * 100.0;
}

void BM_IdleWindow(benchmark::State& state) {
    for (auto _ : state) {
        state.counters["crowded_cpu_pct"] = IdleCpuPercent(1000, 200, false);
        state.counters["plane_cpu_pct"] = IdleCpuPercent(1000, 200, true);
        state.counters["plane10k_cpu_pct"] = IdleCpuPercent(10000, 1000, true);
    }
}

} // namespace

BENCHMARK(BM_IdleWindow)->Unit(benchmark::kSecond)->Iterations(1);

int main(int argc, char** argv) {
    return RunOnGradientPhoto(argc, argv, kPhotoW, kPhotoH, &g_photoPath, true);
}
