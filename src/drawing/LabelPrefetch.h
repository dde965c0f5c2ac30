#pragma once
// Labels made on a second core while the window draws a picture a step at a
// time. Making a label (text turned to the line's angle, its halo) costs
// tens of microseconds and stamping a made one about one, so a new zoom with
// thousands of labels is mostly label making: a worker makes the labels the
// picture shows, the notes' first (the window draws them last), then the
// dimensions' in the order of their angles (text turned to an angle just
// used reuses its rasterised glyphs), while the window's steps come from the
// first one forwards, and hands them over each frame. The pictures are the
// same: a label is keyed by all it depends on.

#include "document/PhotoInfo.h"
#include "drawing/AnnotationRenderer.h"
#include "drawing/ViewMapping.h"

#include <QByteArray>
#include <QRect>
#include <memory>
#include <vector>

class LabelPrefetch {
public:
    LabelPrefetch();
    ~LabelPrefetch(); // stops the worker and waits for it
    LabelPrefetch(const LabelPrefetch&) = delete;
    LabelPrefetch& operator=(const LabelPrefetch&) = delete;

    // Starts making the labels `info` shows at `view` (the labels of
    // dimensions without a value: `computed`, by index) in the order opposite
    // to drawing, leaving out the selected records (drawn another way), the
    // records wholly outside `area` (the part of the picture drawn, in view
    // coordinates) and the steps before `drawnUntil`; stops the previous
    // run. The records are shared, never changed.
    void Start(std::shared_ptr<const PhotoInfo> info, std::vector<QByteArray> computed,
               const ViewMapping& view, const QRect& area, int selectedDim, int selectedNote,
               size_t drawnUntil = 0);
    // The caller has drawn every step before `step` (the steps of
    // DrawRecordSteps): the worker stops where it meets them.
    void DrawnUntil(size_t step);
    // Hands the labels made since the last call to `renderer`.
    void HandTo(AnnotationRenderer& renderer);
    // Stops the worker (it finishes the label it is making).
    void Stop();
    // Waits until the worker has made every label it is going to make
    // (tests, benchmarks).
    void Wait();

private:
    struct Run;
    struct Worker;
    // The worker's part: labels from the last record backwards.
    static void MakeLabels(Run& run, AnnotationRenderer& renderer, const PhotoInfo& info,
                           const std::vector<QByteArray>& computed, const ViewMapping& view,
                           const QRect& area, int selectedDim, int selectedNote);
    std::shared_ptr<Worker> m_worker;
    std::shared_ptr<Run> m_run;
};
