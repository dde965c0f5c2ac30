#include "drawing/LabelPrefetch.h"

#include "drawing/RecordBounds.h"
#include "drawing/RecordDrawing.h"
#include "drawing/RenderGeometry.h"
#include "platform/BackgroundWork.h"

#include <QMutex>
#include <QMutexLocker>
#include <QScopeGuard>
#include <QThread>
#include <algorithm>
#include <atomic>
#include <iterator>
#include <mutex>
#include <utility>

namespace {
// The worker's own label images are only on their way to the window's
// renderer: a small cache keeps its fonts and measures, not the pictures.
constexpr size_t kWorkerLabelBytes = 4u << 20;
// Labels handed over at a time by the worker, and taken at most per frame
// (adopting one costs about a microsecond).
constexpr size_t kBatch = 16;
constexpr size_t kMaxTakenPerFrame = 1024;

// A worker of its own: the shared workers may be halving a large photo for
// seconds when the view is zoomed.
WorkerPool& LabelWorker() {
    static WorkerPool pool(1);
    return pool;
}
} // namespace

// One renderer for every run; a run holds it while it makes labels.
struct LabelPrefetch::Worker {
    QMutex busy;
    AnnotationRenderer renderer{kWorkerLabelBytes};
};

struct LabelPrefetch::Run {
    std::atomic<bool> stop{false};
    std::atomic<size_t> drawnUntil{0};
    QMutex mutex;
    std::vector<AnnotationRenderer::MadeLabel> ready;
    QFuture<void> future;
};

LabelPrefetch::LabelPrefetch() : m_worker(std::make_shared<Worker>()) {}

LabelPrefetch::~LabelPrefetch() {
    Stop();
    QMutexLocker wait(&m_worker->busy);
}

void LabelPrefetch::Start(std::shared_ptr<const PhotoInfo> info, std::vector<QByteArray> computed,
                          const ViewMapping& view, const QRect& area, int selectedDim,
                          int selectedNote, size_t drawnUntil) {
    Stop();
    auto run = std::make_shared<Run>();
    run->drawnUntil = drawnUntil;
    m_run = run;
    run->future = LabelWorker().Run([run, worker = m_worker, info = std::move(info),
                                     computed = std::move(computed), view, area, selectedDim,
                                     selectedNote] {
        QMutexLocker hold(&worker->busy);
        // Only a core the window's painting leaves idle: with one core per
        // thread busy, the frames would wait for labels they may not need.
        QThread* thread = QThread::currentThread();
        const QThread::Priority was = thread->priority();
        thread->setPriority(QThread::IdlePriority);
        const auto restore = qScopeGuard([&] { thread->setPriority(was); });
        MakeLabels(*run, worker->renderer, *info, computed, view, area, selectedDim, selectedNote);
    });
}

void LabelPrefetch::MakeLabels(Run& run, AnnotationRenderer& renderer, const PhotoInfo& info,
                               const std::vector<QByteArray>& computed, const ViewMapping& view,
                               const QRect& area, int selectedDim, int selectedNote) {
    const size_t dimsFrom = StepsThroughDimensions(info) - info.dimensions.size();
    const size_t notesFrom = RecordSteps(info) - info.notes.size();
    std::vector<AnnotationRenderer::MadeLabel> made;
    const auto handOver = [&] {
        QMutexLocker lock(&run.mutex);
        for (auto& label : made)
            run.ready.push_back(std::move(label));
        made.clear();
    };
    // Notes are drawn last, so they are made first, each from the last.
    for (size_t n = info.notes.size(); n-- > 0;) {
        if (run.stop || run.drawnUntil > notesFrom + n)
            return handOver();
        if (static_cast<int>(n) != selectedNote &&
            NoteBound(renderer.Measurer(), info.notes[n], &view).intersects(area))
            renderer.PrepareInfoNote(info.notes[n], &view, &made);
        if (made.size() >= kBatch)
            handOver();
    }
    // The dimensions the picture shows, from the last, then in the order of
    // their labels' angles: text turned to an angle it was turned to just
    // before reuses the glyphs rasterised for it (a few angles are kept),
    // several times cheaper than rasterising them turned anew.
    struct Turned {
        int32_t escapement;
        size_t index;
    };
    std::vector<Turned> dims;
    for (size_t d = info.dimensions.size(); d-- > 0;) {
        if (run.stop)
            return handOver();
        const Dimension& dim = info.dimensions[d];
        const bool hasText = d < computed.size() && !computed[d].isEmpty();
        if (static_cast<int>(d) != selectedDim &&
            DimensionBound(renderer.Measurer(), dim, &view, hasText ? &computed[d] : nullptr)
                .intersects(area))
            dims.push_back({LabelEscapement(LineAngle(dim.start, dim.end)), d});
    }
    std::stable_sort(dims.begin(), dims.end(),
                     [](const Turned& a, const Turned& b) { return a.escapement < b.escapement; });
    for (const Turned& turned : dims) {
        if (run.stop)
            return handOver();
        const size_t d = turned.index;
        if (run.drawnUntil > dimsFrom + d)
            continue; // the window has drawn it
        const bool hasText = d < computed.size() && !computed[d].isEmpty();
        renderer.PrepareDimension(info.dimensions[d], &view, hasText ? &computed[d] : nullptr,
                                  &made);
        if (made.size() >= kBatch)
            handOver();
    }
    handOver();
}

void LabelPrefetch::DrawnUntil(size_t step) {
    if (m_run)
        m_run->drawnUntil = step;
}

void LabelPrefetch::HandTo(AnnotationRenderer& renderer) {
    if (!m_run)
        return;
    std::vector<AnnotationRenderer::MadeLabel> ready;
    {
        // The worker runs at idle priority: when it holds the lock it may not
        // run again for a while, and the frame does not wait for it.
        std::unique_lock<QMutex> lock(m_run->mutex, std::try_to_lock);
        if (!lock.owns_lock())
            return;
        auto& waiting = m_run->ready;
        const size_t n = std::min(waiting.size(), kMaxTakenPerFrame);
        ready.assign(std::make_move_iterator(waiting.begin()),
                     std::make_move_iterator(waiting.begin() + static_cast<std::ptrdiff_t>(n)));
        waiting.erase(waiting.begin(), waiting.begin() + static_cast<std::ptrdiff_t>(n));
    }
    renderer.AdoptLabels(ready);
}

void LabelPrefetch::Stop() {
    if (m_run)
        m_run->stop = true;
    m_run.reset();
}

void LabelPrefetch::Wait() {
    if (m_run)
        m_run->future.waitForFinished();
}
