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
    DecodeControl full;    // the full decode
    DecodeControl standIn; // the reduced decode, when there is no large thumbnail
    void Cancel() {
        full.cancel = true;
        standIn.cancel = true;
    }
};

struct PendingPhoto {
    std::shared_ptr<PhotoLoadJob> job; // null: no photo being decoded
    QSize size;                        // the photo's upright size, from its header
    QImage standIn;                    // drawn in the photo's place until it is replaced
    bool standInSharp = false;         // large enough: no reduced decode replaces it
    // The full photo is in, but the reduced copy the view draws from is still
    // being made: the stand-in stays on screen meanwhile.
    bool holdStandIn = false;
    bool showProgress = false; // the decode has taken long enough to show a bar
};
