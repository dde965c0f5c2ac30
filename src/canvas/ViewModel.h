#pragma once
// The canvas's view arithmetic over plain numbers: layout of the visible part
// of the photo in the client area, clamping, zoom steps, centring and panning.
// Products and quotients are formed in double from the 32-bit float zoom and
// truncated toward zero; integer halves truncate toward zero.

#include "platform/WinTypes.h"

#include <QPointF>

namespace viewmodel {

// Shifts `src` back inside a photo of `photo` size (src is never larger than
// the photo, so at most one side per axis is out).
void ClampSourceRect(RECT& src, SIZE photo);

// Lays out a photo of `photo` size in a client area of `client` size: refits
// `zoom` when `fit` is set, sets `dst` (centred, never larger than the client)
// and resizes `src` about its centre to the part that fits, then clamps it.
// An empty client area only empties `dst`.
void UpdateLayout(SIZE client, SIZE photo, bool fit, float& zoom, RECT& src, RECT& dst);

// The zoom a zoom command leads to from `zoom`: the next step of kZoomSteps
// up or down, 1.0 for actual size, or `zoom` itself when the command has
// nowhere to go. Fit keeps `zoom`: the layout replaces it once the photo and
// the client area have a size to fit.
float ZoomAfter(int command, float zoom);

// Scrolls `src` so that `p` is at its centre, as far as the photo allows.
void CentreOn(RECT& src, POINT p, SIZE photo);

// One drag step of the photo from the view position `last` to `q`. The view
// distance is converted to photo pixels and added to `remainder`; the whole
// pixels are applied (the photo follows the mouse) and the fraction stays in
// `remainder`, so slow drags at zooms above 1 still scroll. `last` becomes q.
// Returns the photo pixels applied before clamping.
POINT PanBy(RECT& src, POINT& last, POINT q, float zoom, SIZE photo, double remainder[2]);

// The step from view position `last` to `q` in whole photo pixels: the view
// distance divided by the zoom is added to `remainder`, the whole pixels are
// taken out and returned, the fraction stays for the next step. `last`
// becomes q. Panning (with the sign turned) and dragging records share it.
POINT TakeWholePixels(POINT& last, POINT q, float zoom, double remainder[2]);

// Shifts `src` (laid out for `zoom` at `dst`) so that the photo position
// `photoPoint` lies under view point `cursor`, to the nearest photo pixel,
// then clamps it into the photo.
void KeepPhotoPointAt(RECT& src, const RECT& dst, float zoom, QPointF photoPoint, POINT cursor,
                      SIZE photo);

} // namespace viewmodel
