#include "lumoimage/CDibDC.h"

#include <QImageReader>
#include <QImageWriter>
#include <QSaveFile>

CDibDC::CDibDC(const CDibDC* /*compatible*/) {}

bool CDibDC::Load(const QString& path, int /*bitsPerPixel*/) {
    QImageReader::setAllocationLimit(0);
    QImageReader reader(path);
    reader.setAutoTransform(true);
    QImage image = reader.read();
    if (image.isNull()) {
        m_error = reader.errorString();
        return false;
    }
    if (image.format() != QImage::Format_RGB32)
        image = image.convertToFormat(QImage::Format_RGB32);
    m_image = std::move(image);
    m_error.clear();
    return true;
}

bool CDibDC::Save(const QString& path) const {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        m_error = file.errorString();
        return false;
    }
    QImageWriter writer(&file, "jpeg");
    writer.setQuality(95);
    if (!writer.write(m_image)) {
        m_error = writer.errorString();
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        m_error = file.errorString();
        return false;
    }
    m_error.clear();
    return true;
}

bool CDibDC::CreateDibDC(int width, int height, int /*bitsPerPixel*/) {
    if (width <= 0 || height <= 0)
        return false;
    QImage image(width, height, QImage::Format_RGB32);
    if (image.isNull())
        return false;
    image.fill(Qt::white);
    m_image = std::move(image);
    return true;
}
