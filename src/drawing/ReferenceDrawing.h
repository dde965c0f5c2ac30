#pragma once
// How the reference shows on the photo: the reference plane as a dashed
// outline with a faint grid of ten cells a side, and the mark on the
// reference dimension. Drawn on the canvas in view coordinates (`view`
// given) or on the exported picture at photo scale (`view` null).

#include "document/MeasureReference.h"
#include "document/Records.h"
#include "drawing/ViewMapping.h"

class QPainter;

constexpr int kPlaneGridCells = 10;

void DrawReferencePlane(QPainter& painter, const ReferencePlane& plane, const ViewMapping* view);
// A small diamond a quarter along the line in the dimension's colour, ringed
// white and black so it shows on light and dark photos alike.
void DrawReferenceMark(QPainter& painter, const Dimension& dim, const ViewMapping* view);
