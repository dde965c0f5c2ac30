// Canvas benchmarks: loading a 24-megapixel photo against a plain libjpeg-turbo
// decode, repainting the fitted view, and exporting the annotated picture
// against a plain decode + encode, with the export's peak memory measured in a
// child process. Inputs are generated here.
#include "BenchGradientPhoto.h"
#include "BenchJpegSave.h"
#include "BenchRecords.h"
#include "ProcessMemory.h"
#include "canvas/CPhotoCanvas.h"
#include "common/CanvasAccess.h"
#include "document/PhotoInfo.h"
#include "drawing/AnnotationRenderer.h"
#include "drawing/RecordDrawing.h"
#include "lumoimage/CDibDC.h"
#include "output/AnnotatedExport.h"
#include "output/PhotoFileExport.h"
#include "platform/LogFont.h"

#include <QApplication>
#include <QFile>
#include <QImageWriter>
#include <QPainter>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <turbojpeg.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>

namespace {

constexpr int kPhotoW = 6000;
constexpr int kPhotoH = 4000;
const QSize kCanvasSize(870, 756);

QTemporaryDir* g_dir = nullptr;
QString g_photoPath;
QString g_selfPath;

void MakePhoto(const QString& path) {
    WriteGradientPhoto(path, kPhotoW, kPhotoH);
}

QByteArray ReadFile(const QString& path) {
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

// Baseline: libjpeg-turbo decode into 32-bit pixels, nothing else.
void BM_TurboDecode(benchmark::State& state) {
    const QByteArray jpeg = ReadFile(g_photoPath);
    tjhandle tj = tjInitDecompress();
    std::vector<unsigned char> pixels(size_t(kPhotoW) * kPhotoH * 4);
    for (auto _ : state) {
        tjDecompress2(tj, reinterpret_cast<const unsigned char*>(jpeg.constData()),
                      static_cast<unsigned long>(jpeg.size()), pixels.data(), kPhotoW, 0, kPhotoH,
                      TJPF_BGRX, 0);
        benchmark::DoNotOptimize(pixels.data());
    }
    tjDestroy(tj);
}

void BM_LoadPhoto(benchmark::State& state) {
    CPhotoCanvas canvas;
    canvas.resize(kCanvasSize);
    canvas.SetZoom(ZoomFit);
    for (auto _ : state) {
        if (!CanvasAccess::LoadPhoto(canvas, g_photoPath))
            state.SkipWithError("LoadPhoto failed");
        benchmark::DoNotOptimize(canvas.Photo().Image().constBits());
    }
}

// One full repaint of the fitted 24-megapixel photo into a client-sized
// image. `records`: 1,000 dimensions and 200 notes. `viewChanged`: the view
// moves between frames (zoom, pan or resize), so the photo is scaled again;
// otherwise only the records are drawn anew over the kept scaled photo.
void Repaint(benchmark::State& state, bool records, bool viewChanged) {
    static std::unique_ptr<CPhotoCanvas> canvas;
    if (!canvas) {
        canvas = std::make_unique<CPhotoCanvas>();
        canvas->resize(kCanvasSize);
        canvas->SetZoom(ZoomFit);
        CanvasAccess::LoadPhoto(*canvas, g_photoPath);
    }
    canvas->Model().Records() =
        records ? ScatteredRecords(kPhotoW, kPhotoH, 1000, 200) : PhotoInfo();
    QImage target(kCanvasSize, QImage::Format_RGB32);
    {
        QPainter warm(&target);
        canvas->Render(warm); // levels made, caches warm
    }
    int frame = 0;
    for (auto _ : state) {
        if (viewChanged) {
            // Alternate between two slightly different view sizes.
            CanvasAccess::Dest(*canvas).right = canvas->DestRect().left + 869 + (++frame & 1);
        }
        QPainter painter(&target);
        canvas->Render(painter);
    }
    canvas->UpdateLayout();
}

// The first repaint after loading: the reduced copies of the photo are made
// (and awaited) before the fitted view is drawn.
void BM_FirstRepaintAfterLoad(benchmark::State& state) {
    CPhotoCanvas canvas;
    canvas.resize(kCanvasSize);
    canvas.SetZoom(ZoomFit);
    QImage target(kCanvasSize, QImage::Format_RGB32);
    for (auto _ : state) {
        state.PauseTiming();
        CanvasAccess::LoadPhoto(canvas, g_photoPath);
        state.ResumeTiming();
        QPainter painter(&target);
        canvas.Render(painter);
    }
}

void BM_RepaintFitted(benchmark::State& state) {
    Repaint(state, false, false);
}
void BM_RepaintFittedViewChanged(benchmark::State& state) {
    Repaint(state, false, true);
}
void BM_RepaintFittedRecords(benchmark::State& state) {
    Repaint(state, true, false);
}

// One libjpeg-turbo decode + encode of the photo, written to a file.
// Subsampling TJSAMP_420 or TJSAMP_444; quality 95.
struct TurboRoundTrip {
    QByteArray jpeg = ReadFile(g_photoPath);
    tjhandle dec = tjInitDecompress();
    tjhandle enc = tjInitCompress();
    std::vector<unsigned char> pixels = std::vector<unsigned char>(size_t(kPhotoW) * kPhotoH * 4);
    ~TurboRoundTrip() {
        tjDestroy(dec);
        tjDestroy(enc);
    }
    void Run(int subsampling) {
        tjDecompress2(dec, reinterpret_cast<const unsigned char*>(jpeg.constData()),
                      static_cast<unsigned long>(jpeg.size()), pixels.data(), kPhotoW, 0, kPhotoH,
                      TJPF_BGRX, 0);
        unsigned char* out = nullptr;
        unsigned long outSize = 0;
        tjCompress2(enc, pixels.data(), kPhotoW, 0, kPhotoH, TJPF_BGRX, &out, &outSize, subsampling,
                    95, 0);
        QFile f(g_dir->filePath(QStringLiteral("turbo.jpg")));
        f.open(QIODevice::WriteOnly);
        f.write(reinterpret_cast<const char*>(out), static_cast<qint64>(outSize));
        tjFree(out);
    }
};

// Baseline: libjpeg-turbo decode + encode of the same photo; argument 0
// encodes 4:2:0, argument 1 with the export's own settings (4:4:4).
void BM_TurboDecodeEncode(benchmark::State& state) {
    const int subsampling = state.range(0) == 0 ? TJSAMP_420 : TJSAMP_444;
    TurboRoundTrip turbo;
    for (auto _ : state)
        turbo.Run(subsampling);
}

// What `tessamar --export` does: load the photo and its photo-info file, draw
// every record at photo scale, save.
bool ExportOnce(const QString& out) {
    return ExportPhotoFile(g_photoPath, out).Succeeded();
}

void BM_Export(benchmark::State& state) {
    const QString out = g_dir->filePath(QStringLiteral("export.jpg"));
    for (auto _ : state)
        if (!ExportOnce(out))
            state.SkipWithError("export failed");
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// The export and the baseline (argument: 0 = 4:2:0, 1 = 4:4:4) taken in turn,
// so both see the same machine; the counters are medians over the rounds.
void BM_ExportOverTurbo(benchmark::State& state) {
    const int subsampling = state.range(0) == 0 ? TJSAMP_420 : TJSAMP_444;
    const QString out = g_dir->filePath(QStringLiteral("export.jpg"));
    TurboRoundTrip turbo;
    std::vector<double> exportMs, turboMs, ratios;
    using Clock = std::chrono::steady_clock;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        turbo.Run(subsampling);
        const auto t1 = Clock::now();
        if (!ExportOnce(out))
            state.SkipWithError("export failed");
        const auto t2 = Clock::now();
        const double base = std::chrono::duration<double, std::milli>(t1 - t0).count();
        const double ours = std::chrono::duration<double, std::milli>(t2 - t1).count();
        turboMs.push_back(base);
        exportMs.push_back(ours);
        ratios.push_back(ours / base);
        state.SetIterationTime(ours / 1000);
    }
    state.counters["export_ms"] = Median(exportMs);
    state.counters["turbo_ms"] = Median(turboMs);
    state.counters["ratio"] = Median(ratios);
}

// The desktop's export command: the canvas keeps showing its photo, so the
// export draws on a copy (made while the labels are made). Fresh label
// caches each round, as after opening a photo.
void BM_CanvasExport(benchmark::State& state) {
    CPhotoCanvas canvas;
    canvas.resize(kCanvasSize);
    if (!CanvasAccess::LoadPhoto(canvas, g_photoPath))
        state.SkipWithError("LoadPhoto failed");
    canvas.Model().Records() = ScatteredRecords(kPhotoW, kPhotoH, 1000, 200);
    const QString out = g_dir->filePath(QStringLiteral("canvas-export.jpg"));
    for (auto _ : state) {
        state.PauseTiming();
        CanvasAccess::Renderer(canvas).ClearCaches();
        state.ResumeTiming();
        if (!CanvasAccess::ExportAnnotated(canvas, out))
            state.SkipWithError("export failed");
    }
}

// The drawing part of the export alone: every record at photo scale onto the
// decoded photo.
// Argument 0: labels made while drawing (cold); 1: labels made beforehand, as
// the export does while the photo decodes (only the drawing is timed).
void BM_ExportDrawRecords(benchmark::State& state) {
    const PhotoInfo info = ScatteredRecords(kPhotoW, kPhotoH, 1000, 200);
    CDibDC photo;
    photo.Load(g_photoPath, 32);
    for (auto _ : state) {
        state.PauseTiming();
        QImage picture = photo.Image().copy();
        AnnotationRenderer renderer;
        if (state.range(0) == 1)
            PrepareAllRecords(renderer, info, nullptr);
        state.ResumeTiming();
        DrawRecordsAtPhotoScale(picture, info, &renderer);
        benchmark::DoNotOptimize(picture.constBits());
    }
}

// Making the labels alone, as the export does on its own thread.
void BM_ExportPrepareLabels(benchmark::State& state) {
    const PhotoInfo info = ScatteredRecords(kPhotoW, kPhotoH, 1000, 200);
    for (auto _ : state) {
        AnnotationRenderer renderer;
        PrepareAllRecords(renderer, info, nullptr);
        benchmark::DoNotOptimize(&renderer);
    }
}

// The saving part alone.
void BM_ExportSave(benchmark::State& state) {
    CDibDC photo;
    photo.Load(g_photoPath, 32);
    const QString out = g_dir->filePath(QStringLiteral("save.jpg"));
    QString error;
    for (auto _ : state)
        SaveAsJpeg(photo, out, &error);
}

// Peak memory of one export, measured in a fresh child process.
void BM_ExportPeakMemory(benchmark::State& state) {
    for (auto _ : state) {
        QProcess child;
        child.start(g_selfPath, {QStringLiteral("--export-peak"), g_photoPath,
                                 g_dir->filePath(QStringLiteral("peak.jpg"))});
        child.waitForFinished(120000);
        const QList<QByteArray> parts = child.readAllStandardOutput().trimmed().split(' ');
        if (parts.size() != 2) {
            state.SkipWithError("child failed");
            return;
        }
        const double decoded = double(kPhotoW) * kPhotoH * 4;
        const double before = parts[0].toDouble() * 1024;
        const double peak = parts[1].toDouble() * 1024;
        state.counters["peak_MB"] = peak / 1e6;
        state.counters["peak_over_decoded"] = peak / decoded;
        state.counters["growth_over_decoded"] = (peak - before) / decoded;
    }
}

int ExportPeakChild(const QString& photo, const QString& out) {
    g_photoPath = photo;
    const long before = StatusKb("VmRSS:");
    if (!ExportOnce(out))
        return 1;
    std::printf("%ld %ld\n", before, StatusKb("VmHWM:"));
    return 0;
}

// The window's export command in turn with a libjpeg-turbo decode + encode
// with the export's settings (4:4:4, quality 95): the photo shown, 1,000
// dimensions and 200 notes, fresh label caches each round.
void BM_CanvasExportOverTurbo(benchmark::State& state) {
    CPhotoCanvas canvas;
    canvas.resize(kCanvasSize);
    if (!CanvasAccess::LoadPhoto(canvas, g_photoPath))
        state.SkipWithError("LoadPhoto failed");
    canvas.Model().Records() = ScatteredRecords(kPhotoW, kPhotoH, 1000, 200);
    const QString out = g_dir->filePath(QStringLiteral("canvas-export.jpg"));
    TurboRoundTrip turbo;
    std::vector<double> exportMs, turboMs, ratios;
    using Clock = std::chrono::steady_clock;
    for (auto _ : state) {
        CanvasAccess::Renderer(canvas).ClearCaches();
        const auto t0 = Clock::now();
        turbo.Run(TJSAMP_444);
        const auto t1 = Clock::now();
        if (!CanvasAccess::ExportAnnotated(canvas, out))
            state.SkipWithError("export failed");
        const auto t2 = Clock::now();
        turboMs.push_back(std::chrono::duration<double, std::milli>(t1 - t0).count());
        exportMs.push_back(std::chrono::duration<double, std::milli>(t2 - t1).count());
        ratios.push_back(exportMs.back() / turboMs.back());
        state.SetIterationTime(exportMs.back() / 1000);
    }
    state.counters["export_ms"] = Median(exportMs);
    state.counters["turbo_ms"] = Median(turboMs);
    state.counters["ratio"] = Median(ratios);
    state.counters["ratio_worst"] = *std::max_element(ratios.begin(), ratios.end());
}

// Peak memory of the window's export, in a fresh child that has the photo
// shown (decoded) before the export starts: growth over the decoded photo.
void BM_CanvasExportPeakMemory(benchmark::State& state) {
    for (auto _ : state) {
        QProcess child;
        child.start(g_selfPath, {QStringLiteral("--canvas-export-peak"), g_photoPath,
                                 g_dir->filePath(QStringLiteral("canvas-peak.jpg"))});
        child.waitForFinished(120000);
        const QList<QByteArray> parts = child.readAllStandardOutput().trimmed().split(' ');
        if (parts.size() != 2) {
            state.SkipWithError("child failed");
            return;
        }
        const double decoded = double(kPhotoW) * kPhotoH * 4;
        const double before = parts[0].toDouble() * 1024;
        const double peak = parts[1].toDouble() * 1024;
        state.counters["peak_MB"] = peak / 1e6;
        state.counters["growth_over_decoded"] = (peak - before) / decoded;
    }
}

int CanvasExportPeakChild(const QString& photo, const QString& out) {
    CPhotoCanvas canvas;
    canvas.resize(kCanvasSize);
    if (!CanvasAccess::LoadPhoto(canvas, photo))
        return 1;
    canvas.Model().Records() = ScatteredRecords(kPhotoW, kPhotoH, 1000, 200);
    const long before = StatusKb("VmRSS:");
    if (!CanvasAccess::ExportAnnotated(canvas, out))
        return 1;
    std::printf("%ld %ld\n", before, StatusKb("VmHWM:"));
    return 0;
}

} // namespace

BENCHMARK(BM_TurboDecode)->Unit(benchmark::kMillisecond)->Iterations(5)->Repetitions(3);
BENCHMARK(BM_LoadPhoto)->Unit(benchmark::kMillisecond)->Iterations(5)->Repetitions(3);
BENCHMARK(BM_FirstRepaintAfterLoad)->Unit(benchmark::kMillisecond)->Iterations(3)->Repetitions(3);
BENCHMARK(BM_RepaintFitted)->Unit(benchmark::kMillisecond)->Repetitions(3);
BENCHMARK(BM_RepaintFittedViewChanged)->Unit(benchmark::kMillisecond)->Repetitions(3);
BENCHMARK(BM_RepaintFittedRecords)->Unit(benchmark::kMillisecond)->Repetitions(3);
BENCHMARK(BM_TurboDecodeEncode)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->Repetitions(3);
BENCHMARK(BM_Export)->Unit(benchmark::kMillisecond)->Iterations(3)->Repetitions(3);
BENCHMARK(BM_CanvasExport)->Unit(benchmark::kMillisecond)->Iterations(3)->Repetitions(3);
BENCHMARK(BM_ExportOverTurbo)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(9)
    ->UseManualTime();
BENCHMARK(BM_ExportDrawRecords)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->Repetitions(3);
BENCHMARK(BM_ExportPrepareLabels)->Unit(benchmark::kMillisecond)->Iterations(3)->Repetitions(3);
BENCHMARK(BM_ExportSave)->Unit(benchmark::kMillisecond)->Iterations(3)->Repetitions(3);
BENCHMARK(BM_ExportPeakMemory)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_CanvasExportOverTurbo)->Unit(benchmark::kMillisecond)->Iterations(7)->UseManualTime();
BENCHMARK(BM_CanvasExportPeakMemory)->Unit(benchmark::kMillisecond)->Iterations(1);

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc == 4 && std::strcmp(argv[1], "--export-peak") == 0) {
        QGuiApplication app(argc, argv);
        InstallFontSubstitutes();
        return ExportPeakChild(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
    }
    if (argc == 4 && std::strcmp(argv[1], "--canvas-export-peak") == 0) {
        QApplication app(argc, argv);
        InstallFontSubstitutes();
        return CanvasExportPeakChild(QString::fromLocal8Bit(argv[2]),
                                     QString::fromLocal8Bit(argv[3]));
    }
    QApplication app(argc, argv);
    InstallFontSubstitutes();
    QTemporaryDir dir;
    g_dir = &dir;
    g_photoPath = dir.filePath(QStringLiteral("photo24mp.jpg"));
    g_selfPath = QCoreApplication::applicationFilePath();
    MakePhoto(g_photoPath);
    // The records live beside the photo, where `tessamar --export` reads them.
    if (!ScatteredRecords(kPhotoW, kPhotoH, 1000, 200).SaveToFile(InfoFilePathFor(g_photoPath)))
        return 1;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
