#pragma once
// Where a record can put pixels in the view, bounded from above without
// measuring its text: the canvas skips records whose bound misses the part
// being painted, so a zoom step or a pan makes labels only for records in or
// near the view. The bounds are generous (text widths are summed from the
// cached widths of their characters, plus the font's height for overhang and
// kerning); they never cut off a pixel the renderer draws.

#include "document/Records.h"
#include "drawing/ViewMapping.h"

#include <QByteArray>
#include <QRect>

class TextMeasurer;

// `view` null: photo coordinates at scale 1. `computed`: the UTF-8 label
// drawn in place of the empty value (a computed length), null: the value.
QRect DimensionBound(TextMeasurer& measurer, const Dimension& dim, const ViewMapping* view,
                     const QByteArray* computed = nullptr);
QRect NoteBound(TextMeasurer& measurer, const InfoNote& note, const ViewMapping* view);
// The box around view points (an area's corners, an angle's points), grown
// by two pixels for a selected outline.
QRect PointsBound(const POINT* points, size_t count);
