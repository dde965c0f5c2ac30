// Loading and saving a photo-info file with 100,000 dimensions and 100,000
// notes, each beside the same number of bytes moved with one plain fread or
// fwrite in the same run. A save syncs its data before the rename and the
// folder after it (WriteFileDurably), so the save is also shown beside an
// fwrite that syncs.

#include "document/PhotoInfo.h"
#include "platform/Cp950.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <memory>
#include <random>
#include <unistd.h>

namespace {

constexpr int kRecords = 100000;

QByteArray RandomText(std::mt19937& rng, int minBytes, int maxBytes) {
    static const char* const kWords[] = {
        "\xB5\xA1\xA4\xE1", "\xAA\xF9",         "\xC0\xF0", "\xBC\x70\xA9\xD0", "wall", "2.45m",
        "window",           "\xAA\x46\xAD\xB1", " "};
    const int target = std::uniform_int_distribution<int>(minBytes, maxBytes)(rng);
    QByteArray text;
    while (text.size() < target)
        text += kWords[rng() % (sizeof kWords / sizeof kWords[0])];
    return text.left(
        qsizetype(cp950::CutLength(text.constData(), size_t(text.size()), size_t(maxBytes))));
}

struct Fixture {
    QTemporaryDir dir;
    QString loadPath;
    QString savePath;
    QByteArray loadPathLocal;
    QByteArray savePathLocal;
    PhotoInfo info;
    QByteArray bytes;

    Fixture() {
        std::mt19937 rng(12345);
        info.dimensions.reserve(kRecords);
        for (int i = 0; i < kRecords; ++i) {
            Dimension dim;
            dim.colour = rng() & 0xFFFFFF;
            dim.start =
                POINT{static_cast<int32_t>(rng() % 6000), static_cast<int32_t>(rng() % 4000)};
            dim.end = POINT{static_cast<int32_t>(rng() % 6000), static_cast<int32_t>(rng() % 4000)};
            NormalizeDimensionEnds(dim);
            cp950::CopyToField(dim.value, QByteArray::number(rng() % 100000 / 100.0));
            dim.font = DefaultLogFont();
            info.dimensions.push_back(dim);
        }
        info.notes.reserve(kRecords);
        for (int i = 0; i < kRecords; ++i) {
            InfoNote note;
            cp950::CopyToField(note.title, RandomText(rng, 6, 18));
            note.anchor =
                POINT{static_cast<int32_t>(rng() % 6000), static_cast<int32_t>(rng() % 4000)};
            cp950::CopyToField(note.text, RandomText(rng, 6, 40));
            note.font = DefaultLogFont();
            info.notes.push_back(note);
        }
        loadPath = dir.filePath("load.dat");
        savePath = dir.filePath("save.dat");
        loadPathLocal = loadPath.toLocal8Bit();
        savePathLocal = savePath.toLocal8Bit();
        bytes = info.Serialize();
        if (info.SaveToFile(loadPath) != 1)
            std::abort();
    }
};

Fixture& TheFixture() {
    static Fixture fixture;
    return fixture;
}

void BM_Load(benchmark::State& state) {
    Fixture& f = TheFixture();
    for (auto _ : state) {
        PhotoInfo info;
        if (info.LoadFromFile(f.loadPath) != 1 || info.notes.size() != kRecords)
            state.SkipWithError("load failed");
        benchmark::DoNotOptimize(info.notes.data());
    }
    state.SetBytesProcessed(state.iterations() * f.bytes.size());
}

void BM_LoadBaselineFread(benchmark::State& state) {
    Fixture& f = TheFixture();
    const size_t size = static_cast<size_t>(f.bytes.size());
    for (auto _ : state) {
        std::unique_ptr<char[]> buffer(new char[size]);
        FILE* file = std::fopen(f.loadPathLocal.constData(), "rb");
        if (!file || std::fread(buffer.get(), 1, size, file) != size)
            state.SkipWithError("fread failed");
        if (file)
            std::fclose(file);
        benchmark::DoNotOptimize(buffer.get());
    }
    state.SetBytesProcessed(state.iterations() * f.bytes.size());
}

void BM_Save(benchmark::State& state) {
    Fixture& f = TheFixture();
    for (auto _ : state) {
        if (f.info.SaveToFile(f.savePath) != 1)
            state.SkipWithError("save failed");
    }
    state.SetBytesProcessed(state.iterations() * f.bytes.size());
}

void BM_SaveBaselineFwrite(benchmark::State& state) {
    Fixture& f = TheFixture();
    const size_t size = static_cast<size_t>(f.bytes.size());
    for (auto _ : state) {
        FILE* file = std::fopen(f.savePathLocal.constData(), "wb");
        if (!file || std::fwrite(f.bytes.constData(), 1, size, file) != size)
            state.SkipWithError("fwrite failed");
        if (file)
            std::fclose(file);
    }
    state.SetBytesProcessed(state.iterations() * f.bytes.size());
}

// The same write made durable like a save: flushed and synced before closing.
void BM_SaveBaselineFwriteSync(benchmark::State& state) {
    Fixture& f = TheFixture();
    const size_t size = static_cast<size_t>(f.bytes.size());
    for (auto _ : state) {
        FILE* file = std::fopen(f.savePathLocal.constData(), "wb");
        if (!file || std::fwrite(f.bytes.constData(), 1, size, file) != size ||
            std::fflush(file) != 0 || fdatasync(fileno(file)) != 0)
            state.SkipWithError("fwrite failed");
        if (file)
            std::fclose(file);
    }
    state.SetBytesProcessed(state.iterations() * f.bytes.size());
}

void BM_ParseFromMemory(benchmark::State& state) {
    Fixture& f = TheFixture();
    for (auto _ : state) {
        PhotoInfo info;
        info.ReadBytes(f.bytes.constData(), static_cast<size_t>(f.bytes.size()));
        benchmark::DoNotOptimize(info.notes.data());
    }
    state.SetBytesProcessed(state.iterations() * f.bytes.size());
}

void BM_Serialize(benchmark::State& state) {
    Fixture& f = TheFixture();
    for (auto _ : state)
        benchmark::DoNotOptimize(f.info.Serialize().constData());
}

BENCHMARK(BM_Load)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadBaselineFread)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Save)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveBaselineFwrite)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveBaselineFwriteSync)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ParseFromMemory)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Serialize)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
