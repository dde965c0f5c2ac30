// libFuzzer target for the photo decoder: CDibDC::LoadFromMemory, the same
// path a photo file takes after it is read (the JPEG header walk, the Exif
// reader, libjpeg-turbo, turning the picture upright). A decode either fails
// with a reason and keeps the picture it had, or gives a picture of the size
// the frame header (turned by the Exif orientation) promises.

#include "lumoimage/CDibDC.h"
#include "lumoimage/ExifExport.h"
#include "lumoimage/ExifReader.h"
#include "lumoimage/ImageOrientation.h"

#include <cstdint>
#include <cstdlib>

namespace {

void Check(bool condition) {
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CDibDC dib;
    Check(dib.CreateDibDC(3, 2, 32));
    const QImage before = dib.Image();
    if (!dib.LoadFromMemory(data, size, 32)) {
        Check(!dib.ErrorString().isEmpty());
        Check(dib.Image().constBits() == before.constBits());
        return 0;
    }
    Check(dib.ErrorString().isEmpty());
    JpegHeaderInfo header;
    Check(ScanJpegHeader(data, size, &header));
    if (header.exifLength > 0) {
        const QByteArray exif =
            ExportExifPayload(data + header.exifOffset, header.exifLength, true);
        Check(exif.isEmpty() || (exif.startsWith("Exif") && exif.size() <= 65533));
    }
    if (header.hasFrame) {
        const QSize upright = UprightSize(QSize(header.width, header.height), header.orientation);
        Check(dib.Image().size() == upright);
    }
    Check(dib.Image().format() == QImage::Format_RGB32);
    return 0;
}
