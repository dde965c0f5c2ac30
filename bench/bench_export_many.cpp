// `tessamar --export-many`: 16 photos of 24 megapixels with 50 records each,
// exported on every core (one photo per worker) against the same photos
// exported one after another in the same iteration. Wall time; the counter
// "ratio" is export-many over one-after-another, with its median and worst
// over the repetitions. "cpu_ratio" compares the processor time both ways
// took: on a machine busy with other work the batch cannot have more than
// its share of the cores, and its wall time then follows its processor time.
// "load" is the one-minute load average when the iteration started.

#include "BenchRecords.h"

#include "canvas/BatchExport.h"
#include "canvas/PhotoFileExport.h"
#include "document/PhotoInfo.h"
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

// A room as a camera sees it: a lit wall with a window, a wooden floor, a
// cupboard and a lamp's glow, soft shading, and sensor noise on every pixel.
QImage MakeRoom(int scene) {
    QImage image(kPhotoW, kPhotoH, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient wall(0, 0, kPhotoW, kPhotoH * 0.65);
    wall.setColorAt(0, QColor(236 - scene * 8, 226, 206 + scene * 6));
    wall.setColorAt(1, QColor(150, 140 + scene * 5, 128));
    p.fillRect(0, 0, kPhotoW, kPhotoH * 2 / 3, wall);
    QLinearGradient floor(0, kPhotoH * 2 / 3, 0, kPhotoH);
    floor.setColorAt(0, QColor(120, 84, 52));
    floor.setColorAt(1, QColor(76, 50, 30));
    p.fillRect(0, kPhotoH * 2 / 3, kPhotoW, kPhotoH / 3 + 1, floor);
    QRandomGenerator rng(100 + scene);
    for (int x = 0; x < kPhotoW; x += 180 + static_cast<int>(rng.bounded(60))) {
        p.setPen(QPen(QColor(60, 40, 24, 140), 3));
        p.drawLine(x, kPhotoH * 2 / 3, x - 900 + 300 * scene, kPhotoH);
    }
    const QRect window(900 + scene * 500, 500, 1500, 1300);
    QLinearGradient sky(window.topLeft(), window.bottomLeft());
    sky.setColorAt(0, QColor(190, 215, 245));
    sky.setColorAt(1, QColor(245, 248, 252));
    p.fillRect(window, sky);
    p.setPen(QPen(QColor(250, 250, 250), 40));
    p.drawRect(window);
    p.drawLine(window.center().x(), window.top(), window.center().x(), window.bottom());
    QLinearGradient wood(0, 0, 900, 0);
    wood.setColorAt(0, QColor(96, 62, 40));
    wood.setColorAt(1, QColor(140, 98, 64));
    p.fillRect(3800 - scene * 400, 1400, 1400, 1600, wood);
    QRadialGradient glow(QPointF(4800, 900), 900);
    glow.setColorAt(0, QColor(255, 240, 200, 150));
    glow.setColorAt(1, QColor(255, 240, 200, 0));
    p.fillRect(image.rect(), glow);
    p.end();
    // Sensor noise: realistic entropy for the JPEG.
    for (int y = 0; y < kPhotoH; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < kPhotoW; ++x) {
            const int n = static_cast<int>(rng.bounded(13u)) - 6;
            const QRgb c = row[x];
            row[x] = qRgb(std::clamp(qRed(c) + n, 0, 255), std::clamp(qGreen(c) + n, 0, 255),
                          std::clamp(qBlue(c) + n, 0, 255));
        }
    }
    return image;
}

// 40 dimensions and 10 notes, different for every photo.
bool MakePhotos(const QString& folder) {
    QStringList scenes;
    for (int s = 0; s < kScenes; ++s) {
        const QString path = QDir(folder).filePath(QStringLiteral("scene%1.jpg").arg(s));
        QImageWriter writer(path, "jpeg");
        writer.setQuality(92);
        if (!writer.write(MakeRoom(s)))
            return false;
        scenes << path;
    }
    for (int i = 0; i < kPhotos; ++i) {
        const QString photo =
            QDir(folder).filePath(QStringLiteral("room%1.jpg").arg(i, 2, 10, QChar('0')));
        if (!QFile::copy(scenes[i % kScenes], photo))
            return false;
        if (!ScatteredRecords(kPhotoW, kPhotoH, 40, 10, static_cast<quint32>(i + 1))
                 .SaveToFile(InfoFilePathFor(photo)))
            return false;
        g_photos << photo;
    }
    return true;
}

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

double Worst(const std::vector<double>& v) {
    return v.empty() ? 0.0 : *std::max_element(v.begin(), v.end());
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
    if (!MakePhotos(dir.path())) {
        std::fputs("cannot make the photos\n", stderr);
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
