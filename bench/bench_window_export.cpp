// The window's export of the annotated picture at 24 and 200 megapixels, with
// 1,000 dimensions and 200 notes, against a plain libjpeg-turbo decode +
// encode with the export's settings (4:4:4, quality 95) in the same run:
//   BM_WindowExportTime/N   rounds of the baseline, the banded export (what
//                           the window's worker runs: labels made afresh, the
//                           decoded photo only read, bytes written as made) and
//                           the whole-picture export it replaced (a full copy
//                           drawn on, encoded at once, then written), in turn.
//   BM_WindowExportPeak/N   peak memory of each, in a fresh child process
//                           (VmHWM after resetting it through
//                           /proc/self/clear_refs once the photo is decoded).
// Photos are made here: gradients with noise, so the JPEG has photographic
// entropy.
#include "BenchPeakChild.h"
#include "BenchRecords.h"
#include "ProcessMemory.h"
#include "common/JpegEncoder.h"
#include "document/PhotoInfo.h"
#include "drawing/AnnotationRenderer.h"
#include "drawing/RecordDrawing.h"
#include "lumoimage/CDibDC.h"
#include "lumoimage/PixelBuffer.h"
#include "output/AnnotatedExport.h"
#include "platform/BackgroundWork.h"
#include "platform/DurableFile.h"
#include "platform/LogFont.h"

#include <QFile>
#include <QGuiApplication>
#include <QImageWriter>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <turbojpeg.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

QString g_folder; // where the photos and the outputs go
QString g_selfPath;

QString FileIn(const QString& name) {
    return g_folder + QLatin1Char('/') + name;
}

QSize SizeFor(int megapixels) {
    return megapixels >= 200 ? QSize(16320, 12240) : QSize(6000, 4000);
}

QString PhotoFor(int megapixels) {
    const QString path = FileIn(QStringLiteral("photo%1mp.jpg").arg(megapixels));
    if (QFile::exists(path))
        return path;
    const QSize size = SizeFor(megapixels);
    QImage image = AllocateRgb32(size.width(), size.height());
    QRandomGenerator rng(7);
    for (int y = 0; y < size.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < size.width(); ++x) {
            const int n = static_cast<int>(rng.bounded(24u));
            row[x] = qRgb((x / 24 + n) & 0xFF, (y / 16 + n) & 0xFF, ((x + y) / 40 + n) & 0xFF);
        }
    }
    QImageWriter writer(path, "jpeg");
    writer.setQuality(90);
    writer.write(image);
    return path;
}

QByteArray ReadFile(const QString& path) {
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

// The baseline: decode, encode 4:4:4 at quality 95, write the file. The
// pixel buffer and the codecs are kept from round to round.
class TurboRoundTrip {
public:
    explicit TurboRoundTrip(const QString& photo) : m_jpeg(ReadFile(photo)) {
        int sub = 0, colour = 0;
        tjDecompressHeader3(m_dec, Bytes(), Size(), &m_width, &m_height, &sub, &colour);
        m_pixels.resize(size_t(m_width) * m_height * 4);
    }
    ~TurboRoundTrip() {
        tjDestroy(m_dec);
        tjDestroy(m_enc);
    }
    bool Run(const QString& out) {
        bool ok = tjDecompress2(m_dec, Bytes(), Size(), m_pixels.data(), m_width, 0, m_height,
                                TJPF_BGRX, 0) == 0;
        unsigned char* bytes = nullptr;
        unsigned long size = 0;
        ok = ok && tjCompress2(m_enc, m_pixels.data(), m_width, 0, m_height, TJPF_BGRX, &bytes,
                               &size, TJSAMP_444, 95, 0) == 0;
        QFile f(out);
        ok = ok && f.open(QIODevice::WriteOnly) &&
             f.write(reinterpret_cast<const char*>(bytes), qint64(size)) == qint64(size);
        tjFree(bytes);
        return ok;
    }

private:
    const unsigned char* Bytes() const {
        return reinterpret_cast<const unsigned char*>(m_jpeg.constData());
    }
    unsigned long Size() const { return static_cast<unsigned long>(m_jpeg.size()); }

    QByteArray m_jpeg;
    tjhandle m_dec = tjInitDecompress();
    tjhandle m_enc = tjInitCompress();
    int m_width = 0, m_height = 0;
    std::vector<unsigned char> m_pixels;
};

// The window's export as its worker runs it.
bool BandedExport(const QImage& photo, const PhotoInfo& info, const QString& out) {
    AnnotationRenderer renderer(kBandedLabelBytes);
    QString error;
    return ExportAnnotatedPicture(photo, info, out, &error, &renderer);
}

// The export it replaced: the shared photo copied on a worker while the
// labels are made, every record drawn on the copy, the whole picture encoded
// into memory and then written durably.
bool WholePictureExport(const QImage& photo, const PhotoInfo& info, const QString& out) {
    AnnotationRenderer renderer;
    QFuture<QImage> copied = SharedWorkers().Run([&photo] {
        QImage copy = AllocateRgb32(photo.width(), photo.height());
        for (int y = 0; y < photo.height(); ++y)
            std::memcpy(copy.scanLine(y), photo.constScanLine(y), size_t(photo.width()) * 4);
        return copy;
    });
    PrepareAllRecords(renderer, info, nullptr);
    QImage picture = copied.result();
    DrawRecordsAtPhotoScale(picture, info, &renderer);
    JpegStream jpeg;
    QString error;
    return EncodeJpeg(picture, CDibDC::ExportSettings(), &jpeg, &error) &&
           WriteFileDurably(out, jpeg.Data(), jpeg.Size(), &error);
}

void BM_WindowExportTime(benchmark::State& state) {
    const int megapixels = int(state.range(0));
    const QString photoPath = PhotoFor(megapixels);
    CDibDC photo;
    if (!photo.Load(photoPath))
        state.SkipWithError("the photo could not be decoded");
    const PhotoInfo info =
        ScatteredRecords(SizeFor(megapixels).width(), SizeFor(megapixels).height(), 1000, 200);
    const QString out = FileIn(QStringLiteral("out.jpg"));
    TurboRoundTrip turbo(photoPath);
    std::vector<double> base, banded, whole, bandedRatio, wholeRatio;
    for (auto _ : state) {
        auto t = std::chrono::steady_clock::now();
        if (!turbo.Run(out))
            state.SkipWithError("baseline failed");
        base.push_back(MsSince(t));
        t = std::chrono::steady_clock::now();
        if (!BandedExport(photo.Image(), info, out))
            state.SkipWithError("banded export failed");
        banded.push_back(MsSince(t));
        t = std::chrono::steady_clock::now();
        if (!WholePictureExport(photo.Image(), info, out))
            state.SkipWithError("whole-picture export failed");
        whole.push_back(MsSince(t));
        bandedRatio.push_back(banded.back() / base.back());
        wholeRatio.push_back(whole.back() / base.back());
        state.SetIterationTime(banded.back() / 1000);
    }
    state.counters["turbo_ms"] = Median(base);
    state.counters["banded_ms"] = Median(banded);
    state.counters["whole_ms"] = Median(whole);
    state.counters["banded_ratio"] = Median(bandedRatio);
    state.counters["banded_ratio_worst"] =
        *std::max_element(bandedRatio.begin(), bandedRatio.end());
    state.counters["whole_ratio"] = Median(wholeRatio);
    state.counters["whole_ratio_worst"] = *std::max_element(wholeRatio.begin(), wholeRatio.end());
}

// In a child: "<decoded bytes> <rss before kB> <peak kB>" for one run of
// `which` (turbo, banded, whole) on the photo of `megapixels`.
int PeakChild(const QString& which, int megapixels) {
    const QString photoPath = PhotoFor(megapixels);
    const QString out = FileIn(QStringLiteral("peak.jpg"));
    const QSize size = SizeFor(megapixels);
    const double decoded = double(size.width()) * size.height() * 4;
    if (which == QLatin1String("turbo")) {
        // The baseline decodes itself: its peak counts the decoded pixels.
        if (!ResetPeak())
            return 1;
        const long before = StatusKb("VmRSS:");
        TurboRoundTrip turbo(photoPath);
        if (!turbo.Run(out))
            return 1;
        std::printf("%.0f %ld %ld\n", decoded, before, StatusKb("VmHWM:"));
        return 0;
    }
    CDibDC photo; // the window shows the photo before the export starts
    if (!photo.Load(photoPath))
        return 1;
    const PhotoInfo info = ScatteredRecords(size.width(), size.height(), 1000, 200);
    if (!ResetPeak())
        return 1;
    const long before = StatusKb("VmRSS:");
    const bool ok = which == QLatin1String("banded") ? BandedExport(photo.Image(), info, out)
                                                     : WholePictureExport(photo.Image(), info, out);
    if (!ok)
        return 1;
    std::printf("%.0f %ld %ld\n", decoded, before, StatusKb("VmHWM:"));
    return 0;
}

// Peak memory of the export over the decoded photo: (photo + what the export
// adds) / photo. The baseline's figure is its whole peak over the photo.
void BM_WindowExportPeak(benchmark::State& state) {
    const int megapixels = int(state.range(0));
    PhotoFor(megapixels); // made once, in this process's folder
    for (auto _ : state) {
        for (const char* which : {"turbo", "banded", "whole"}) {
            const QList<QByteArray> parts = PeakChildFigures(
                g_selfPath, {QString::fromLatin1(which), QString::number(megapixels)}, g_folder);
            if (parts.size() != 3) {
                state.SkipWithError("child failed");
                return;
            }
            const double decoded = parts[0].toDouble();
            const double before = parts[1].toDouble() * 1024;
            const double peak = parts[2].toDouble() * 1024;
            const std::string name(which);
            if (name == "turbo") {
                state.counters["turbo_peak_over_decoded"] = (peak - before) / decoded;
            } else {
                state.counters[name + "_growth_MB"] = (peak - before) / 1e6;
                state.counters[name + "_peak_over_decoded"] = 1 + (peak - before) / decoded;
            }
        }
    }
}

} // namespace

BENCHMARK(BM_WindowExportTime)
    ->Arg(24)
    ->Arg(200)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(7)
    ->UseManualTime();
BENCHMARK(BM_WindowExportPeak)->Arg(24)->Arg(200)->Unit(benchmark::kMillisecond)->Iterations(1);

int main(int argc, char** argv) {
    return RunBenchmarksOrPeakChild(
        argc, argv, &g_folder, &g_selfPath, [](const QStringList& args) {
            return args.size() == 2 ? PeakChild(args[0], args[1].toInt()) : 1;
        });
}
