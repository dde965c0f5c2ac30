// Opening a photo: how long until its first picture is on the canvas, against
// libjpeg-turbo's own full decode of the same file taken in the same round,
// and what a reduced first picture (Exif thumbnail or DCT-scaled decode, as
// the file dialog's preview makes it) would cost; and the longest gap the
// window's event loop sees while a photo opens. Photos of 24, 50 and 200
// megapixels with photographic content are made here.
#include "canvas/CPhotoCanvas.h"
#include "lumoimage/JpegPreview.h"
#include "platform/LogFont.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QPainter>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>
#include <turbojpeg.h>

#include <algorithm>
#include <chrono>
#include <map>
#include <vector>

namespace {

const QSize kCanvasSize(870, 756);
QTemporaryDir* g_dir = nullptr;

QSize PhotoSize(int megapixels) {
    switch (megapixels) {
    case 24:
        return {6000, 4000};
    case 50:
        return {8688, 5792};
    default:
        return {16320, 12240};
    }
}

// Smooth gradients, soft shapes and noise, encoded 4:2:0 at quality 90 as a
// camera would; made once per size.
QString PhotoPath(int megapixels) {
    static std::map<int, QString> made;
    auto it = made.find(megapixels);
    if (it != made.end())
        return it->second;
    const QSize size = PhotoSize(megapixels);
    std::vector<unsigned char> rgb(size_t(size.width()) * size.height() * 3);
    QRandomGenerator rng(megapixels);
    for (int y = 0; y < size.height(); ++y) {
        unsigned char* row = rgb.data() + size_t(y) * size.width() * 3;
        for (int x = 0; x < size.width(); ++x) {
            const int n = static_cast<int>(rng.bounded(24u));
            row[3 * x] = static_cast<unsigned char>((x / 24 + n) & 0xFF);
            row[3 * x + 1] = static_cast<unsigned char>((y / 16 + n + (x * y) / 90000) & 0xFF);
            row[3 * x + 2] = static_cast<unsigned char>(((x + y) / 40 + n) & 0xFF);
        }
    }
    tjhandle tj = tjInitCompress();
    unsigned char* out = nullptr;
    unsigned long outSize = 0;
    tjCompress2(tj, rgb.data(), size.width(), 0, size.height(), TJPF_RGB, &out, &outSize,
                TJSAMP_420, 90, 0);
    const QString path = g_dir->filePath(QStringLiteral("photo%1mp.jpg").arg(megapixels));
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(reinterpret_cast<const char*>(out), static_cast<qint64>(outSize));
    tjFree(out);
    tjDestroy(tj);
    return made[megapixels] = path;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n == 0 ? 0 : n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}
double Worst(const std::vector<double>& v) {
    return v.empty() ? 0 : *std::max_element(v.begin(), v.end());
}

double Ms(std::chrono::steady_clock::time_point from) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - from)
        .count();
}

// In turn each round: libjpeg-turbo's full decode (the baseline); opening
// on the canvas until its first picture is drawn; a reduced first picture
// for the canvas's size. Counters: medians and worst in milliseconds, and
// the first picture's time over the full decode's.
void BM_OpenToFirstPicture(benchmark::State& state) {
    const QString path = PhotoPath(static_cast<int>(state.range(0)));
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    const QByteArray jpeg = f.readAll();
    const QSize size = PhotoSize(static_cast<int>(state.range(0)));
    std::vector<unsigned char> pixels(size_t(size.width()) * size.height() * 4);
    tjhandle tj = tjInitDecompress();
    std::vector<double> decode, open, reduced, openRatio, reducedRatio;
    QImage target(kCanvasSize, QImage::Format_RGB32);
    for (auto _ : state) {
        auto t0 = std::chrono::steady_clock::now();
        tjDecompress2(tj, reinterpret_cast<const unsigned char*>(jpeg.constData()),
                      static_cast<unsigned long>(jpeg.size()), pixels.data(), size.width(), 0,
                      size.height(), TJPF_BGRX, 0);
        decode.push_back(Ms(t0));
        {
            CPhotoCanvas canvas;
            canvas.resize(kCanvasSize);
            canvas.SetZoom(ZoomFit);
            t0 = std::chrono::steady_clock::now();
            if (!canvas.LoadPhoto(path))
                state.SkipWithError("LoadPhoto failed");
            canvas.grab(); // the first picture on the screen
            open.push_back(Ms(t0));
        }
        t0 = std::chrono::steady_clock::now();
        QImage preview;
        QSize full;
        QString error;
        if (!LoadJpegPreview(path, kCanvasSize, &preview, &full, &error))
            state.SkipWithError("preview failed");
        reduced.push_back(Ms(t0));
        openRatio.push_back(open.back() / decode.back());
        reducedRatio.push_back(reduced.back() / decode.back());
    }
    tjDestroy(tj);
    state.counters["decode_ms"] = Median(decode);
    state.counters["open_first_ms"] = Median(open);
    state.counters["open_first_worst"] = Worst(open);
    state.counters["open_over_decode"] = Median(openRatio);
    state.counters["reduced_ms"] = Median(reduced);
    state.counters["reduced_over_decode"] = Median(reducedRatio);
}

// The longest gap between two turns of the event loop while a photo opens
// the way the open command opens it, with a 1-ms timer ticking; medians and
// worst over the rounds, next to the full decode's time.
void BM_EventLoopGapDuringOpen(benchmark::State& state) {
    const QString path = PhotoPath(static_cast<int>(state.range(0)));
    std::vector<double> gaps;
    for (auto _ : state) {
        CPhotoCanvas canvas;
        canvas.resize(kCanvasSize);
        canvas.SetZoom(ZoomFit);
        QEventLoop loop;
        QElapsedTimer clock;
        clock.start();
        qint64 last = 0, gap = 0;
        QTimer tick;
        tick.setTimerType(Qt::PreciseTimer);
        QObject::connect(&tick, &QTimer::timeout, [&] {
            const qint64 now = clock.nsecsElapsed();
            gap = std::max(gap, now - last);
            last = now;
        });
        tick.start(1);
        bool opened = false;
        QTimer::singleShot(20, [&] {
            opened = canvas.LoadPhoto(path);
            canvas.grab();
            QTimer::singleShot(100, &loop, &QEventLoop::quit);
        });
        loop.exec();
        if (!opened)
            state.SkipWithError("LoadPhoto failed");
        gaps.push_back(gap / 1e6);
    }
    state.counters["gap_ms"] = Median(gaps);
    state.counters["gap_worst"] = Worst(gaps);
}

} // namespace

BENCHMARK(BM_OpenToFirstPicture)
    ->Arg(24)
    ->Arg(50)
    ->Arg(200)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);
BENCHMARK(BM_EventLoopGapDuringOpen)
    ->Arg(24)
    ->Arg(50)
    ->Arg(200)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    InstallFontSubstitutes();
    QTemporaryDir dir;
    g_dir = &dir;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
