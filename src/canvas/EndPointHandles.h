#pragma once
// The handles of the selected dimension's end points: where they are drawn,
// which one a press reaches, and the Shift constraint of an end being dragged.
// Plain geometry over view and photo points.

#include "platform/WinTypes.h"

namespace handles {

// A handle is a 7 x 7 square centred on its end point (view pixels).
constexpr int kHandleSize = 7;
// A press reaches a handle within this many view pixels of its square.
constexpr int kHandleReach = 4;

// Which handle a press at view point q reaches: 0 for the one at `start`,
// 1 for the one at `end`, -1 for neither. When both are in reach the nearer
// wins (the start on a tie).
int HandleAt(POINT start, POINT end, POINT q);

// The point nearest to `free` on the line through `fixed` that runs
// horizontally, vertically or at 45 degrees, whichever of the eight
// directions is closest to fixed -> free.
POINT ConstrainTo45(POINT fixed, POINT free);

} // namespace handles
