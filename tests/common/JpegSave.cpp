#include "common/JpegSave.h"

#include "common/JpegEncoder.h"

bool SaveAsJpeg(const CDibDC& dib, const QString& path, QString* error, ExistingFile existing) {
    if (!dib.HasPicture()) {
        *error = QStringLiteral("There is no picture to save.");
        return false;
    }
    JpegStream jpeg;
    if (!EncodeJpeg(dib.Image(), CDibDC::ExportSettings(), &jpeg, error))
        return false;
    return WriteFileDurably(path, jpeg.Data(), jpeg.Size(), error, nullptr, existing);
}
