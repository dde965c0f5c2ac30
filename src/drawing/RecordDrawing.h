#pragma once
// Draws the records of a document in list order with a renderer: on the
// canvas in view coordinates (`view` given) or on the exported picture at
// photo scale (`view` null). Screen and export both come through here.
// Records that cannot reach the part of the device the painter may change
// (its clip, or the device) are skipped, their labels not even made.

#include "drawing/ViewMapping.h"

class AnnotationRenderer;
class QPainter;
class PhotoInfo;

// Every dimension; the one at `selectedDim` in its selected look.
void DrawAllDimensions(AnnotationRenderer& renderer, QPainter& painter, const PhotoInfo& info,
                       int selectedDim, const ViewMapping* view);
// Every note; the one at `selectedNote` in its selected look.
void DrawAllNotes(AnnotationRenderer& renderer, QPainter& painter, const PhotoInfo& info,
                  int selectedNote, const ViewMapping* view);

// Every area (drawn before the dimensions, under them) and every angle
// (after the dimensions); the one at `selected` in its selected look. Their
// labels come from the renderer's ComputedShapes, brought up to the records.
void DrawAllAreas(AnnotationRenderer& renderer, QPainter& painter, const PhotoInfo& info,
                  int selected, const ViewMapping* view);
void DrawAllAngles(AnnotationRenderer& renderer, QPainter& painter, const PhotoInfo& info,
                   int selected, const ViewMapping* view);

// Every record as an exported picture shows it, none selected: areas,
// dimensions (with the reference), angles, notes.
void DrawAllRecords(AnnotationRenderer& renderer, QPainter& painter, const PhotoInfo& info,
                    const ViewMapping* view);
// Whether `info` holds any record DrawAllRecords draws.
bool HasRecords(const PhotoInfo& info);

// Makes every record's label ready for drawing at `view` (null: photo scale)
// without drawing anything; see AnnotationRenderer::PrepareDimension.
void PrepareAllRecords(AnnotationRenderer& renderer, const PhotoInfo& info,
                       const ViewMapping* view);
