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
