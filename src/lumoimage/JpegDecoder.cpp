#include "lumoimage/JpegDecoder.h"

#include "lumoimage/ExifReader.h"
#include "lumoimage/PixelBuffer.h"

#include <turbojpeg.h>

#include <climits>

namespace {

QString DecoderMessage(tjhandle handle) {
    return QString::fromLocal8Bit(tjGetErrorStr2(handle)).trimmed();
}

} // namespace

void CmykToRgb32(QImage* image) {
    for (int y = 0; y < image->height(); ++y) {
        auto* p = image->scanLine(y);
        for (int x = 0; x < image->width(); ++x, p += 4) {
            const unsigned c = p[0], m = p[1], ye = p[2], k = p[3];
            const unsigned r = c * k / 255, g = m * k / 255, b = ye * k / 255;
            p[0] = std::uint8_t(b);
            p[1] = std::uint8_t(g);
            p[2] = std::uint8_t(r);
            p[3] = 0xFF;
        }
    }
}

JpegDecoder::JpegDecoder() : m_handle(tjInitDecompress()) {}

JpegDecoder::~JpegDecoder() {
    if (m_handle)
        tjDestroy(static_cast<tjhandle>(m_handle));
}

bool JpegDecoder::ReadSize(const std::uint8_t* data, std::size_t size, QSize* stored,
                           QString* error) {
    if (!m_handle) {
        *error = QStringLiteral("The JPEG decoder could not be started.");
        return false;
    }
    if (size > std::size_t(ULONG_MAX)) {
        *error = QStringLiteral("The file is too large to be a photo.");
        return false;
    }
    // The frame header tells what libjpeg-turbo would only report in passing
    // (or, after a failed header call, as a confused "two SOI markers").
    JpegHeaderInfo frame;
    if (ScanJpegHeader(data, size, &frame) && frame.hasFrame && frame.precision != 8) {
        *error = QStringLiteral("The JPEG file stores %1-bit samples; only 8-bit JPEG pictures "
                                "are supported.")
                     .arg(frame.precision);
        return false;
    }
    auto handle = static_cast<tjhandle>(m_handle);
    int width = 0, height = 0, subsampling = 0, colorspace = 0;
    if (tjDecompressHeader3(handle, data, static_cast<unsigned long>(size), &width, &height,
                            &subsampling, &colorspace) == 0) {
        m_components = colorspace == TJCS_GRAY                                ? 1
                       : (colorspace == TJCS_CMYK || colorspace == TJCS_YCCK) ? 4
                                                                              : 3;
    } else {
        // This libjpeg-turbo refuses to name some unusual chroma layouts in
        // the header call although it decodes them; read the frame ourselves.
        if (!frame.hasFrame) {
            *error = QStringLiteral("The JPEG header could not be read (%1).")
                         .arg(DecoderMessage(handle));
            return false;
        }
        width = frame.width;
        height = frame.height;
        m_components = frame.components;
    }
    if (width <= 0 || height <= 0) {
        *error = QStringLiteral("The JPEG header gives no picture size.");
        return false;
    }
    if (m_components != 1 && m_components != 3 && m_components != 4) {
        *error = QStringLiteral("The JPEG file uses an unsupported colour layout.");
        return false;
    }
    *stored = QSize(width, height);
    return true;
}

bool JpegDecoder::Decode(const std::uint8_t* data, std::size_t size, int num, int denom,
                         QImage* out, QString* error) {
    QSize stored;
    if (!ReadSize(data, size, &stored, error))
        return false;
    const tjscalingfactor factor{num, denom};
    const int width = TJSCALED(stored.width(), factor);
    const int height = TJSCALED(stored.height(), factor);
    // Absurd sizes are refused even for a reduced decode: such a picture
    // could never be opened at full size.
    if (qint64(stored.width()) * stored.height() > kMaxDecodePixels) {
        *error = QStringLiteral("The picture is too large (%1 × %2 pixels).")
                     .arg(stored.width())
                     .arg(stored.height());
        return false;
    }
    // Photos take well over 1/32 byte per pixel; a stream far smaller than
    // its claimed size is most likely truncated or forged, so its memory is
    // not committed up front.
    const bool plausible = qint64(size) * 32 >= qint64(width) * height;
    QImage image = AllocateRgb32(width, height, plausible);
    if (image.isNull()) {
        *error = QStringLiteral("Not enough memory for a picture of %1 × %2 pixels.")
                     .arg(stored.width())
                     .arg(stored.height());
        return false;
    }
    // Format_RGB32 is B, G, R, 0xFF in memory on little-endian machines,
    // which is libjpeg-turbo's BGRX (it writes 0xFF into the padding byte).
    static_assert(Q_BYTE_ORDER == Q_LITTLE_ENDIAN, "RGB32 is BGRX only on little-endian");
    const int pixelFormat = m_components == 4 ? TJPF_CMYK : TJPF_BGRX;
    auto handle = static_cast<tjhandle>(m_handle);
    if (tjDecompress2(handle, data, static_cast<unsigned long>(size), image.bits(), width,
                      int(image.bytesPerLine()), height, pixelFormat, TJFLAG_STOPONWARNING) != 0) {
        const QString message = DecoderMessage(handle);
        if (tjGetErrorCode(handle) == TJERR_WARNING)
            *error = QStringLiteral("The JPEG file is damaged or incomplete (%1).").arg(message);
        else
            *error = QStringLiteral("The JPEG file could not be decoded (%1).").arg(message);
        return false;
    }
    if (m_components == 4)
        CmykToRgb32(&image);
    *out = std::move(image);
    return true;
}

void JpegDecoder::ChooseScale(QSize stored, QSize needed, int* num, int* denom) {
    *num = 1;
    *denom = 1;
    int count = 0;
    const tjscalingfactor* factors = tjGetScalingFactors(&count);
    qint64 bestPixels = qint64(stored.width()) * stored.height();
    for (int i = 0; factors && i < count; ++i) {
        const tjscalingfactor f = factors[i];
        if (f.num > f.denom)
            continue;
        const int w = TJSCALED(stored.width(), f);
        const int h = TJSCALED(stored.height(), f);
        if (w < needed.width() || h < needed.height())
            continue;
        if (qint64(w) * h < bestPixels) {
            bestPixels = qint64(w) * h;
            *num = f.num;
            *denom = f.denom;
        }
    }
}
