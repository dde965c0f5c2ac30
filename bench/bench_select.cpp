// Select-tool click on a busy photo: 1,000 notes of 200 characters each and
// 1,000 dimensions, driven through the canvas's own OnLButtonDown. The
// baseline is the same click on an empty document, measured in the same run;
// the cold case measures every text again (measurer emptied before each click).
#include "BenchRecords.h"
#include "canvas/CPhotoCanvas.h"
#include "common/CanvasAccess.h"
#include "document/Records.h"
#include "platform/Cp950.h"
#include "platform/LogFont.h"

#include <QApplication>
#include <QRandomGenerator>

#include <benchmark/benchmark.h>

#include <cstdio>

namespace {

constexpr int kPhotoW = 6000;
constexpr int kPhotoH = 4000;

// 200 characters: 50 CJK and 150 ASCII with two line breaks, 252 bytes.
QByteArray NoteText(int i) {
    QString text = QString::fromUtf8("客廳北牆窗戶左側");
    text += QStringLiteral(" wall %1 to window frame, check again on site ")
                .arg(i % 1000, 3, 10, QChar('0'));
    while (text.size() < 200)
        text += (text.size() % 3 == 0) ? QString::fromUtf8("尺") : QStringLiteral("ab\n");
    text.truncate(200);
    QByteArray bytes = cp950::FromQString(text);
    bytes.replace("\n", "\r\n");
    return bytes.left(qsizetype(cp950::CutLength(bytes.constData(), size_t(bytes.size()), 255)));
}

void Populate(CPhotoCanvas& canvas, int notes, int dimensions) {
    canvas.Model().Records().Clear();
    QRandomGenerator rng(5);
    for (int i = 0; i < notes; ++i) {
        InfoNote n = ScatteredNote(rng, kPhotoW, kPhotoH);
        cp950::CopyToField(n.text, NoteText(i));
        canvas.Model().Records().notes.push_back(n);
    }
    for (int i = 0; i < dimensions; ++i)
        canvas.Model().Records().dimensions.push_back(ScatteredDimension(rng, i, kPhotoW, kPhotoH));
}

// A click that misses everything tests every record: the slowest click.
void RunClicks(benchmark::State& state, int notes, int dimensions, bool cold) {
    CPhotoCanvas canvas;
    canvas.resize(870, 756);
    canvas.SetTool(ToolSelect);
    Populate(canvas, notes, dimensions);
    CanvasAccess::Zoom(canvas) = 0.2f;
    const POINT miss{-5000, -5000};
    for (auto _ : state) {
        if (cold) {
            state.PauseTiming();
            CanvasAccess::Renderer(canvas).Measurer().Clear();
            state.ResumeTiming();
        }
        canvas.OnLButtonDown(miss);
        canvas.OnLButtonUp(miss);
        state.PauseTiming();
        QCoreApplication::processEvents(); // the queued notification
        state.ResumeTiming();
    }
    if (canvas.Model().SelDim() != -1 || canvas.Model().SelNote() != -1)
        state.SkipWithError("the click hit a record");
}

void BM_SelectClickEmptyDocument(benchmark::State& state) {
    RunClicks(state, 0, 0, false);
}
void BM_SelectClick1000Notes1000Dimensions(benchmark::State& state) {
    RunClicks(state, 1000, 1000, false);
}
void BM_SelectClick1000Notes1000DimensionsCold(benchmark::State& state) {
    RunClicks(state, 1000, 1000, true);
}

} // namespace

BENCHMARK(BM_SelectClickEmptyDocument)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_SelectClick1000Notes1000Dimensions)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_SelectClick1000Notes1000DimensionsCold)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    InstallFontSubstitutes();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
