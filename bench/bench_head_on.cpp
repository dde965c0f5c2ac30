// The head-on picture of the reference plane (tessamar --rectify, the canvas
// menu's "輸出正視圖") at 24 and 50 megapixels, against the annotated export
// of the same photo in the same run:
//   BM_HeadOnTime/N   rounds of the export and the head-on picture at 1 mm a
//                     pixel, in turn, both written to the disk (medians and
//                     worst ratios; the head-on picture's own megapixels).
//   BM_HeadOnPeak/N   the memory the head-on picture adds to the decoded
//                     photo (VmHWM after resetting it through
//                     /proc/self/clear_refs, in a fresh child process), over
//                     the size of the output picture (4 bytes a pixel).
// The photo is a gradient with noise; a wall of 4 × 2.5 m seen from the left
// is its plane, with 1,000 dimensions and 200 notes scattered over it.
#include "BenchGradientPhoto.h"
#include "BenchPeakChild.h"
#include "BenchRecords.h"
#include "BenchStatistics.h"
#include "ProcessMemory.h"
#include "document/PhotoInfo.h"
#include "drawing/AnnotationRenderer.h"
#include "lumoimage/CDibDC.h"
#include "output/AnnotatedExport.h"
#include "output/HeadOnView.h"
#include "output/RectifiedExport.h"

#include <QFile>

#include <chrono>
#include <cstdio>

namespace {

QString g_folder;
QString g_selfPath;

QSize SizeFor(int megapixels) {
    return megapixels >= 50 ? QSize(8640, 5760) : QSize(6000, 4000);
}

QString PhotoFor(int megapixels) {
    const QString path = g_folder + QStringLiteral("/photo%1mp.jpg").arg(megapixels);
    const QSize size = SizeFor(megapixels);
    if (!QFile::exists(path))
        WriteGradientPhoto(path, size.width(), size.height());
    return path;
}

PhotoInfo WallRecords(QSize size) {
    PhotoInfo info = ScatteredRecords(size.width(), size.height(), 1000, 200);
    auto at = [size](double x, double y) {
        return POINT{int(x * size.width()), int(y * size.height())};
    };
    info.reference.hasPlane = true;
    info.reference.plane = {
        {at(0.30, 0.25), at(0.75, 0.30), at(0.73, 0.70), at(0.32, 0.78)}, 4000, 2500};
    return info;
}

bool HeadOn(const QImage& photo, const PhotoInfo& info, const QString& photoPath) {
    QString error;
    return ExportHeadOnPicture(photo, info, photoPath, g_folder + QStringLiteral("/head-on.jpg"),
                               kDefaultMmPerPixel, &error);
}

void BM_HeadOnTime(benchmark::State& state) {
    const int megapixels = int(state.range(0));
    const QString photoPath = PhotoFor(megapixels);
    CDibDC photo;
    if (!photo.Load(photoPath))
        state.SkipWithError("the photo could not be decoded");
    const PhotoInfo info = WallRecords(photo.Image().size());
    const QString out = g_folder + QStringLiteral("/export.jpg");
    std::vector<double> exportMs, headOnMs, ratio;
    for (auto _ : state) {
        auto t = std::chrono::steady_clock::now();
        AnnotationRenderer renderer(kBandedLabelBytes);
        if (!ExportAnnotatedPicture(photo.Image(), info, out, nullptr, &renderer))
            state.SkipWithError("export failed");
        exportMs.push_back(MsSince(t));
        t = std::chrono::steady_clock::now();
        if (!HeadOn(photo.Image(), info, photoPath))
            state.SkipWithError("head-on picture failed");
        headOnMs.push_back(MsSince(t));
        ratio.push_back(headOnMs.back() / exportMs.back());
        state.SetIterationTime(headOnMs.back() / 1000);
    }
    const QSize size = HeadOnViewOf(info.reference, photo.Image().size())->size;
    state.counters["output_MP"] = double(size.width()) * size.height() / 1e6;
    state.counters["export_ms"] = Median(exportMs);
    state.counters["head_on_ms"] = Median(headOnMs);
    state.counters["head_on_ms_worst"] = Worst(headOnMs);
    state.counters["ratio"] = Median(ratio);
    state.counters["ratio_worst"] = Worst(ratio);
}

// In a child: "<output bytes> <rss before kB> <peak kB>" for one head-on
// picture of the photo of `megapixels`, decoded first as the window has it.
int PeakChild(int megapixels) {
    const QString photoPath = PhotoFor(megapixels);
    CDibDC photo;
    if (!photo.Load(photoPath))
        return 1;
    const PhotoInfo info = WallRecords(photo.Image().size());
    const QSize size = HeadOnViewOf(info.reference, photo.Image().size())->size;
    if (!ResetPeak())
        return 1;
    const long before = StatusKb("VmRSS:");
    if (!HeadOn(photo.Image(), info, photoPath))
        return 1;
    std::printf("%.0f %ld %ld\n", double(size.width()) * size.height() * 4, before,
                StatusKb("VmHWM:"));
    return 0;
}

void BM_HeadOnPeak(benchmark::State& state) {
    const int megapixels = int(state.range(0));
    PhotoFor(megapixels);
    std::vector<double> over;
    for (auto _ : state) {
        QProcess child;
        child.start(g_selfPath,
                    {QStringLiteral("--peak-child"), QString::number(megapixels), g_folder});
        child.waitForFinished(600000);
        const QList<QByteArray> parts = child.readAllStandardOutput().trimmed().split(' ');
        if (parts.size() != 3) {
            state.SkipWithError("child failed");
            return;
        }
        const double output = parts[0].toDouble();
        const double growth = (parts[2].toDouble() - parts[1].toDouble()) * 1024;
        state.counters["growth_MB"] = growth / 1e6;
        over.push_back(growth / output);
    }
    state.counters["growth_over_output"] = Median(over);
    state.counters["growth_over_output_worst"] = Worst(over);
}

} // namespace

BENCHMARK(BM_HeadOnTime)
    ->Arg(24)
    ->Arg(50)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5)
    ->UseManualTime();
BENCHMARK(BM_HeadOnPeak)->Arg(24)->Arg(50)->Unit(benchmark::kMillisecond)->Iterations(3);

int main(int argc, char** argv) {
    return RunBenchmarksOrPeakChild(
        argc, argv, &g_folder, &g_selfPath,
        [](const QStringList& args) { return args.size() == 1 ? PeakChild(args[0].toInt()) : 1; });
}
