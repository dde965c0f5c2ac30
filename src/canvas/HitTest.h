#pragma once
// The select tool's hit tests.
//
// HitTestNote: the note's box as it is drawn (AnnotationRenderer::NoteBoxOf),
// left/top inclusive; the point in the coordinates of `view` (view
// coordinates, or photo coordinates when `view` is null).
//
// HitTestDimension, in photo coordinates: a click strictly closer than
// trunc(4.0 / zoom) photo pixels to the segment (its perpendicular foot inside
// the segment's extent), or inside the value label's box above the midpoint,
// turned with the line. It measures the label with the stored font through a
// TextMeasurer, which caches per font and text.

#include "document/Records.h"
#include "document/ShapeRecords.h"
#include "drawing/ViewMapping.h"
#include "platform/WinTypes.h"

class AnnotationRenderer;
class TextMeasurer;

bool HitTestNote(const InfoNote& note, POINT p, AnnotationRenderer& renderer,
                 const ViewMapping* view);
bool HitTestDimension(const Dimension& dim, POINT p, float zoom, TextMeasurer& measurer);

// trunc(4.0 / zoom) with the zoom's 32-bit value: 4 at 1.0, 8 at 0.5, 19 at 0.2.
int64_t LineTolerance(float zoom);

// An area is hit inside its polygon (even-odd) or strictly closer than
// LineTolerance(zoom) photo pixels to its outline; an angle closer than that
// to either arm. Photo coordinates.
bool HitTestArea(const AreaRecord& area, POINT p, float zoom);
bool HitTestAngle(const AngleRecord& angle, POINT p, float zoom);
