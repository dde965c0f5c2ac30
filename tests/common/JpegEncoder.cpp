#include "common/JpegEncoder.h"

#include <turbojpeg.h>

#include <memory>
#include <utility>

namespace {

struct CompressorDeleter {
    void operator()(void* handle) const { tjDestroy(static_cast<tjhandle>(handle)); }
};

int ToTurboSubsampling(ChromaSubsampling chroma) {
    switch (chroma) {
    case ChromaSubsampling::Half422:
        return TJSAMP_422;
    case ChromaSubsampling::Quarter420:
        return TJSAMP_420;
    case ChromaSubsampling::Full444:
        break;
    }
    return TJSAMP_444;
}

} // namespace

JpegStream::~JpegStream() {
    if (m_data)
        tjFree(m_data);
}

JpegStream::JpegStream(JpegStream&& other) noexcept
    : m_data(std::exchange(other.m_data, nullptr)), m_size(std::exchange(other.m_size, 0)) {}

JpegStream& JpegStream::operator=(JpegStream&& other) noexcept {
    if (this != &other) {
        if (m_data)
            tjFree(m_data);
        m_data = std::exchange(other.m_data, nullptr);
        m_size = std::exchange(other.m_size, 0);
    }
    return *this;
}

bool EncodeJpeg(const QImage& image, const JpegEncodeSettings& settings, QByteArray* out,
                QString* error) {
    JpegStream stream;
    if (!EncodeJpeg(image, settings, &stream, error))
        return false;
    *out = stream.ToByteArray();
    return true;
}

bool EncodeJpeg(const QImage& image, const JpegEncodeSettings& settings, JpegStream* out,
                QString* error) {
    if (image.isNull()) {
        *error = QStringLiteral("There is no picture to save.");
        return false;
    }
    const QImage source = image.format() == QImage::Format_RGB32
                              ? image
                              : image.convertToFormat(QImage::Format_RGB32);
    if (source.isNull()) {
        *error = QStringLiteral("Not enough memory to prepare the picture for saving.");
        return false;
    }
    std::unique_ptr<void, CompressorDeleter> handle(tjInitCompress());
    if (!handle) {
        *error = QStringLiteral("The JPEG encoder could not be started.");
        return false;
    }
    unsigned char* raw = nullptr;
    unsigned long size = 0;
    const int quality = qBound(1, settings.quality, 100);
    const int rc =
        tjCompress2(static_cast<tjhandle>(handle.get()), source.constBits(), source.width(),
                    int(source.bytesPerLine()), source.height(), TJPF_BGRX, &raw, &size,
                    ToTurboSubsampling(settings.chroma), quality, 0);
    JpegStream stream;
    stream.m_data = raw;
    stream.m_size = qsizetype(size);
    if (rc != 0 || !raw || size == 0) {
        *error = QStringLiteral("The picture could not be encoded (%1).")
                     .arg(QString::fromLocal8Bit(tjGetErrorStr2(handle.get())).trimmed());
        return false;
    }
    *out = std::move(stream);
    return true;
}
