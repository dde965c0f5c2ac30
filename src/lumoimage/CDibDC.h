#pragma once
// One picture held in memory as 32-bit pixels (QImage::Format_RGB32), with
// JPEG decoding and encoding. "Holds a picture" stands for the device context
// of the original image component: drawing code paints into Image().

#include "platform/WinTypes.h"

#include <QImage>
#include <QString>

class CDibDC {
public:
    CDibDC() = default;
    // An empty object whose later picture is made like `compatible`'s.
    explicit CDibDC(const CDibDC* compatible);
    virtual ~CDibDC() = default;
    CDibDC(const CDibDC&) = delete;
    CDibDC& operator=(const CDibDC&) = delete;

    // Decodes a picture file (JPEG) upright (EXIF orientation applied) into
    // 32-bit pixels. On failure returns false and keeps the picture it had.
    bool Load(const QString& path, int bitsPerPixel = 32);
    // Encodes the picture as a JPEG file. False (and ErrorString) when the
    // file could not be written completely; a failed save leaves no file.
    bool Save(const QString& path) const;
    // A blank picture of the given size.
    bool CreateDibDC(int width, int height, int bitsPerPixel = 32);

    SIZE GetSize() const { return SIZE{m_image.width(), m_image.height()}; }
    bool HasPicture() const { return !m_image.isNull(); }

    QImage& Image() { return m_image; }
    const QImage& Image() const { return m_image; }

    // Why the last Load or Save failed.
    QString ErrorString() const { return m_error; }

private:
    QImage m_image;
    mutable QString m_error;
};
