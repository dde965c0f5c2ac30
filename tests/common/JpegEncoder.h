#pragma once
// Encoding a whole 32-bit picture at once as a baseline JPEG stream with
// libjpeg-turbo: test photos and the references the program's row encoder is
// compared with (the program itself encodes band by band, JpegRowEncoder).

#include "lumoimage/JpegEncodeSettings.h"

#include <QByteArray>
#include <QImage>
#include <QString>

// An encoded stream, held in the encoder's own buffer (no copy is made).
class JpegStream {
public:
    JpegStream() = default;
    ~JpegStream();
    JpegStream(JpegStream&& other) noexcept;
    JpegStream& operator=(JpegStream&& other) noexcept;
    JpegStream(const JpegStream&) = delete;
    JpegStream& operator=(const JpegStream&) = delete;

    const char* Data() const { return reinterpret_cast<const char*>(m_data); }
    qsizetype Size() const { return m_size; }
    QByteArray ToByteArray() const { return QByteArray(Data(), m_size); }

private:
    friend bool EncodeJpeg(const QImage&, const JpegEncodeSettings&, JpegStream*, QString*);
    unsigned char* m_data = nullptr;
    qsizetype m_size = 0;
};

// Encodes `image` (any format; RGB32 is encoded without a copy) into `out`.
// The stream carries a JFIF header only: no Exif, hence no orientation tag.
bool EncodeJpeg(const QImage& image, const JpegEncodeSettings& settings, JpegStream* out,
                QString* error);
// The same, copied into a byte array.
bool EncodeJpeg(const QImage& image, const JpegEncodeSettings& settings, QByteArray* out,
                QString* error);
