#pragma once
// The program's own pictures (icons, cursors, bitmaps), drawn from the SVG
// files compiled in under ":/res/".

#include <QCursor>
#include <QIcon>
#include <QPixmap>
#include <QSize>

// Icon `id` (":/res/icon<id>.svg") rendered at the usual sizes.
QIcon ResourceIcon(int id);

// Bitmap `id` (":/res/bitmap<id>.svg") rendered at exactly `size` pixels;
// a null pixmap when the picture is missing.
QPixmap ResourceBitmap(int id, const QSize& size);

// Cursor `id` (":/res/cursor<id>.svg", 32 x 32) with its hot spot.
QCursor ResourceCursor(int id, int hotX, int hotY);
