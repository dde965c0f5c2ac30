#include "lumoimage/CDibDC.h"

#include "lumoimage/ExifReader.h"
#include "lumoimage/ImageOrientation.h"
#include "lumoimage/JpegDecoder.h"
#include "lumoimage/JpegFile.h"
#include "lumoimage/PixelBuffer.h"

namespace {

const QString kOnly32Bits = QStringLiteral("Only 32-bit pictures are supported.");

} // namespace

JpegEncodeSettings CDibDC::ExportSettings() {
    // Exported pictures carry thin coloured lines one pixel wide. Full
    // chroma resolution (4:4:4) keeps a red line red instead of smearing its
    // colour over a 2-pixel block; quality 95 keeps its edges crisp.
    JpegEncodeSettings settings;
    settings.quality = 95;
    settings.chroma = ChromaSubsampling::Full444;
    return settings;
}

bool CDibDC::Load(const QString& path, int bitsPerPixel) {
    if (bitsPerPixel != 32) {
        m_error = kOnly32Bits;
        return false;
    }
    QByteArray bytes;
    QString error;
    if (!ReadJpegFile(path, &bytes, &error)) {
        m_error = error;
        return false;
    }
    return Decode(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                  std::size_t(bytes.size()), &bytes);
}

bool CDibDC::LoadFromMemory(const std::uint8_t* data, std::size_t size, int bitsPerPixel) {
    if (bitsPerPixel != 32) {
        m_error = kOnly32Bits;
        return false;
    }
    return Decode(data, size, nullptr);
}

// `keep`, when given, holds the compressed bytes; it is let go once decoded.
bool CDibDC::Decode(const std::uint8_t* data, std::size_t size, QByteArray* keep) {
    JpegHeaderInfo header;
    if (!ScanJpegHeader(data, size, &header)) {
        m_error = QStringLiteral("The file is not a JPEG picture.");
        return false;
    }
    QImage image;
    QString error;
    {
        JpegDecoder decoder;
        if (!decoder.Decode(data, size, 1, 1, &image, &error)) {
            m_error = error;
            return false;
        }
    }
    if (keep)
        keep->clear(); // the compressed bytes are no longer needed while turning
    if (header.orientation != 1) {
        image = TurnUpright(image, header.orientation);
        if (image.isNull()) {
            m_error = QStringLiteral("Not enough memory to turn the picture upright.");
            return false;
        }
    }
    m_image = std::move(image);
    m_error.clear();
    return true;
}

bool CDibDC::CreateDibDC(int width, int height, int bitsPerPixel) {
    if (bitsPerPixel != 32) {
        m_error = kOnly32Bits;
        return false;
    }
    if (width <= 0 || height <= 0 || qint64(width) * height > kMaxDecodePixels) {
        m_error = QStringLiteral("Unusable picture size %1 × %2.").arg(width).arg(height);
        return false;
    }
    QImage image = AllocateRgb32(width, height);
    if (image.isNull()) {
        m_error = QStringLiteral("Not enough memory for a picture of %1 × %2 pixels.")
                      .arg(width)
                      .arg(height);
        return false;
    }
    image.fill(Qt::white);
    m_image = std::move(image);
    m_error.clear();
    return true;
}
