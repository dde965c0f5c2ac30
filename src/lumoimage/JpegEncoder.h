#pragma once
// Encoding a 32-bit picture as a baseline JPEG stream with libjpeg-turbo.

#include <QByteArray>
#include <QImage>
#include <QString>

enum class ChromaSubsampling { Full444, Half422, Quarter420 };

struct JpegEncodeSettings {
    int quality = 95; // 1..100
    ChromaSubsampling chroma = ChromaSubsampling::Full444;
};

// Encodes `image` (any format; RGB32 is encoded without a copy) into `out`.
// The stream carries a JFIF header only: no Exif, hence no orientation tag.
bool EncodeJpeg(const QImage& image, const JpegEncodeSettings& settings, QByteArray* out,
                QString* error);
