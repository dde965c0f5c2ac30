#include "lumoimage/JpegEncoder.h"

#include <turbojpeg.h>

#include <memory>

namespace {

struct CompressorDeleter {
    void operator()(void* handle) const { tjDestroy(static_cast<tjhandle>(handle)); }
};
struct BufferDeleter {
    void operator()(unsigned char* buffer) const { tjFree(buffer); }
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

bool EncodeJpeg(const QImage& image, const JpegEncodeSettings& settings, QByteArray* out,
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
    std::unique_ptr<unsigned char, BufferDeleter> buffer(raw);
    if (rc != 0 || !buffer || size == 0) {
        *error = QStringLiteral("The picture could not be encoded (%1).")
                     .arg(QString::fromLocal8Bit(tjGetErrorStr2(handle.get())).trimmed());
        return false;
    }
    *out = QByteArray(reinterpret_cast<const char*>(buffer.get()), qsizetype(size));
    return true;
}
