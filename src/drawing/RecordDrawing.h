#pragma once
// Draws the records of a document in list order with a renderer: on the
// canvas in view coordinates (`view` given) or on the exported picture at
// photo scale (`view` null). Screen and export both come through here.
// Records that cannot reach the part of the device the painter may change
// (its clip, or the device) are skipped, their labels not even made.

#include "drawing/ViewMapping.h"

#include <chrono>
#include <cstddef>

class AnnotationRenderer;
class QPainter;
class PhotoInfo;

// Every dimension; the one at `selectedDim` in its selected look.
void DrawAllDimensions(AnnotationRenderer& renderer, QPainter& painter, const PhotoInfo& info,
                       int selectedDim, const ViewMapping* view);
// Every note; the one at `selectedNote` in its selected look.
void DrawAllNotes(AnnotationRenderer& renderer, QPainter& painter, const PhotoInfo& info,
                  int selectedNote, const ViewMapping* view);

// Every area (or every angle); the one at `selected` in its selected look.
// Their labels come from the renderer's ComputedShapes, brought up to the
// records. The window draws areas before the dimensions (under them, over
// the plane) and angles after them.
enum class ShapeKind { Areas, Angles };
void DrawAllShapes(AnnotationRenderer& renderer, QPainter& painter, const PhotoInfo& info,
                   ShapeKind kind, int selected, const ViewMapping* view);

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
// the next step to draw, RecordSteps(info) once all are drawn. Labels are
// made as they come, with no frame budget of the renderer's, so the finished
// picture is exact.
size_t DrawRecordSteps(AnnotationRenderer& renderer, QPainter& painter, const PhotoInfo& info,
                       int selectedDim, int selectedNote, const ViewMapping* view, size_t from,
                       std::chrono::steady_clock::time_point deadline, int selectedArea = -1,
                       int selectedAngle = -1);
size_t RecordSteps(const PhotoInfo& info);

// Makes every record's label ready for drawing at `view` (null: photo scale)
// without drawing anything; see AnnotationRenderer::PrepareDimension.
void PrepareAllRecords(AnnotationRenderer& renderer, const PhotoInfo& info,
                       const ViewMapping* view);
