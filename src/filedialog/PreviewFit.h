#pragma once
// Where a picture is drawn inside the preview: fitted to the client area with
// its proportions kept and centred, in integer arithmetic.

#include <QRect>
#include <QSize>

// W x H picture in a w x h client area. Wider than the area (W*h > H*w): w wide,
// H*w/W high, centred vertically; taller: W*h/H wide, h high, centred
// horizontally; same proportions: the whole area. Divisions truncate; the
// products are 64-bit. An empty picture or area gives an empty rectangle.
QRect FitPictureRect(QSize picture, QSize client);
