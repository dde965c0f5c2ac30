#pragma once
// The annotated picture made band by band: a band of the photo's rows is
// copied, the records that reach it are drawn on it with the painter moved up
// by the band's top, and its rows go to the JPEG encoder on a worker while
// the next band is drawn. The photo itself is only read (the window may go on showing it)
// and never copied whole; the bytes go to a sink as they are made. The
// picture is pixel for pixel the one drawn on a full copy of the photo.

#include "output/BandEncoder.h"

#include <QByteArray>
#include <QImage>
#include <QString>

#include <cstddef>
#include <functional>

class AnnotationRenderer;
class PhotoInfo;

// Label images a renderer needs to keep for a picture drawn in bands: those
// of the records near the band being drawn, not every record's.
constexpr size_t kBandedLabelBytes = 8u << 20;

struct BandedPictureOptions {
    int bandRows = 128;       // rows drawn and encoded at a time (at least 1)
    PictureProgress progress; // may be empty
    QByteArray exif;          // the payload of an Exif segment (ExifExport.h); may be empty
};

// Encodes `photo` (any format; upright) with every dimension and then every
// note of `info` drawn at photo scale, never selected, with the export's
// settings (CDibDC::ExportSettings). False with `error` set when the picture
// could not be made; a sink that refused bytes keeps its own reason, and
// `error` says only that the bytes could not be written.
bool EncodeAnnotatedPicture(const QImage& photo, const PhotoInfo& info,
                            AnnotationRenderer& renderer, const JpegSink& sink, QString* error,
                            const BandedPictureOptions& options = {});
