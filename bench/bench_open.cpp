// Opening a photo: how long until its first picture is on the canvas and
// until the full photo replaces it, against libjpeg-turbo's own full decode
// of the same file taken in the same round; and the longest gap the window's
// event loop sees while a photo opens, the window's way (decoded on a
// worker) against the synchronous load (the command line's way, which the
// window used before). Photos of 24, 50 and 200 megapixels with photographic
// content are made here, each with a 160 x 120 Exif thumbnail as phones make
// them (too small to stand in: a 1/8 decode does), with a thumbnail of 1/16
// of the photo's long side (it stands in), with none, and with none but a
// restart marker every 2 rows of blocks (as many cameras write them: the
// stand-in is decoded in two parts at once). Each in memory as a program
// that just started has it (cold: every large picture on fresh pages) and as
// after a photo opened before (warm: the last photo's memory kept for the
// next, as the window keeps it).
#include "BenchStatistics.h"
#include "canvas/CPhotoCanvas.h"
#include "common/CanvasAccess.h"
#include "common/RestartMarkedJpeg.h"
#include "lumoimage/PartedDecode.h"
#include "lumoimage/PictureMemoryReuse.h"
#include "lumoimage/PixelBuffer.h"
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
#include <malloc.h>
#include <map>
#include <string>
#include <thread>
#include <vector>

namespace {

const QSize kCanvasSize(870, 756);
QTemporaryDir* g_dir = nullptr;

enum Thumbnail { NoThumbnail = 0, PhoneThumbnail = 1, LargeThumbnail = 2, RestartMarkers = 3 };
enum Memory { Cold = 0, Warm = 1 };

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

QByteArray Compress(const unsigned char* rgb, QSize size, int quality) {
    tjhandle tj = tjInitCompress();
    unsigned char* out = nullptr;
    unsigned long outSize = 0;
    tjCompress2(tj, rgb, size.width(), 0, size.height(), TJPF_RGB, &out, &outSize, TJSAMP_420,
                quality, 0);
    QByteArray jpeg(reinterpret_cast<const char*>(out), qsizetype(outSize));
    tjFree(out);
    tjDestroy(tj);
    return jpeg;
}

// Every 1/scale-th pixel of the photo, for its thumbnail.
std::vector<unsigned char> Reduced(const std::vector<unsigned char>& rgb, QSize size, QSize to) {
    std::vector<unsigned char> out(size_t(to.width()) * to.height() * 3);
    for (int y = 0; y < to.height(); ++y)
        for (int x = 0; x < to.width(); ++x) {
            const size_t from = (size_t(y) * size.height() / to.height() * size.width() +
                                 size_t(x) * size.width() / to.width()) *
                                3;
            std::copy_n(rgb.begin() + std::ptrdiff_t(from), 3,
                        out.begin() + std::ptrdiff_t((size_t(y) * to.width() + x) * 3));
        }
    return out;
}

// An Exif APP1 segment with orientation 1 and `thumbnail` in IFD1.
QByteArray ExifWithThumbnail(const QByteArray& thumbnail) {
    QByteArray tiff("II*\0\x08\0\0\0", 8);
    auto u16 = [&](int v) { tiff.append(char(v & 0xFF)).append(char(v >> 8)); };
    auto u32 = [&](quint32 v) {
        for (int i = 0; i < 4; ++i)
            tiff.append(char((v >> (8 * i)) & 0xFF));
    };
    u16(1); // IFD0: orientation
    u16(0x0112);
    u16(3);
    u32(1);
    u16(1);
    u16(0);
    u32(26); // IFD1 at 26
    u16(3);
    u16(0x0103); // compression: JPEG
    u16(3);
    u32(1);
    u16(6);
    u16(0);
    u16(0x0201);
    u16(4);
    u32(1);
    u32(26 + 2 + 36 + 4);
    u16(0x0202);
    u16(4);
    u32(1);
    u32(quint32(thumbnail.size()));
    u32(0);
    const QByteArray payload = QByteArray("Exif\0\0", 6) + tiff + thumbnail;
    const int length = int(payload.size()) + 2;
    return QByteArray("\xFF\xE1", 2) + char(length >> 8) + char(length & 0xFF) + payload;
}

// Smooth gradients, soft shapes and noise, encoded 4:2:0 at quality 90 as a
// camera would; made once per size and thumbnail.
QString PhotoPath(int megapixels, int thumbnail) {
    static std::map<std::pair<int, int>, QString> made;
    auto it = made.find({megapixels, thumbnail});
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
    QByteArray jpeg = thumbnail == RestartMarkers
                          ? EncodeRestartMarkedJpeg(QImage(rgb.data(), size.width(), size.height(),
                                                           size.width() * 3, QImage::Format_RGB888),
                                                    90, 2)
                          : Compress(rgb.data(), size, 90);
    if (thumbnail == PhoneThumbnail || thumbnail == LargeThumbnail) {
        const QSize thumb = thumbnail == PhoneThumbnail
                                ? QSize(160, 120)
                                : QSize((size.width() + 15) / 16, (size.height() + 15) / 16);
        const std::vector<unsigned char> small = Reduced(rgb, size, thumb);
        // The Exif segment holds at most 64 KiB.
        QByteArray encoded;
        for (int quality = 85; quality >= 20; quality -= 5) {
            encoded = Compress(small.data(), thumb, quality);
            if (encoded.size() < 60000)
                break;
        }
        jpeg = jpeg.left(2) + ExifWithThumbnail(encoded) + jpeg.mid(2);
    }
    const QString path =
        g_dir->filePath(QStringLiteral("photo%1mp-%2.jpg").arg(megapixels).arg(thumbnail));
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(jpeg);
    return made[{megapixels, thumbnail}] = path;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n == 0 ? 0 : n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}
double Ms(std::chrono::steady_clock::time_point from) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - from)
        .count();
}

// Memory as a program that just started has it: no large picture's memory
// kept, the allocator's free pages given back.
void MakeMemoryCold() {
    PictureMemoryReuse::GiveBackKept();
    malloc_trim(0);
}

// In turn each round: libjpeg-turbo's full decode (the baseline); opening on
// the canvas the window's way until the first rows of the photo itself are
// drawn (or its thumbnail, however small: something of the photo), until a
// stand-in that stays until the full photo (a large thumbnail or the reduced
// decode, whole: the first picture) is drawn, and until the full photo is
// drawn; the synchronous load as the window did it before, in turn with the
// window's way. range(2) says whether each opening finds the memory cold or
// warm. Counters: medians and worst in milliseconds, each time over the full
// decode's, and the full photo's over the synchronous load's.
void BM_OpenToFirstPicture(benchmark::State& state) {
    const int megapixels = static_cast<int>(state.range(0));
    const QString path = PhotoPath(megapixels, static_cast<int>(state.range(1)));
    const bool warm = state.range(2) == Warm;
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    const QByteArray jpeg = f.readAll();
    const QSize size = PhotoSize(megapixels);
    std::vector<unsigned char> pixels(size_t(size.width()) * size.height() * 4);
    tjhandle tj = tjInitDecompress();
    std::vector<double> decode, rows, sharp, full, sync, rowsRatio, sharpRatio, fullRatio,
        syncRatio, fullOverSync;
    int round = 0;
    const auto prepare = [&](const QString& what) {
        if (warm) { // the same photo opened just before, its memory kept
            CPhotoCanvas canvas;
            canvas.resize(kCanvasSize);
            if (what == QLatin1String("window")
                    ? !canvas.BeginPhotoLoad(path) || !canvas.WaitForPhoto()
                    : !CanvasAccess::LoadPhoto(canvas, path))
                state.SkipWithError("the warming open failed");
        } else {
            MakeMemoryCold();
        }
    };
    for (auto _ : state) {
        auto t0 = std::chrono::steady_clock::now();
        tjDecompress2(tj, reinterpret_cast<const unsigned char*>(jpeg.constData()),
                      static_cast<unsigned long>(jpeg.size()), pixels.data(), size.width(), 0,
                      size.height(), TJPF_BGRX, 0);
        decode.push_back(Ms(t0));
        const auto openOnWorker = [&] {
            prepare(QStringLiteral("window"));
            CPhotoCanvas canvas;
            canvas.resize(kCanvasSize);
            canvas.SetZoom(ZoomFit);
            t0 = std::chrono::steady_clock::now();
            if (!canvas.BeginPhotoLoad(path))
                state.SkipWithError("BeginPhotoLoad failed");
            const PendingPhoto& pending = CanvasAccess::Pending(canvas);
            // Woken by the window's own repaint timer, as the screen would be.
            while (canvas.PhotoPending() && pending.standIn.isNull() &&
                   !(pending.job && !pending.filling.isNull() && pending.job->standIn.rowsDone > 0))
                QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
            canvas.grab(); // something of the photo on the screen
            rows.push_back(Ms(t0));
            while (canvas.PhotoPending() && !canvas.StandInSharp())
                QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
            canvas.grab();
            sharp.push_back(Ms(t0));
            canvas.WaitForPhoto();
            canvas.grab();
            full.push_back(Ms(t0));
        };
        const auto loadAtOnce = [&] {
            prepare(QStringLiteral("sync"));
            CPhotoCanvas canvas;
            canvas.resize(kCanvasSize);
            canvas.SetZoom(ZoomFit);
            t0 = std::chrono::steady_clock::now();
            if (!CanvasAccess::LoadPhoto(canvas, path))
                state.SkipWithError("LoadPhoto failed");
            canvas.grab();
            sync.push_back(Ms(t0));
        };
        // Whichever runs first in a round commits memory the machine has not
        // touched lately (slow on a virtual machine): the order alternates.
        if (++round % 2 == 1) {
            openOnWorker();
            loadAtOnce();
        } else {
            loadAtOnce();
            openOnWorker();
        }
        rowsRatio.push_back(rows.back() / decode.back());
        sharpRatio.push_back(sharp.back() / decode.back());
        fullRatio.push_back(full.back() / decode.back());
        syncRatio.push_back(sync.back() / decode.back());
        fullOverSync.push_back(full.back() / sync.back());
    }
    tjDestroy(tj);
    state.counters["decode_ms"] = Median(decode);
    state.counters["rows_over_decode"] = Median(rowsRatio);
    state.counters["rows_over_decode_worst"] = Worst(rowsRatio);
    state.counters["first_over_decode"] = Median(sharpRatio);
    state.counters["first_over_decode_worst"] = Worst(sharpRatio);
    state.counters["full_over_decode"] = Median(fullRatio);
    state.counters["full_over_decode_worst"] = Worst(fullRatio);
    state.counters["sync_over_decode"] = Median(syncRatio);
    state.counters["sync_over_decode_worst"] = Worst(syncRatio);
    state.counters["full_over_sync"] = Median(fullOverSync);
    state.counters["full_over_sync_worst"] = Worst(fullOverSync);
}

// The floor under the first picture, measured on the machine as it is in
// the same round: libjpeg-turbo's 1/8 decode alone, the same while a full
// decode runs on the other core (as the window's open runs them), two full
// decodes at once (how much of a second core the machine gives now; 1 on an
// idle machine), and the program's 1/8 decode in two parts at once of the
// photo with restart markers; each over libjpeg-turbo's full decode alone.
void BM_DecodeFloor(benchmark::State& state) {
    const int megapixels = static_cast<int>(state.range(0));
    const QString path = PhotoPath(megapixels, RestartMarkers);
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    const QByteArray jpeg = f.readAll();
    const QSize size = PhotoSize(megapixels);
    const tjscalingfactor eighth{1, 8};
    const QSize small(TJSCALED(size.width(), eighth), TJSCALED(size.height(), eighth));
    std::vector<unsigned char> pixels(size_t(size.width()) * size.height() * 4);
    std::vector<unsigned char> other(pixels.size());
    QImage parted = AllocateRgb32(small.width(), small.height());
    const auto decode = [&](unsigned char* to, QSize at) {
        tjhandle tj = tjInitDecompress();
        tjDecompress2(tj, reinterpret_cast<const unsigned char*>(jpeg.constData()),
                      static_cast<unsigned long>(jpeg.size()), to, at.width(), 0, at.height(),
                      TJPF_BGRX, 0);
        tjDestroy(tj);
    };
    std::vector<double> alone, beside, two, split;
    for (auto _ : state) {
        auto t0 = std::chrono::steady_clock::now();
        decode(pixels.data(), size);
        const double full = Ms(t0);
        t0 = std::chrono::steady_clock::now();
        decode(pixels.data(), small);
        alone.push_back(Ms(t0) / full);
        {
            std::thread running([&] { decode(other.data(), size); });
            t0 = std::chrono::steady_clock::now();
            decode(pixels.data(), small);
            beside.push_back(Ms(t0) / full);
            running.join();
        }
        {
            t0 = std::chrono::steady_clock::now();
            std::thread running([&] { decode(other.data(), size); });
            decode(pixels.data(), size);
            running.join();
            two.push_back(Ms(t0) / full);
        }
        {
            PartedDecode parts(
                path, jpeg.left(256 * 1024), 1, 8,
                RowTarget{parted.bits(), parted.bytesPerLine(), parted.width(), parted.height()});
            QString error;
            t0 = std::chrono::steady_clock::now();
            RowDecodeResult lower = RowDecodeResult::Failed;
            std::thread lowerThread([&] {
                QString e;
                lower = parts.Lower(nullptr, &e);
            });
            const RowDecodeResult upper = parts.Upper(nullptr, &error);
            lowerThread.join();
            if (parts.Finish(upper, lower, nullptr, &error) != RowDecodeResult::Done ||
                !parts.WasSplit())
                state.SkipWithError("the parted decode did not split");
            split.push_back(Ms(t0) / full);
        }
    }
    for (const auto& [name, v] : {std::pair{"eighth_alone", &alone},
                                  {"eighth_beside_full", &beside},
                                  {"two_full_at_once", &two},
                                  {"eighth_in_two_parts", &split}}) {
        state.counters[std::string(name)] = Median(*v);
        state.counters[std::string(name) + "_worst"] = Worst(*v);
    }
}

// The longest gap between two ticks of a 1-ms timer over the meter's life:
// how long the event loop of this thread went without a turn.
class GapMeter {
public:
    GapMeter() {
        m_clock.start();
        m_tick.setTimerType(Qt::PreciseTimer);
        QObject::connect(&m_tick, &QTimer::timeout, [this] {
            const qint64 now = m_clock.nsecsElapsed();
            m_gap = std::max(m_gap, now - m_last);
            m_last = now;
        });
        m_tick.start(1);
    }
    double LongestMs() const { return m_gap / 1e6; }

private:
    QElapsedTimer m_clock;
    QTimer m_tick;
    qint64 m_last = 0;
    qint64 m_gap = 0;
};

// The longest gap between two turns of the event loop while a photo opens,
// with a 1-ms timer ticking, until the full photo is drawn on a shown
// canvas: range(1) 1 the window's way, 0 the synchronous load; medians and
// worst over the rounds.
void BM_EventLoopGapDuringOpen(benchmark::State& state) {
    const QString path = PhotoPath(static_cast<int>(state.range(0)), PhoneThumbnail);
    const bool onWorker = state.range(1) != 0;
    std::vector<double> gaps;
    for (auto _ : state) {
        CPhotoCanvas canvas;
        canvas.resize(kCanvasSize);
        canvas.SetZoom(ZoomFit);
        canvas.show();
        QEventLoop loop;
        const GapMeter meter;
        bool opened = false;
        QTimer::singleShot(20, [&] {
            opened = onWorker ? canvas.BeginPhotoLoad(path) : CanvasAccess::LoadPhoto(canvas, path);
            canvas.repaint();
            if (!opened) {
                loop.quit();
                return;
            }
            auto* poll = new QTimer(&canvas);
            QObject::connect(poll, &QTimer::timeout, [&, poll] {
                if (canvas.ShowsStandIn())
                    return;
                poll->stop();
                QTimer::singleShot(100, &loop, &QEventLoop::quit);
            });
            poll->start(2);
        });
        loop.exec();
        if (!opened)
            state.SkipWithError("the open failed");
        gaps.push_back(meter.LongestMs());
    }
    state.counters["gap_ms"] = Median(gaps);
    state.counters["gap_worst"] = Worst(gaps);
}

// The machine's own noise: the longest gap of the same ticking timer over
// range(0) milliseconds with nothing opened (a loaded machine leaves the
// thread unscheduled now and then).
void BM_EventLoopGapIdle(benchmark::State& state) {
    std::vector<double> gaps;
    for (auto _ : state) {
        QEventLoop loop;
        const GapMeter meter;
        QTimer::singleShot(int(state.range(0)), &loop, &QEventLoop::quit);
        loop.exec();
        gaps.push_back(meter.LongestMs());
    }
    state.counters["gap_ms"] = Median(gaps);
    state.counters["gap_worst"] = Worst(gaps);
}

} // namespace

BENCHMARK(BM_OpenToFirstPicture)
    ->ArgNames({"mp", "thumbnail", "warm"})
    ->ArgsProduct({{24, 50, 200},
                   {NoThumbnail, PhoneThumbnail, LargeThumbnail, RestartMarkers},
                   {Cold, Warm}})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);
BENCHMARK(BM_DecodeFloor)
    ->ArgName("mp")
    ->Arg(24)
    ->Arg(50)
    ->Arg(200)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);
BENCHMARK(BM_EventLoopGapDuringOpen)
    ->ArgNames({"mp", "worker"})
    ->ArgsProduct({{24, 50, 200}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);

BENCHMARK(BM_EventLoopGapIdle)
    ->ArgName("ms")
    ->Arg(1000)
    ->Arg(5000)
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
