#include "canvas/PhotoViewPainter.h"

#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace {
// View pixels at the edge of a scaled part whose samples were held at its
// edge rather than taken from beyond it.
constexpr int kEdge = 2;
// Rows of a strip scaled in one go.
constexpr int kRowsAtOnce = 48;

// Scales `from` of `level` onto the whole of `target`; with `parts`, only
// the pixels inside them are written, each as the whole scaling writes it.
void ScaleOnto(QImage& target, const QImage& level, const QRectF& from,
               const std::vector<QRect>* parts = nullptr) {
    QPainter scaler(&target);
    scaler.setRenderHint(QPainter::SmoothPixmapTransform);
    scaler.setCompositionMode(QPainter::CompositionMode_Source);
    const QRectF whole(0, 0, target.width(), target.height());
    if (!parts) {
        scaler.drawImage(whole, level, from);
        return;
    }
    // One rectangle at a time: a rectangular clip keeps Qt's fast paths; and
    // a few rows at a time, which Qt scales on this thread rather than handing
    // out to its pool (waking the pool costs more than these pixels do).
    for (const QRect& part : *parts)
        for (int top = part.top(); top <= part.bottom(); top += kRowsAtOnce) {
            scaler.setClipRect(QRect(part.left(), top, part.width(),
                                     std::min(kRowsAtOnce, part.bottom() + 1 - top)));
            scaler.drawImage(whole, level, from);
        }
}

// Moves the pixels of `image` by (-dx, -dy): pixel (x, y) takes what was at
// (x + dx, y + dy); the pixels that had no source keep what they held.
void ShiftPixels(QImage& image, int dx, int dy) {
    const int w = image.width();
    const int h = image.height();
    const int n = w - std::abs(dx);
    const int rows = h - std::abs(dy);
    if (n <= 0 || rows <= 0)
        return;
    const int to = std::max(-dx, 0);
    const int from = std::max(dx, 0);
    const auto move = [&](int y) {
        auto* dst = reinterpret_cast<quint32*>(image.scanLine(y));
        const auto* src = reinterpret_cast<const quint32*>(image.constScanLine(y + dy));
        std::memmove(dst + to, src + from, sizeof(quint32) * static_cast<size_t>(n));
    };
    if (dy >= 0) {
        for (int y = 0; y < rows; ++y)
            move(y);
    } else {
        for (int y = h - 1; y >= h - rows; --y)
            move(y);
    }
}
} // namespace

void PhotoViewPainter::SetLevelReadyCallback(std::function<void()> callback) {
    m_pyramid.SetLevelReadyCallback(std::move(callback));
}

void PhotoViewPainter::SetPhoto(const QImage& photo) {
    m_pyramid.SetSource(photo);
    if (photo.isNull() || photo.cacheKey() != m_key.photo) {
        m_scaled = QImage();
        m_key = Key();
        m_exact = true;
    }
}

void PhotoViewPainter::DropScrolled() {
    if (m_exact)
        return;
    m_scaled = QImage();
    m_key = Key();
    m_exact = true;
}

bool PhotoViewPainter::Scroll(const Key& key, const QImage& level, const QRectF& from) {
    if (m_scaled.isNull() || key.photo != m_key.photo || key.level != m_key.level ||
        key.dst.Width() != m_key.dst.Width() || key.dst.Height() != m_key.dst.Height() ||
        key.src.Width() != m_key.src.Width() || key.src.Height() != m_key.src.Height())
        return false;
    const int w = m_scaled.width();
    const int h = m_scaled.height();
    const double wantX = key.src.left * (static_cast<double>(w) / key.src.Width());
    const double wantY = key.src.top * (static_cast<double>(h) / key.src.Height());
    const double dx = std::round(wantX - m_originX);
    const double dy = std::round(wantY - m_originY);
    if (std::abs(dx) >= w || std::abs(dy) >= h)
        return false;
    const int ix = static_cast<int>(dx);
    const int iy = static_cast<int>(dy);
    ShiftPixels(m_scaled, ix, iy);
    // The strips that come into view, and the picture's edges: a scaled
    // part's edge pixels take samples held at the edge of its part, so those
    // of the moved picture are made again and, where it moved inward, the
    // pixels that were at its edge too.
    const int cols = std::min(std::abs(ix) + kEdge, w);
    const int rows = std::min(std::abs(iy) + kEdge, h);
    std::vector<QRect> exposed = {QRect(0, 0, w, kEdge), QRect(0, h - kEdge, w, kEdge),
                                  QRect(0, 0, kEdge, h), QRect(w - kEdge, 0, kEdge, h)};
    if (ix != 0)
        exposed.push_back(QRect(ix > 0 ? w - cols : 0, 0, cols, h));
    if (iy != 0)
        exposed.push_back(QRect(0, iy > 0 ? h - rows : 0, w, rows));
    m_originX += dx;
    m_originY += dy;
    // The new pixels take the moved picture's place, not the exact one, so
    // the whole picture is off by the same fraction of a pixel.
    const QRectF moved = from.translated((m_originX - wantX) * from.width() / w,
                                         (m_originY - wantY) * from.height() / h);
    ScaleOnto(m_scaled, level, moved, &exposed);
    m_exact = false;
    m_key = key;
    return true;
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
    if (waitForLevels)
        DropScrolled();
    const bool kept = key == m_key && !m_scaled.isNull();
    const double f = 1.0 / (1 << key.level);
    const QRectF from(src.left * f, src.top * f, src.Width() * f, src.Height() * f);
    if (!kept && !(!waitForLevels && Scroll(key, level, from))) {
        m_scaled = QImage(dst.Width(), dst.Height(), QImage::Format_RGB32);
        if (m_scaled.isNull())
            return;
        ScaleOnto(m_scaled, level, from);
        m_key = key;
        m_exact = true;
        m_originX = src.left * (static_cast<double>(dst.Width()) / src.Width());
        m_originY = src.top * (static_cast<double>(dst.Height()) / src.Height());
    }
    painter.drawImage(at, m_scaled);
}
