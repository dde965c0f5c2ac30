#pragma once
// The geometry of areas and angles as drawn (AnnotationRenderer::DrawArea
// and DrawAngle in ShapeDrawing.cpp): plain arithmetic over view points.

#include "platform/WinTypes.h"

#include <QPointF>
#include <QRect>

// The alpha of an area's fill: its colour over the photo at about 28 %.
constexpr int kAreaFillAlpha = 72;

// An angle's arc at the vertex and where its label goes.
struct AngleArc {
    QRect box;           // the circle the arc lies on
    int startSixteenths; // QPainter::drawArc's start, 1/16 degree, counter-clockwise from 3 o'clock
    int spanSixteenths;  // the sweep from arm 1 to arm 2, at most 180 degrees either way
    QPointF labelCentre; // on the bisector, beyond the arc by half the label's size
};

// The arc's radius is a third of the shorter arm, between 6 and 40 pixels
// times `scale`; the label of size `label` sits just outside it.
AngleArc AngleArcAt(POINT arm1, POINT vertex, POINT arm2, double scale, QSize label);
