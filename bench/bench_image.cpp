// Speed of the image component on a 24-megapixel phone-like photo: opening
// (CDibDC::Load) against libjpeg-turbo's own full-size decode, the reduced
// preview decode (with and without an Exif thumbnail), and saving.
// Run: bench_image [--benchmark_repetitions=5]; medians and ratios are
// printed at the end.

#include "BenchJpegSave.h"
#include "BenchNoisePicture.h"
#include "common/JpegEncoder.h"
#include "lumoimage/CDibDC.h"
#include "lumoimage/JpegPreview.h"

#include <QFile>
#include <QImageReader>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <turbojpeg.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr int kWidth = 6000;
constexpr int kHeight = 4000;
const QSize kPreviewBox(120, 90);

QImage MakePhoto() {
    return NoisePicture(kWidth, kHeight);
}

void Put16(QByteArray* out, int v) {
    out->append(char(v & 0xFF));
    out->append(char(v >> 8 & 0xFF));
}
void Put32(QByteArray* out, quint32 v) {
    Put16(out, int(v & 0xFFFF));
    Put16(out, int(v >> 16));
}
void PutEntry(QByteArray* out, int tag, int type, quint32 value) {
    Put16(out, tag);
    Put16(out, type);
    Put32(out, 1);
    Put32(out, value);
}

// The photo with an Exif segment holding the orientation and, when given, a
// thumbnail.
QByteArray WithExif(const QByteArray& jpeg, int orientation, const QByteArray& thumbnail) {
    QByteArray tiff("II*\0", 4);
    Put32(&tiff, 8);
    Put16(&tiff, 1);
    PutEntry(&tiff, 0x0112, 3, quint32(orientation));
    const quint32 ifd1 = thumbnail.isEmpty() ? 0 : 8 + 2 + 12 + 4;
    Put32(&tiff, ifd1);

    if (ifd1 != 0) {
        Put16(&tiff, 2);
        PutEntry(&tiff, 0x0201, 4, ifd1 + 2 + 2 * 12 + 4);
        PutEntry(&tiff, 0x0202, 4, quint32(thumbnail.size()));
        Put32(&tiff, 0);
        tiff.append(thumbnail);
    }
    const int length = 2 + 6 + int(tiff.size());
    QByteArray segment("\xFF\xE1", 2);
    segment.append(char(length >> 8));
    segment.append(char(length & 0xFF));
    segment.append("Exif\0\0", 6);
    segment.append(tiff);
    return jpeg.left(2) + segment + jpeg.mid(2);
}

struct Inputs {
    QTemporaryDir dir;
    QString photo;     // 6000 x 4000, quality 90, 4:2:0, no Exif
    QString withThumb; // the same with a 240 x 160 Exif thumbnail
    QString turned;    // the same marked as stored a quarter turn (orientation 6)
    QImage picture;    // the decoded photo, for the save benchmarks
    qint64 photoBytes = 0;

    Inputs() {
        const QImage source = MakePhoto();
        QByteArray jpeg, thumb;
        QString error;
        JpegEncodeSettings phone;
        phone.quality = 90;
        phone.chroma = ChromaSubsampling::Quarter420;
        EncodeJpeg(source, phone, &jpeg, &error);
        JpegEncodeSettings small;
        small.quality = 85;
        EncodeJpeg(source.scaled(240, 160, Qt::IgnoreAspectRatio, Qt::SmoothTransformation), small,
                   &thumb, &error);
        photo = dir.filePath("photo.jpg");
        withThumb = dir.filePath("thumb.jpg");
        Write(photo, jpeg);
        Write(withThumb, WithExif(jpeg, 1, thumb));
        turned = dir.filePath("turned.jpg");
        Write(turned, WithExif(jpeg, 6, {}));
        photoBytes = jpeg.size();
        CDibDC dib;
        dib.Load(photo, 32);
        picture = dib.Image();
    }
    static void Write(const QString& path, const QByteArray& bytes) {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    }
};

Inputs& Data() {
    static Inputs inputs;
    return inputs;
}

void ReadFile(const QString& path, std::vector<unsigned char>* buffer) {
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    buffer->resize(std::size_t(f.size()));
    f.read(reinterpret_cast<char*>(buffer->data()), f.size());
}

// libjpeg-turbo alone: header, then the full decode into a preallocated BGRX
// buffer. With `readFile` the file is read every time, as Load must do.
void TurboDecode(benchmark::State& state, bool readFile) {
    Inputs& in = Data();
    std::vector<unsigned char> jpeg;
    ReadFile(in.photo, &jpeg);
    std::vector<unsigned char> pixels(std::size_t(kWidth) * kHeight * 4);
    tjhandle handle = tjInitDecompress();
    for (auto _ : state) {
        if (readFile)
            ReadFile(in.photo, &jpeg);
        int w = 0, h = 0, sub = 0, cs = 0;
        tjDecompressHeader3(handle, jpeg.data(), jpeg.size(), &w, &h, &sub, &cs);
        if (tjDecompress2(handle, jpeg.data(), jpeg.size(), pixels.data(), w, w * 4, h, TJPF_BGRX,
                          0) != 0)
            state.SkipWithError("decode failed");
        benchmark::DoNotOptimize(pixels.data());
    }
    tjDestroy(handle);
}

void BM_TurboDecode_ReadingFile(benchmark::State& state) {
    TurboDecode(state, true);
}
void BM_TurboDecode_FreshImage(benchmark::State& state) {
    Inputs& in = Data();
    std::vector<unsigned char> jpeg;
    ReadFile(in.photo, &jpeg);
    tjhandle handle = tjInitDecompress();
    for (auto _ : state) {
        QImage image(kWidth, kHeight, QImage::Format_RGB32);
        tjDecompress2(handle, jpeg.data(), jpeg.size(), image.bits(), kWidth, kWidth * 4, kHeight,
                      TJPF_BGRX, 0);
        benchmark::DoNotOptimize(image.bits());
    }
    tjDestroy(handle);
}

// libjpeg-turbo's own 1/8 DCT reduction: the floor for a preview that must
// decode the photo itself (every coefficient is still entropy-decoded).
void BM_TurboDecode_Eighth(benchmark::State& state) {
    Inputs& in = Data();
    std::vector<unsigned char> jpeg;
    std::vector<unsigned char> pixels(std::size_t(kWidth / 8) * (kHeight / 8) * 4);
    tjhandle handle = tjInitDecompress();
    for (auto _ : state) {
        ReadFile(in.photo, &jpeg);
        if (tjDecompress2(handle, jpeg.data(), jpeg.size(), pixels.data(), kWidth / 8,
                          kWidth / 8 * 4, kHeight / 8, TJPF_BGRX, 0) != 0)
            state.SkipWithError("decode failed");
        benchmark::DoNotOptimize(pixels.data());
    }
    tjDestroy(handle);
}

void BM_TurboDecode_FromMemory(benchmark::State& state) {
    TurboDecode(state, false);
}

void Load(benchmark::State& state, const QString& path) {
    for (auto _ : state) {
        CDibDC dib;
        if (!dib.Load(path, 32))
            state.SkipWithError("load failed");
        benchmark::DoNotOptimize(dib.Image().constBits());
    }
}
void BM_CDibDC_Load(benchmark::State& state) {
    Load(state, Data().photo);
}
void BM_CDibDC_Load_Turned(benchmark::State& state) {
    Load(state, Data().turned);
}

// The first-cut way: Qt's JPEG plugin through QImageReader.
void BM_QImageReader_Load(benchmark::State& state) {
    Inputs& in = Data();
    QImageReader::setAllocationLimit(0);
    for (auto _ : state) {
        QImageReader reader(in.photo);
        reader.setAutoTransform(true);
        QImage image = reader.read();
        if (image.format() != QImage::Format_RGB32)
            image = image.convertToFormat(QImage::Format_RGB32);
        if (image.isNull())
            state.SkipWithError("load failed");
        benchmark::DoNotOptimize(image.constBits());
    }
}

void Preview(benchmark::State& state, const QString& path) {
    for (auto _ : state) {
        QImage out;
        QSize full;
        QString error;
        if (!LoadJpegPreview(path, kPreviewBox, &out, &full, &error))
            state.SkipWithError("preview failed");
        state.counters["preview_w"] = out.width();
        state.counters["preview_h"] = out.height();
    }
}
void BM_Preview_NoThumbnail(benchmark::State& state) {
    Preview(state, Data().photo);
}
void BM_Preview_ExifThumbnail(benchmark::State& state) {
    Preview(state, Data().withThumb);
}

void BM_CDibDC_Save(benchmark::State& state) {
    Inputs& in = Data();
    CDibDC dib;
    dib.Image() = in.picture;
    const QString path = in.dir.filePath("export.jpg");
    QString error;
    for (auto _ : state) {
        if (!SaveAsJpeg(dib, path, &error))
            state.SkipWithError("save failed");
    }
    state.counters["MB"] = double(QFile(path).size()) / 1e6;
}

// The encoder settings considered for the export: (quality, chroma code).
void BM_Encode(benchmark::State& state) {
    Inputs& in = Data();
    JpegEncodeSettings settings;
    settings.quality = int(state.range(0));
    settings.chroma = state.range(1) == 444   ? ChromaSubsampling::Full444
                      : state.range(1) == 422 ? ChromaSubsampling::Half422
                                              : ChromaSubsampling::Quarter420;
    JpegStream out;
    QString error;
    for (auto _ : state) {
        if (!EncodeJpeg(in.picture, settings, &out, &error))
            state.SkipWithError("encode failed");
    }
    state.counters["MB"] = double(out.Size()) / 1e6;
}

BENCHMARK(BM_TurboDecode_FreshImage)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_TurboDecode_ReadingFile)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_TurboDecode_FromMemory)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CDibDC_Load)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CDibDC_Load_Turned)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_QImageReader_Load)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_TurboDecode_Eighth)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Preview_NoThumbnail)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Preview_ExifThumbnail)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CDibDC_Save)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Encode)
    ->Args({95, 444})
    ->Args({92, 444})
    ->Args({95, 420})
    ->Args({90, 420})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// Collects the median (or the only) real time of each benchmark.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            const std::string name = run.run_name.function_name +
                                     (run.run_name.args.empty() ? "" : "/" + run.run_name.args);
            const Times times{run.GetAdjustedRealTime(), run.GetAdjustedCPUTime()};
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median")
                m_median[name] = times;
            else if (run.run_type == Run::RT_Iteration && !m_median.count(name))
                m_median[name] = times;
        }
        ConsoleReporter::ReportRuns(runs);
    }
    void PrintRatios() const {
        std::printf("\nMedians, real time (CPU time) in ms, and their ratios:\n");
        Ratio("BM_CDibDC_Load", "BM_TurboDecode_ReadingFile", "target <= 1.15");
        Ratio("BM_CDibDC_Load", "BM_TurboDecode_FromMemory", "stricter baseline");
        Ratio("BM_TurboDecode_FreshImage", "BM_TurboDecode_FromMemory", "page faults alone");
        Ratio("BM_CDibDC_Load_Turned", "BM_CDibDC_Load", "orientation 6 against 1");
        Ratio("BM_QImageReader_Load", "BM_TurboDecode_ReadingFile", "Qt plugin, for comparison");
        Ratio("BM_Preview_NoThumbnail", "BM_CDibDC_Load", "target <= 0.6");
        Ratio("BM_Preview_NoThumbnail", "BM_TurboDecode_ReadingFile", "against the bare decode");
        Ratio("BM_TurboDecode_Eighth", "BM_TurboDecode_ReadingFile", "libjpeg-turbo's own 1/8");
        Ratio("BM_Preview_ExifThumbnail", "BM_CDibDC_Load", "target < 15 ms absolute");
        Ratio("BM_CDibDC_Save", "BM_CDibDC_Load", "");
    }

private:
    void Ratio(const char* what, const char* base, const char* note) const {
        const auto a = m_median.find(what), b = m_median.find(base);
        if (a == m_median.end() || b == m_median.end())
            return;
        const Times x = a->second, y = b->second;
        std::printf("  %-25s %7.1f (%6.1f) / %-26s %7.1f (%6.1f) = %5.3f (%5.3f)  %s\n", what,
                    x.real, x.cpu, base, y.real, y.cpu, x.real / y.real, x.cpu / y.cpu, note);
    }
    struct Times {
        double real = 0;
        double cpu = 0;
    };
    std::map<std::string, Times> m_median;
};

} // namespace

int main(int argc, char** argv) {
    std::vector<char*> args(argv, argv + argc);
    bool repetitionsGiven = false;
    for (int i = 1; i < argc; ++i)
        repetitionsGiven |= std::string(argv[i]).rfind("--benchmark_repetitions", 0) == 0;
    std::string repetitions = "--benchmark_repetitions=5";
    std::string aggregates = "--benchmark_report_aggregates_only=true";
    if (!repetitionsGiven) {
        args.push_back(repetitions.data());
        args.push_back(aggregates.data());
    }
    int count = int(args.size());
    benchmark::Initialize(&count, args.data());
    std::printf("Preparing a %d x %d photo...\n", kWidth, kHeight);
    std::printf("JPEG file: %.2f MB\n", double(Data().photoBytes) / 1e6);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatios();
    benchmark::Shutdown();
    return 0;
}
