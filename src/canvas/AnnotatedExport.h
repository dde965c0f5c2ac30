#pragma once
// The exported picture: the photo at its own size with every dimension and
// then every note drawn on it at photo scale, never in the selected look,
// saved as JPEG. The canvas's export command and `tessamar --export` share it.

#include "platform/DurableFile.h"

#include <QImage>
#include <QString>

class AnnotationRenderer;
class PhotoInfo;

// Draws every record of `info` onto `picture` at photo scale, with `renderer`
// (whose caches may serve again) or a renderer of its own.
void DrawRecordsAtPhotoScale(QImage& picture, const PhotoInfo& info,
                             AnnotationRenderer* renderer = nullptr);

// Draws the records onto `photo` (taken by value: pass a moved-from image to
// draw in place, or a shared copy, which is copied once on a worker thread
// while the labels are made) and saves it to `path` as JPEG. False with
// `error` set when nothing was written (FileExistsText() when `existing` is
// Keep and the path was taken).
bool ExportAnnotatedPicture(QImage photo, const PhotoInfo& info, const QString& path,
                            QString* error, AnnotationRenderer* renderer = nullptr,
                            ExistingFile existing = ExistingFile::Replace);
