#pragma once
// A photo being opened on the canvas: its size known from the header, a
// reduced stand-in drawn in its place, and the worker's decode, which a newer
// open cancels.

#include "lumoimage/JpegRowDecoder.h"

#include <QImage>
#include <QSize>
#include <QString>

#include <memory>

// Shared with the workers; lives as long as the last of them needs it.
struct PhotoLoadJob {
    QString path;
    DecodeControl full;      // the full decode
    DecodeControl standIn;   // the reduced decode, when there is no large thumbnail
    DecodeControl lower;     // its lower part, when it is decoded in two
    DecodeControl fullLower; // the full decode's lower part
    // The reduced decode's picture, written by the workers as they decode.
    QImage filling;
    QImage picture; // the full decode's, as stored, until it is turned upright
    void Cancel() {
        full.cancel = true;
        standIn.cancel = true;
        lower.cancel = true;
        fullLower.cancel = true;
    }
};

struct PendingPhoto {
    std::shared_ptr<PhotoLoadJob> job; // null: no photo being decoded
    QSize size;                        // the photo's upright size, from its header
    QImage standIn;                    // drawn in the photo's place until it is replaced
    bool standInSharp = false;         // large enough: no reduced decode replaces it
    // The reduced decode still filling from the top (the job's `filling`),
    // drawn over the stand-in as far as its rows have come.
    QImage filling;
    int fillingRowsShown = 0;
    // The full photo is in, but the reduced copy the view draws from is still
    // being made: the stand-in stays on screen meanwhile.
    bool holdStandIn = false;
    bool showProgress = false; // the decode has taken long enough to show a bar
};
