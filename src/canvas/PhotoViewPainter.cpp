#include "canvas/PhotoViewPainter.h"

#include <QPainter>
#include <algorithm>

void PhotoViewPainter::SetLevelReadyCallback(std::function<void()> callback) {
    m_pyramid.SetLevelReadyCallback(std::move(callback));
}

void PhotoViewPainter::SetPhoto(const QImage& photo) {
    m_pyramid.SetSource(photo);
    if (photo.isNull() || photo.cacheKey() != m_key.photo) {
        m_scaled = QImage();
        m_key = Key();
    }
}

bool PhotoViewPainter::CanDrawAtOnce(const QImage& photo, const RECT& src, const RECT& dst) {
    if (photo.isNull() || src.Width() <= 0 || src.Height() <= 0 || dst.Width() <= 0 ||
        dst.Height() <= 0)
        return true;
    SetPhoto(photo);
    const double scale = std::max(static_cast<double>(dst.Width()) / src.Width(),
                                  static_cast<double>(dst.Height()) / src.Height());
    int level = 0, wanted = 0;
    m_pyramid.LevelFor(scale, false, &level, &wanted);
    return level >= wanted;
}

void PhotoViewPainter::Draw(QPainter& painter, const QImage& photo, const RECT& src,
                            const RECT& dst, bool waitForLevels) {
    if (photo.isNull() || src.Width() <= 0 || src.Height() <= 0 || dst.Width() <= 0 ||
        dst.Height() <= 0)
        return;
    const QPoint at(dst.left, dst.top);
    m_drewStandIn = false;
    if (src.Width() == dst.Width() && src.Height() == dst.Height()) {
        // Actual size: a plain copy, nothing to scale or keep.
        painter.drawImage(at, photo, QRect(src.left, src.top, src.Width(), src.Height()));
        return;
    }
    SetPhoto(photo);
    const double scale = std::max(static_cast<double>(dst.Width()) / src.Width(),
                                  static_cast<double>(dst.Height()) / src.Height());
    Key key;
    key.photo = photo.cacheKey();
    key.src = src;
    key.dst = dst;
    int wanted = 0;
    const QImage level = m_pyramid.LevelFor(scale, waitForLevels, &key.level, &wanted);
    if (level.isNull())
        return;
    m_drewStandIn = key.level < wanted;
    if (!(key == m_key) || m_scaled.isNull()) {
        const double f = 1.0 / (1 << key.level);
        const QRectF from(src.left * f, src.top * f, src.Width() * f, src.Height() * f);
        m_scaled = QImage(dst.Width(), dst.Height(), QImage::Format_RGB32);
        if (m_scaled.isNull())
            return;
        QPainter scaler(&m_scaled);
        scaler.setRenderHint(QPainter::SmoothPixmapTransform);
        scaler.setCompositionMode(QPainter::CompositionMode_Source);
        scaler.drawImage(QRectF(0, 0, dst.Width(), dst.Height()), level, from);
        m_key = key;
    }
    painter.drawImage(at, m_scaled);
}
