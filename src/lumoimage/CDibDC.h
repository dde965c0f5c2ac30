#pragma once
// One picture held in memory as 32-bit pixels (QImage::Format_RGB32), with
// JPEG decoding. "Holds a picture" stands for the device context
// of the original image component: drawing code paints into Image().

#include "lumoimage/JpegEncodeSettings.h"
#include "platform/WinTypes.h"

#include <QImage>
#include <QString>

#include <cstddef>
#include <cstdint>

class CDibDC {
public:
    CDibDC() = default;
    CDibDC(const CDibDC&) = delete;
    CDibDC& operator=(const CDibDC&) = delete;

    // Decodes a picture file (JPEG) upright (EXIF orientation applied) into
    // 32-bit pixels. On failure returns false, sets ErrorString and keeps the
    // picture it had. Truncated or corrupt files fail: a damaged photo is
    // never opened as if it were whole. Only 32 bits per pixel are offered.
    bool Load(const QString& path, int bitsPerPixel = 32);
    // As Load, from the bytes of a picture file held in memory.
    bool LoadFromMemory(const std::uint8_t* data, std::size_t size, int bitsPerPixel = 32);
    // A blank (white) picture of the given size; 32 bits per pixel only.
    bool CreateDibDC(int width, int height, int bitsPerPixel = 32);

    SIZE GetSize() const { return SIZE{m_image.width(), m_image.height()}; }
    bool HasPicture() const { return !m_image.isNull(); }

    QImage& Image() { return m_image; }
    const QImage& Image() const { return m_image; }

    // Why the last Load or CreateDibDC failed.
    QString ErrorString() const { return m_error; }

    // How an exported picture is encoded: quality and chroma subsampling
    // chosen so thin coloured lines stay crisp.
    static JpegEncodeSettings ExportSettings();

private:
    bool Decode(const std::uint8_t* data, std::size_t size, QByteArray* keep);

    QImage m_image;
    QString m_error;
};
