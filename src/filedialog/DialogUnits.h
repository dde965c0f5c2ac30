#pragma once
// Dialog units, as dialog templates give positions and sizes: a horizontal unit
// is a quarter of the font's average character width, a vertical unit an
// eighth of its height.

#include <QRect>
#include <QSize>

class QFont;

// Average width of the letters A-Z a-z (rounded as Windows does) and the
// character height of `font`.
QSize DialogBaseUnits(const QFont& font);

// x*baseX/4, y*baseY/8 for the position and the size.
QRect DialogUnitsToPixels(const QRect& units, QSize base);
