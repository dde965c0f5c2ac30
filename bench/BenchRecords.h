#pragma once
// Records scattered over a photo for the benchmarks: red dimensions up to 300
// pixels long each way with values such as "123.4", and notes placed so that
// their boxes start inside the photo.

#include "document/Records.h"
#include "platform/LogFont.h"

#include <QRandomGenerator>
#include <cstdio>

inline Dimension ScatteredDimension(QRandomGenerator& rng, int i, int photoW, int photoH) {
    Dimension d;
    d.colour = RGB(255, 0, 0);
    d.start =
        POINT{static_cast<int32_t>(rng.bounded(photoW)), static_cast<int32_t>(rng.bounded(photoH))};
    d.end = POINT{d.start.x + static_cast<int32_t>(rng.bounded(600)) - 300,
                  d.start.y + static_cast<int32_t>(rng.bounded(600)) - 300};
    std::snprintf(d.value, sizeof d.value, "%d.%d", 100 + i % 900, i % 10);
    d.font = DefaultLogFont();
    NormalizeDimensionEnds(d);
    return d;
}

inline InfoNote ScatteredNote(QRandomGenerator& rng, int photoW, int photoH) {
    return MakeNewNote(POINT{static_cast<int32_t>(rng.bounded(photoW - 300)),
                             static_cast<int32_t>(rng.bounded(photoH - 200))},
                       DefaultLogFont());
}
