#pragma once
// Draws the records of a document in list order with a renderer: on the
// canvas in view coordinates (`view` given) or on the exported picture at
// photo scale (`view` null). Screen and export both come through here.
// Records that cannot reach the part of the device the painter may change
// (its clip, or the device) are skipped, their labels not even made.

#include "drawing/ViewMapping.h"

#include <chrono>
#include <cstddef>
#include <cstdint>

class AnnotationRenderer;
class QPainter;
class PhotoInfo;

// Every dimension; the one at `selectedDim` in its selected look.
void DrawAllDimensions(AnnotationRenderer& renderer, QPainter& painter, const PhotoInfo& info,
                       int selectedDim, const ViewMapping* view);
// Every note; the one at `selectedNote` in its selected look.
void DrawAllNotes(AnnotationRenderer& renderer, QPainter& painter, const PhotoInfo& info,
                  int selectedNote, const ViewMapping* view);

// Every record as an exported picture shows it, none selected: the plane,
// areas, dimensions (with the reference mark), angles, notes, as
// DrawRecordSteps draws them.
void DrawAllRecords(AnnotationRenderer& renderer, QPainter& painter, const PhotoInfo& info,
                    const ViewMapping* view);
// Whether `info` holds any record DrawAllRecords draws.
bool HasRecords(const PhotoInfo& info);

// The same picture as DrawAllDimensions then DrawAllNotes, drawn a step at a
// time: the reference plane, each area, each dimension (with its reference
// mark), each angle, each note. Draws from step `from` on and stops at the
// first step boundary after `deadline` (at least one step is drawn); returns
// the next step to draw, RecordSteps(info) once all are drawn (or `until`). Labels are
// made as they come, with no frame budget of the renderer's, so the finished
// picture is exact.
size_t DrawRecordSteps(AnnotationRenderer& renderer, QPainter& painter, const PhotoInfo& info,
                       int selectedDim, int selectedNote, const ViewMapping* view, size_t from,
                       std::chrono::steady_clock::time_point deadline, int selectedArea = -1,
                       int selectedAngle = -1, size_t until = SIZE_MAX);
size_t RecordSteps(const PhotoInfo& info);
// The first steps, which blend with what lies under them (the plane's grid
// and the areas' translucent fills): a picture of the records kept over the
// photo leaves them out, and they are drawn straight onto the photo.
size_t TranslucentSteps(const PhotoInfo& info);
// The steps up to and including the last dimension.
size_t StepsThroughDimensions(const PhotoInfo& info);

// Makes every record's label ready for drawing at `view` (null: photo scale)
// without drawing anything; see AnnotationRenderer::PrepareDimension.
void PrepareAllRecords(AnnotationRenderer& renderer, const PhotoInfo& info,
                       const ViewMapping* view);
