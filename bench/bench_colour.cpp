// The cost of converting photos with an ICC profile to sRGB as they are
// decoded, against the plain decode of the same 12-megapixel photo without
// a profile (goal: at most 0.15 x the decode with a profile, nothing
// without). The profiles are those of the colour test photos: Adobe RGB,
// Display P3 (matrix and curves) and XYB (tables).
// Run: bench_colour [--benchmark_repetitions=9]; medians, worst runs and
// ratios are printed at the end.

#include "BenchNoisePicture.h"
#include "common/JpegEncoder.h"
#include "lumoimage/JpegRowDecoder.h"
#include "lumoimage/SrgbConversion.h"

#include <benchmark/benchmark.h>

#include <QFile>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr int kWidth = 4000;
constexpr int kHeight = 3000;

QByteArray MakePhoto() {
    const QImage image = NoisePicture(kWidth, kHeight);
    JpegEncodeSettings phone;
    phone.quality = 90;
    phone.chroma = ChromaSubsampling::Quarter420;
    QByteArray jpeg;
    QString error;
    EncodeJpeg(image, phone, &jpeg, &error);
    return jpeg;
}

// The APP2 ICC segments of a test photo, put into `jpeg` after SOI.
QByteArray WithProfileOf(const QByteArray& jpeg, const char* photo) {
    QFile file(QStringLiteral(TESSAMAR_SOURCE_DIR "/tests/data/wild/") + QLatin1String(photo));
    file.open(QIODevice::ReadOnly);
    const QByteArray bytes = file.readAll();
    QByteArray segments;
    qsizetype pos = 2;
    while (pos + 4 <= bytes.size() && std::uint8_t(bytes[pos]) == 0xFF &&
           std::uint8_t(bytes[pos + 1]) != 0xDA) {
        const int length = std::uint8_t(bytes[pos + 2]) << 8 | std::uint8_t(bytes[pos + 3]);
        if (std::uint8_t(bytes[pos + 1]) == 0xE2 && bytes.mid(pos + 4, 11) == "ICC_PROFILE")
            segments += bytes.mid(pos, 2 + length);
        pos += 2 + length;
    }
    return jpeg.left(2) + segments + jpeg.mid(2);
}

const std::map<std::string, QByteArray>& Photos() {
    static const std::map<std::string, QByteArray> photos = [] {
        const QByteArray plain = MakePhoto();
        return std::map<std::string, QByteArray>{
            {"none", plain},
            {"adobe_rgb", WithProfileOf(plain, "adobe-rgb.jpg")},
            {"display_p3", WithProfileOf(plain, "display-p3.jpg")},
            {"xyb", WithProfileOf(plain, "xyb.jpg")},
        };
    }();
    return photos;
}

void Decode(benchmark::State& state, const char* profile) {
    const QByteArray& jpeg = Photos().at(profile);
    for (auto _ : state) {
        QImage out;
        QString error;
        if (DecodeJpegRows(reinterpret_cast<const std::uint8_t*>(jpeg.constData()),
                           std::size_t(jpeg.size()), 1, 1, nullptr, &out,
                           &error) != RowDecodeResult::Done)
            state.SkipWithError("decode failed");
        benchmark::DoNotOptimize(out.constBits());
    }
}
BENCHMARK_CAPTURE(Decode, none, "none")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(Decode, adobe_rgb, "adobe_rgb")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(Decode, display_p3, "display_p3")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(Decode, xyb, "xyb")->Unit(benchmark::kMillisecond)->UseRealTime();

// The conversion alone, on the decoding thread, over a picture of the same
// size: what a core pays for it whether or not a second core hides it.
void ConvertOnly(benchmark::State& state, const char* photo) {
    // The profile of a test photo, one ICC chunk: after "ICC_PROFILE\0" and
    // the chunk's number and count.
    const QByteArray segments = WithProfileOf(QByteArray("\xFF\xD8", 2), photo).mid(2);
    const QByteArray icc = segments.mid(4 + 14);
    const auto conversion = SrgbConversionFor(icc, false);
    QImage picture(kWidth, kHeight, QImage::Format_RGB32);
    picture.fill(QColor(120, 80, 200));
    if (!conversion)
        state.SkipWithError("no conversion");
    for (auto _ : state)
        for (int y = 0; conversion && y < kHeight; ++y)
            conversion->Convert(picture.scanLine(y), kWidth);
}
BENCHMARK_CAPTURE(ConvertOnly, adobe_rgb, "adobe-rgb.jpg")
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(ConvertOnly, xyb, "xyb.jpg")->Unit(benchmark::kMillisecond)->UseRealTime();

// Keeps every run's real time per benchmark, for the median and the worst.
class Times : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Iteration)
                m_runs[run.run_name.str()].push_back(run.GetAdjustedRealTime());
        ConsoleReporter::ReportRuns(runs);
    }
    void PrintRatios() {
        std::vector<double>& base = m_runs["Decode/none/real_time"];
        if (base.empty())
            return;
        std::sort(base.begin(), base.end());
        const double baseMedian = base[base.size() / 2];
        std::printf("\nReal time in ms, median and worst; against the plain decode's median\n"
                    "(%.1f ms): the extra of a decode with a profile, the share of a\n"
                    "conversion alone:\n",
                    baseMedian);
        for (auto& [name, times] : m_runs) {
            std::sort(times.begin(), times.end());
            const double median = times[times.size() / 2], worst = times.back();
            const double less = name.rfind("Decode/", 0) == 0 ? 1 : 0;
            std::printf("  %-28s %8.1f %8.1f   median %+.3f, worst %+.3f\n", name.c_str(), median,
                        worst, median / baseMedian - less, worst / baseMedian - less);
        }
    }

private:
    std::map<std::string, std::vector<double>> m_runs;
};

} // namespace

int main(int argc, char** argv) {
    std::vector<char*> args(argv, argv + argc);
    std::string repetitions = "--benchmark_repetitions=9";
    bool given = false;
    for (int i = 1; i < argc; ++i)
        given |= std::string(argv[i]).rfind("--benchmark_repetitions", 0) == 0;
    if (!given)
        args.push_back(repetitions.data());
    int count = int(args.size());
    benchmark::Initialize(&count, args.data());
    Photos();
    Times reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatios();
    benchmark::Shutdown();
    return 0;
}
