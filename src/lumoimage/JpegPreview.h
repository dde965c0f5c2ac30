#pragma once
// A reduced, upright decode of a JPEG photo for small previews.

#include <QImage>
#include <QSize>
#include <QString>

// Decodes `path` just large enough that, fitted into `box` with its
// proportions kept, the picture is drawn from at least as many pixels as it
// covers. Uses the Exif thumbnail when it is large enough and has the photo's
// proportions, otherwise libjpeg-turbo's DCT reduction (the smallest factor
// that still covers the box). `*out` gets the upright picture and `*fullSize`
// the upright full pixel size of the photo; both are changed only on success.
// On failure returns false with a short reason in `*error`.
bool LoadJpegPreview(const QString& path, QSize box, QImage* out, QSize* fullSize, QString* error);
