#include "lumoimage/ImageOrientation.h"

#include <QTransform>

QSize UprightSize(QSize stored, int orientation) {
    return orientation >= 5 && orientation <= 8 ? stored.transposed() : stored;
}

QImage TurnUpright(const QImage& image, int orientation) {
    // Qt turns RGB32 pictures by quarter turns with its tiled rotation
    // routines; the transposing cases add one mirroring pass.
    switch (orientation) {
    case 2:
        return image.mirrored(true, false);
    case 3:
        return image.mirrored(true, true);
    case 4:
        return image.mirrored(false, true);
    case 5: {  // transpose: quarter turn clockwise, then mirror left-right
        const QImage turned = image.transformed(QTransform().rotate(90));
        return turned.isNull() ? turned : turned.mirrored(true, false);
    }
    case 6:
        return image.transformed(QTransform().rotate(90));
    case 7: {  // transverse: quarter turn clockwise, then mirror top-bottom
        const QImage turned = image.transformed(QTransform().rotate(90));
        return turned.isNull() ? turned : turned.mirrored(false, true);
    }
    case 8:
        return image.transformed(QTransform().rotate(270));
    default:
        return image;
    }
}
