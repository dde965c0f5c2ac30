#pragma once
// The head-on picture of the reference plane: the plane as if seen square
// on at a fixed scale (HeadOnView.h says which part of it), the photo's
// pixels taken through the plane's projective map (bilinear), the records
// that lie on the plane drawn over it through the same map with the one
// renderer, and a scale bar. It is made band by band like the export: each
// band of the picture's rows is sampled, drawn on and handed to the JPEG
// encoder on a worker while the next is made, so the whole picture is never
// held. The scale is written into the JPEG's comment and the Exif
// resolution (pixels per centimetre).

#include "output/BandedPicture.h"
#include "output/HeadOnView.h"
#include "platform/DurableFile.h"

#include <QImage>
#include <QString>

class AnnotationRenderer;
class PhotoInfo;

// The comment written into the picture: "Tessamar head-on view: 1 mm per pixel".
QByteArray HeadOnComment(double mmPerPixel);

// Encodes the head-on picture of `photo` (upright; only read) and the
// records of `info` at `view`; `options.exif` is the Exif payload to write
// (see HeadOnExif). False with `error` set when it could not be made.
bool EncodeHeadOnPicture(const QImage& photo, const PhotoInfo& info, const HeadOnView& view,
                         AnnotationRenderer& renderer, const JpegSink& sink, QString* error,
                         const BandedPictureOptions& options = {});

// The Exif payload of the head-on picture of the photo at `photoPath`: the
// fields the export keeps (no location) and the view's resolution.
QByteArray HeadOnExif(const QString& photoPath, const HeadOnView& view);

// Writes the head-on picture at `mmPerPixel` to `path` durably. False with
// `error` set when nothing was written (no usable plane: NoPlaneText()).
bool ExportHeadOnPicture(const QImage& photo, const PhotoInfo& info, const QString& photoPath,
                         const QString& path, double mmPerPixel, QString* error,
                         const PictureProgress& progress = {},
                         ExistingFile existing = ExistingFile::Replace);

// Why there is no head-on picture: the photo has no usable reference plane.
QString NoPlaneText();
