#pragma once
// The Exif an exported picture carries: what a photo should keep when it is
// shared. The capture dates, the camera (make, model) and the lens and
// exposure fields are copied; the orientation is 1 (the exported pixels are
// upright) and the colour space sRGB. The thumbnail, the maker's notes and
// everything else are dropped, and so is the location (GPS) unless it is
// asked for. Read through the one TIFF reader (TiffReader.h).

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>

// A picture drawn at a known scale (a head-on view of a plane) says it in
// IFD0: XResolution = YResolution = pixelsPerCm / perCmDenominator pixels
// per centimetre, ResolutionUnit 3 (centimetres).
struct ExifResolution {
    std::uint32_t pixelsPerCm = 0;
    std::uint32_t perCmDenominator = 1;
};

// The payload of the export's APP1 segment ("Exif\0\0" and a little-endian
// TIFF) made from a photo's Exif TIFF payload; empty when `tiff` is no
// readable Exif. With `resolution`, IFD0 carries it, and a photo without
// Exif gets a payload of the resolution, orientation and colour space alone.
QByteArray ExportExifPayload(const std::uint8_t* tiff, std::size_t size, bool keepLocation,
                             const ExifResolution* resolution = nullptr);

// The same made from the photo file at `path`; empty when it has no readable
// Exif or cannot be read (the export reads the photo and says why) and no
// `resolution` is given.
QByteArray ExportExifOfPhoto(const QString& path, bool keepLocation,
                             const ExifResolution* resolution = nullptr);
