#pragma once
// Reads what the picture code needs from the header segments of a JPEG file:
// the frame size and component count from the SOF marker, and from the Exif
// APP1 segment the orientation, the capture date and the embedded thumbnail,
// through the one TIFF reader (TiffReader.h). Every read is
// bounds-checked against the bytes given; damaged or hostile headers give
// "not found" results, never a read outside the buffer.

#include <cstddef>
#include <cstdint>
#include <string>

struct ExifData {
    int orientation = 1;             // 1..8 as stored; 1 when absent or out of range
    std::size_t thumbnailOffset = 0; // from the start of the TIFF header
    std::size_t thumbnailLength = 0; // 0 = no JPEG thumbnail
    // DateTimeOriginal of the Exif IFD, or else DateTime of IFD0, as stored
    // ("YYYY:MM:DD HH:MM:SS"); empty when neither is there.
    std::string captureDate;
};

struct JpegHeaderInfo {
    bool hasFrame = false; // an SOF marker with a usable size was found
    int width = 0;         // as stored, before orientation
    int height = 0;
    int components = 0;  // 1 grey, 3 colour, 4 CMYK/YCCK
    int precision = 0;   // bits per sample (8; 12 or 16 in rare files)
    int orientation = 1; // from Exif, 1 when absent
    // The embedded Exif thumbnail (a JPEG stream) as offset and length within
    // the bytes scanned; length 0 when the file carries none.
    std::size_t thumbnailOffset = 0;
    std::size_t thumbnailLength = 0;
    std::string captureDate; // as ExifData's
    // The Exif segment's TIFF payload within the bytes scanned; length 0
    // when the file has none.
    std::size_t exifOffset = 0;
    std::size_t exifLength = 0;
};

// Parses an Exif payload that starts with the TIFF header ("II*\0" or "MM\0*").
ExifData ParseExifTiff(const std::uint8_t* tiff, std::size_t size);

// Walks the markers of a JPEG stream from SOI up to the first SOS (or the end
// of the bytes given, which may be only the head of the file). Returns false
// when the bytes do not start with a JPEG SOI marker.
bool ScanJpegHeader(const std::uint8_t* data, std::size_t size, JpegHeaderInfo* info);
