#pragma once
// The capture date of a JPEG photo from its Exif segment: DateTimeOriginal
// (tag 0x9003 of the Exif sub-IFD), or else DateTime (0x0132 of IFD0), as
// the header scan reads it (ExifReader.h); a missing or damaged date is "none".

#include <QDateTime>
#include <cstddef>
#include <cstdint>

// The date in the JPEG stream `data` (the head of the file is enough), or an
// invalid QDateTime when there is none. Exif dates carry no zone: the result
// is local time as the camera's clock said.
QDateTime ReadExifCaptureDate(const std::uint8_t* data, std::size_t size);
