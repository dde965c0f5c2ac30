#pragma once
// Exact integer geometry shared by the record renderers and the select tool's
// hit tests. Every function is pure; the rounding rules are part of the look:
//   TruncToInt(v)  truncates toward zero (clamped to the int32 range, NaN -> 0)
//   RoundHalfUp(v) adds 0.5, then truncates toward zero (so -2.5 -> -2)
//
// Angles are radians in doubles; a positive angle turns counter-clockwise as
// seen on the screen (y grows downwards). Escapements are tenths of a degree.

#include "platform/LogFont.h"
#include "platform/WinTypes.h"

#include <array>
#include <cstdint>

int32_t TruncToInt(double v);
int32_t RoundHalfUp(double v);

// Rotates `count` points in place about `centre` by `angle`:
//   x' = R(c.x + cos·(x - c.x) + sin·(y - c.y)),  y' = R(c.y + cos·(y - c.y) - sin·(x - c.x))
// processed from the last point to the first; a count below 1 changes nothing.
void RotatePoints(double angle, POINT centre, POINT* points, int count);

// The 13 points of four cubic Bezier segments approximating the ellipse
// inscribed in `rc`, starting at the left end of the horizontal axis and
// running over the top.
void EllipseBezierPoints(const RECT& rc, POINT out[13]);

// Direction angle of the line p1 -> p2 on the screen: -atan2(dy, dx).
double LineAngle(POINT p1, POINT p2);

// The two arrowheads of a dimension line, tip first. L = 10·scale long,
// L/2 wide; the vertices at p1 are rounded, those at p2 truncated.
struct ArrowHeads {
    std::array<POINT, 3> atStart;
    std::array<POINT, 3> atEnd;
};
ArrowHeads DimensionArrowHeads(POINT p1, POINT p2, double scale);

// lfHeight of a font drawn at `scale`: T(lfHeight × scale). A height that
// would vanish keeps at least one pixel (its sign kept); a stored 0 (the
// system's default size) counts as the default -13 so it scales like any other.
int32_t ScaledFontHeight(int32_t lfHeight, double scale);

// Copy of `lf` with the height scaled as above; every other field as stored.
LOGFONTA ScaledLogFont(const LOGFONTA& lf, double scale);

// Escapement of a dimension's label for the line angle `a`: whole degrees,
// in tenths: 10 × T(a × 57.295780490442965).
int32_t LabelEscapement(double angle);

// M: the integer midpoint of a dimension's ends, halves truncated toward
// zero. Its label is drawn and hit about it, and the range finder's steps
// centre the view on it.
POINT DimensionMidpoint(POINT p1, POINT p2);

// Placement of a dimension's value label for a text extent (cx, cy), unrotated.
struct LabelPlacement {
    POINT mid;    // M: integer midpoint of the line
    POINT centre; // E: centre of the label (and of the selection ellipse)
    POINT origin; // O: top-left corner of the rotated text cell
    RECT ellipse; // the selection ellipse's rectangle before rotation (margin 5)
};
LabelPlacement DimensionLabelPlacement(POINT p1, POINT p2, double angle, int32_t cx, int32_t cy);

// Inner margin of a note box at `scale`: T(5 × scale).
int32_t NoteMargin(double scale);

// A note's box [left, right) × [top, bottom) for its corner `anchor` and a
// text block of `text` size (widest line × lines · line height) at `scale`:
// the text with the inner margin on every side. Painting draws this box and
// the select tool hits it. 64-bit, so no anchor overflows.
struct NoteBox {
    int64_t left = 0, top = 0, right = 0, bottom = 0;
    bool Contains(POINT p) const {
        return left <= p.x && p.x < right && top <= p.y && p.y < bottom;
    }
};
NoteBox NoteBoxAt(POINT anchor, SIZE text, double scale);
