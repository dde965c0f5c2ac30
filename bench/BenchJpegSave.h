#pragma once
// A held picture written whole as a JPEG file, with the settings the program
// exports with (CDibDC::ExportSettings) and through the durable writer: the
// baseline the banded export is measured against, and the benchmarks' photos.

#include "common/JpegEncoder.h"
#include "lumoimage/CDibDC.h"
#include "platform/DurableFile.h"

#include <QString>

// False with `error` (the encoder's or the system's reason) when the file
// could not be written completely; a failed save leaves no file and any older
// one as it was.
inline bool SaveAsJpeg(const CDibDC& dib, const QString& path, QString* error,
                       ExistingFile existing = ExistingFile::Replace) {
    if (!dib.HasPicture()) {
        *error = QStringLiteral("There is no picture to save.");
        return false;
    }
    JpegStream jpeg;
    if (!EncodeJpeg(dib.Image(), CDibDC::ExportSettings(), &jpeg, error))
        return false;
    return WriteFileDurably(path, jpeg.Data(), jpeg.Size(), error, nullptr, existing);
}
