// `tessamar --report`: the peak memory of a report of 16 photos of 24
// megapixels (40 dimensions and 10 notes each) against a report of one of
// them, each run as the program itself in a child process (its ru_maxrss).
// The counter "ratio" is sixteen over one, with its median and worst over
// the repetitions; "load" is the one-minute load average when the iteration
// started. Both runs of an iteration meet the same load, in turns.

#include "BenchRecords.h"
#include "BenchRoomPhotos.h"
#include "BenchStatistics.h"

#include "document/PhotoInfo.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImageWriter>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kPhotoW = 6000;
constexpr int kPhotoH = 4000;
constexpr int kPhotos = 16;
constexpr int kScenes = 4;

QTemporaryDir* g_dir = nullptr;
QStringList g_photos;

// The program's peak resident memory in KiB for a report of the first
// `photos` photos; -1 when it failed.
long ReportPeakKb(int photos) {
    std::vector<QByteArray> args = {TESSAMAR_PROGRAM, "--report",
                                    QFile::encodeName(g_dir->filePath(QStringLiteral("r.pdf")))};
    for (int i = 0; i < photos; ++i)
        args.push_back(QFile::encodeName(g_photos[i]));
    std::vector<char*> argv;
    for (QByteArray& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    int status = 0;
    rusage usage{};
    if (pid < 0 || ::wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0)
        return -1;
    return usage.ru_maxrss;
}

double LoadAverage() {
    double load[1] = {0};
    return getloadavg(load, 1) == 1 ? load[0] : -1;
}

void BM_ReportPeakMemory(benchmark::State& state) {
    static int turn = 0;
    long one = 0, sixteen = 0;
    double load = 0;
    for (auto _ : state) {
        load = LoadAverage();
        if (turn++ % 2 == 0) {
            one = ReportPeakKb(1);
            sixteen = ReportPeakKb(kPhotos);
        } else {
            sixteen = ReportPeakKb(kPhotos);
            one = ReportPeakKb(1);
        }
        if (one <= 0 || sixteen <= 0)
            state.SkipWithError("the report failed");
    }
    state.counters["one_photo_mb"] = double(one) / 1024;
    state.counters["sixteen_photos_mb"] = double(sixteen) / 1024;
    state.counters["ratio"] = one > 0 ? double(sixteen) / double(one) : 0;
    state.counters["load"] = load;
}

} // namespace

BENCHMARK(BM_ReportPeakMemory)
    ->Unit(benchmark::kSecond)
    ->Iterations(1)
    ->Repetitions(3)
    ->ComputeStatistics("worst", Worst);

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
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
