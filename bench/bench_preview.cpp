// Preview of a 24-megapixel photo in a 120 x 90 panel, through the preview's
// own LoadPicture, against decoding the whole photo in the same run: without
// an Exif thumbnail (a grainy and a smooth photo) and with a 160 x 120
// thumbnail spliced in. The benchmark argument picks the photo: 0 grainy,
// 1 smooth.

#include "filedialog/CPreviewStatic.h"
#include "lumoimage/CDibDC.h"

#include <QApplication>
#include <QBuffer>
#include <QFile>
#include <QImageWriter>
#include <QPainter>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <turbojpeg.h>

#include <cstdio>
#include <vector>

namespace {

constexpr int kWidth = 5664; // 4:3, like the thumbnail
constexpr int kHeight = 4248;

// [0]: with fine grain all over, like a photo taken in dim light;
// [1]: the same scene without the grain.
QString g_plainPath[2];
QString g_thumbPath;

// A photo-like picture: soft gradients, shapes and, if asked, some grain,
// so the encoder has real detail to store.
QImage MakePhoto(int grain) {
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient gradient(0, 0, kWidth, kHeight);
    gradient.setColorAt(0, QColor(200, 180, 150));
    gradient.setColorAt(1, QColor(60, 70, 90));
    painter.fillRect(image.rect(), gradient);
    QRandomGenerator random(42);
    for (int i = 0; i < 400; ++i) {
        painter.setBrush(QColor::fromRgb(random.generate() | 0xFF000000u));
        painter.drawEllipse(random.bounded(kWidth), random.bounded(kHeight),
                            50 + random.bounded(600), 50 + random.bounded(600));
    }
    painter.end();
    for (int y = 0; grain > 0 && y < kHeight; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < kWidth; ++x) {
            const int n = static_cast<int>(random.bounded(2 * grain)) - grain;
            const QRgb p = line[x];
            line[x] = qRgb(qBound(0, qRed(p) + n, 255), qBound(0, qGreen(p) + n, 255),
                           qBound(0, qBlue(p) + n, 255));
        }
    }
    return image;
}

QByteArray EncodeJpeg(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(90);
    writer.write(image);
    return bytes;
}

void Put16(QByteArray& b, int v) {
    b.append(char(v & 0xFF));
    b.append(char((v >> 8) & 0xFF));
}
void Put32(QByteArray& b, quint32 v) {
    Put16(b, int(v & 0xFFFF));
    Put16(b, int(v >> 16));
}
void PutEntry(QByteArray& b, int tag, int type, quint32 value) {
    Put16(b, tag);
    Put16(b, type);
    Put32(b, 1);
    if (type == 3) { // SHORT, left-justified in the value field
        Put16(b, int(value));
        Put16(b, 0);
    } else {
        Put32(b, value);
    }
}

// An Exif APP1 segment (little-endian TIFF) whose IFD1 holds `thumbnail`.
QByteArray ExifSegment(const QByteArray& thumbnail) {
    QByteArray tiff("II*\0", 4);
    Put32(tiff, 8);
    Put16(tiff, 1); // IFD0: orientation 1
    PutEntry(tiff, 0x0112, 3, 1);
    Put32(tiff, 26); // next IFD
    Put16(tiff, 3);  // IFD1: the thumbnail
    PutEntry(tiff, 0x0103, 3, 6);
    PutEntry(tiff, 0x0201, 4, 68);
    PutEntry(tiff, 0x0202, 4, quint32(thumbnail.size()));
    Put32(tiff, 0);
    tiff.append(thumbnail);
    QByteArray segment("\xFF\xE1", 2);
    const int length = 2 + 6 + int(tiff.size());
    segment.append(char(length >> 8));
    segment.append(char(length & 0xFF));
    segment.append(QByteArray("Exif\0\0", 6));
    segment.append(tiff);
    return segment;
}

bool WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void BM_FullDecodeTurbo(benchmark::State& state) {
    const QByteArray jpeg = ReadFile(g_plainPath[state.range(0)]);
    std::vector<unsigned char> pixels(size_t(kWidth) * kHeight * 4);
    tjhandle handle = tjInitDecompress();
    for (auto _ : state) {
        const int rc = tjDecompress2(handle, reinterpret_cast<const unsigned char*>(jpeg.data()),
                                     static_cast<unsigned long>(jpeg.size()), pixels.data(), kWidth,
                                     0, kHeight, TJPF_BGRX, TJFLAG_FASTDCT);
        if (rc != 0)
            state.SkipWithError("decode failed");
        benchmark::DoNotOptimize(pixels.data());
    }
    tjDestroy(handle);
}

// What libjpeg-turbo's own 1/8 reduction costs on the same file: the floor
// for any preview that decodes the photo itself.
void BM_EighthDecodeTurbo(benchmark::State& state) {
    const QByteArray jpeg = ReadFile(g_plainPath[state.range(0)]);
    const int w = (kWidth + 7) / 8, h = (kHeight + 7) / 8;
    std::vector<unsigned char> pixels(size_t(w) * h * 4);
    tjhandle handle = tjInitDecompress();
    for (auto _ : state) {
        const int rc = tjDecompress2(handle, reinterpret_cast<const unsigned char*>(jpeg.data()),
                                     static_cast<unsigned long>(jpeg.size()), pixels.data(), w, 0,
                                     h, TJPF_BGRX, TJFLAG_FASTDCT);
        if (rc != 0)
            state.SkipWithError("decode failed");
        benchmark::DoNotOptimize(pixels.data());
    }
    tjDestroy(handle);
}

void BM_FullDecodeCDibDC(benchmark::State& state) {
    for (auto _ : state) {
        CDibDC dib;
        if (!dib.Load(g_plainPath[0], 32))
            state.SkipWithError("load failed");
        benchmark::DoNotOptimize(dib.Image().constBits());
    }
}

void PreviewLoad(benchmark::State& state, const QString& path) {
    CPreviewStatic preview;
    preview.resize(120, 90);
    for (auto _ : state) {
        if (!preview.LoadPicture(path))
            state.SkipWithError("preview failed");
        benchmark::DoNotOptimize(preview.GetPictureSize());
    }
}

void BM_PreviewNoThumbnail(benchmark::State& state) {
    PreviewLoad(state, g_plainPath[state.range(0)]);
}
void BM_PreviewExifThumbnail(benchmark::State& state) {
    PreviewLoad(state, g_thumbPath);
}

BENCHMARK(BM_FullDecodeTurbo)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(0.2)
    ->Repetitions(5);
BENCHMARK(BM_EighthDecodeTurbo)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(0.2)
    ->Repetitions(5);
BENCHMARK(BM_FullDecodeCDibDC)->Unit(benchmark::kMillisecond)->MinTime(0.2)->Repetitions(5);
BENCHMARK(BM_PreviewNoThumbnail)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(0.2)
    ->Repetitions(5);
BENCHMARK(BM_PreviewExifThumbnail)->Unit(benchmark::kMillisecond)->MinTime(0.2)->Repetitions(5);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);

    QTemporaryDir dir;
    const QImage photo = MakePhoto(8);
    const QByteArray plain = EncodeJpeg(photo);
    const QByteArray smooth = EncodeJpeg(MakePhoto(0));
    const QByteArray thumbnail =
        EncodeJpeg(photo.scaled(160, 120, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    QByteArray withThumb = plain;
    withThumb.insert(2, ExifSegment(thumbnail)); // right after SOI
    g_plainPath[0] = dir.filePath(QStringLiteral("plain.jpg"));
    g_plainPath[1] = dir.filePath(QStringLiteral("smooth.jpg"));
    g_thumbPath = dir.filePath(QStringLiteral("thumb.jpg"));
    if (!WriteFile(g_plainPath[0], plain) || !WriteFile(g_plainPath[1], smooth) ||
        !WriteFile(g_thumbPath, withThumb)) {
        std::fprintf(stderr, "cannot write the test photos\n");
        return 1;
    }
    std::printf("photo %dx%d: %lld bytes with grain (/0), %lld without (/1); thumbnail %lld "
                "bytes\n",
                kWidth, kHeight, static_cast<long long>(plain.size()),
                static_cast<long long>(smooth.size()), static_cast<long long>(thumbnail.size()));
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
