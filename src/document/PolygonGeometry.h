#pragma once
// Plain geometry of simple polygons (convex or not) given by their corners
// in order, either way round: area, perimeter, whether a point lies inside,
// and the area of the union of several polygons.

#include <QPointF>
#include <QRectF>
#include <vector>

using Polygon = std::vector<QPointF>;

// Positive for corners counter-clockwise in a y-up frame (clockwise on the
// photo, whose y runs down).
double SignedArea(const Polygon& polygon);
double Perimeter(const Polygon& polygon);
// The smallest upright rectangle holding every corner (none: empty).
QRectF Bounds(const Polygon& polygon);
// Inside or on an edge.
bool ContainsPoint(const Polygon& polygon, QPointF p);
// The distance from `p` to the nearest point of the polygon's outline.
double DistanceToOutline(const Polygon& polygon, QPointF p);
// The area covered by at least one of the polygons: overlaps count once.
double UnionArea(const std::vector<Polygon>& polygons);
