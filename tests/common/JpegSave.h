#pragma once
// A held picture written whole as a JPEG file, with the settings the program
// exports with (CDibDC::ExportSettings) and through the durable writer: test
// photos and the baseline the banded export is measured against.

#include "lumoimage/CDibDC.h"
#include "platform/DurableFile.h"

#include <QString>

// False with `error` (the encoder's or the system's reason) when the file
// could not be written completely; a failed save leaves no file and any older
// one as it was.
bool SaveAsJpeg(const CDibDC& dib, const QString& path, QString* error,
                ExistingFile existing = ExistingFile::Replace);
