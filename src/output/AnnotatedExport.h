#pragma once
// The exported picture: the photo at its own size with every dimension and
// then every note drawn on it at photo scale, never in the selected look,
// saved as JPEG. The window's export command, `tessamar --export` and the
// report share it.

#include "output/BandedPicture.h"

#include "platform/DurableFile.h"

#include <QImage>
#include <QString>

class AnnotationRenderer;
class PhotoInfo;

// Draws every record of `info` onto `picture` at photo scale, with `renderer`
// (whose caches may serve again) or a renderer of its own.
void DrawRecordsAtPhotoScale(QImage& picture, const PhotoInfo& info,
                             AnnotationRenderer* renderer = nullptr);

// Draws the records onto `photo` band by band and writes the picture to
// `path` as JPEG while it is made (see EncodeAnnotatedPicture and
// DurableFileWriter). `photo` is only read: the window may go on showing it
// meanwhile, and no full copy is made. False with `error` set when nothing
// was written (FileExistsText() when `existing` is Keep and the path was
// taken).
bool ExportAnnotatedPicture(const QImage& photo, const PhotoInfo& info, const QString& path,
                            QString* error, AnnotationRenderer* renderer = nullptr,
                            const BandedPictureOptions& options = {},
                            ExistingFile existing = ExistingFile::Replace);
