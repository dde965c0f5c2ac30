#pragma once
// Records scattered over a photo for the benchmarks: red dimensions up to 300
// pixels long each way with values such as "123.4", and notes placed so that
// their boxes start inside the photo; or a whole set of them.

#include "document/PhotoInfo.h"
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

// `dimensions` dimensions and `notes` notes over a photo of photoW x photoH,
// the same for the same seed.
inline PhotoInfo ScatteredRecords(int photoW, int photoH, int dimensions, int notes,
                                  quint32 seed = 11) {
    PhotoInfo info;
    QRandomGenerator rng(seed);
    for (int i = 0; i < dimensions; ++i)
        info.dimensions.push_back(ScatteredDimension(rng, i, photoW, photoH));
    for (int i = 0; i < notes; ++i) {
        InfoNote n = ScatteredNote(rng, photoW, photoH);
        std::snprintf(n.text, sizeof n.text, "Note %03d: wall to window, check again", i);
        info.notes.push_back(n);
    }
    return info;
}

// A reference plane over the middle of the photo, seen in perspective, with
// every dimension's value emptied, so each label is a computed length.
inline void OnReferencePlane(PhotoInfo& info, int photoW, int photoH) {
    info.reference.hasPlane = true;
    const POINT corners[4] = {{photoW / 6, photoH / 5},
                              {photoW * 5 / 6, photoH / 4},
                              {photoW * 7 / 8, photoH * 4 / 5},
                              {photoW / 8, photoH * 3 / 4}};
    for (int i = 0; i < 4; ++i)
        info.reference.plane.corners[i] = corners[i];
    info.reference.plane.width = 4000;
    info.reference.plane.height = 3000;
    for (Dimension& d : info.dimensions)
        d.value[0] = '\0';
}

// `count` areas scattered over the photo: L-shaped rooms of six corners up
// to 600 pixels across, every tenth an opening (a small square), named
// "Room 001" and so on; the same for the same seed.
inline void AddScatteredAreas(PhotoInfo& info, int photoW, int photoH, int count,
                              quint32 seed = 12) {
    QRandomGenerator rng(seed);
    for (int i = 0; i < count; ++i) {
        AreaRecord a;
        a.colour = RGB(0, 96, 255);
        a.font = DefaultLogFont();
        const int32_t x = static_cast<int32_t>(rng.bounded(photoW - 600));
        const int32_t y = static_cast<int32_t>(rng.bounded(photoH - 600));
        const int32_t w = 100 + static_cast<int32_t>(rng.bounded(500));
        const int32_t h = 100 + static_cast<int32_t>(rng.bounded(500));
        a.opening = i % 10 == 9;
        if (a.opening)
            a.corners = {{x, y}, {x + w / 3, y}, {x + w / 3, y + h / 3}, {x, y + h / 3}};
        else
            a.corners = {{x, y},
                         {x + w, y},
                         {x + w, y + h / 2},
                         {x + w / 2, y + h / 2},
                         {x + w / 2, y + h},
                         {x, y + h}};
        char name[16];
        std::snprintf(name, sizeof name, "Room %03d", i);
        a.name = name;
        info.areas.push_back(a);
    }
}
