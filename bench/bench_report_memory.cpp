// `tessamar --report`: the peak memory of a report of 16 photos of 24
// megapixels (40 dimensions and 10 notes each) against a report of one of
// them, each run as the program itself in a child process (its ru_maxrss).
// The counter "ratio" is sixteen over one, with its median and worst over
// the repetitions; "load" is the one-minute load average when the iteration
// started. Both runs of an iteration meet the same load, in turns.

#include "BenchRecords.h"
#include "BenchRoom.h"

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

bool MakePhotos(const QString& folder) {
    QStringList scenes;
    for (int s = 0; s < kScenes; ++s) {
        const QString path = QDir(folder).filePath(QStringLiteral("scene%1.jpg").arg(s));
        QImageWriter writer(path, "jpeg");
        writer.setQuality(92);
        if (!writer.write(MakeRoom(kPhotoW, kPhotoH, s)))
            return false;
        scenes << path;
    }
    for (int i = 0; i < kPhotos; ++i) {
        const QString photo =
            QDir(folder).filePath(QStringLiteral("room%1.jpg").arg(i, 2, 10, QChar('0')));
        if (!QFile::copy(scenes[i % kScenes], photo) ||
            !ScatteredRecords(kPhotoW, kPhotoH, 40, 10, static_cast<quint32>(i + 1))
                 .SaveToFile(InfoFilePathFor(photo)))
            return false;
        g_photos << photo;
    }
    return true;
}

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

double Worst(const std::vector<double>& v) {
    return v.empty() ? 0.0 : *std::max_element(v.begin(), v.end());
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
    if (!MakePhotos(dir.path())) {
        std::fputs("cannot make the photos\n", stderr);
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
