#pragma once
// A picture encoded straight into a file written durably: the bytes go to
// the temporary file beside the target as the encoder makes them, and the
// target is replaced only when the whole picture is on the disk.

#include "lumoimage/JpegRowEncoder.h"
#include "platform/DurableFile.h"

#include <QString>

#include <functional>

// Makes the picture, its bytes into the sink it is given; false with the
// reason set when it could not.
using PictureEncoding = std::function<bool(const JpegSink& sink, QString* error)>;

// False with `error` set when nothing was written (FileExistsText() when
// `existing` is Keep and the path was taken); a write that failed keeps the
// writer's reason.
bool WriteJpegDurably(const QString& path, const PictureEncoding& encode, QString* error,
                      ExistingFile existing = ExistingFile::Replace);
