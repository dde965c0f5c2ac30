#include "drawing/HaloText.h"

#include <QPainter>
#include <QTransform>
#include <algorithm>
#include <vector>

namespace {
constexpr int kHaloOffsets[4][2] = {{-1, -1}, {-1, 1}, {1, -1}, {1, 1}};
const QColor kHalo(255, 255, 0);
// Largest label kept as an image (pixels); larger ones are drawn directly.
constexpr qint64 kMaxImagePixels = 1 << 20;

// Where the text may put ink, relative to its origin, unturned: the text cells
// and the glyphs' ink, widened by the halo and a safety margin.
QRect InkBounds(const HaloTextSpec& label) {
    QRect bounds;
    for (int j = 0; j < label.lineCount; ++j) {
        const int top = j * label.lineHeight;
        const QString& line = label.lines[j];
        QRect cell(0, top, label.font->metrics.horizontalAdvance(line), label.font->height);
        QRect ink = label.font->metrics.boundingRect(line).translated(0, top + label.font->ascent);
        bounds = bounds.united(cell).united(ink);
    }
    return bounds.adjusted(-3, -3, 3, 3);
}

// Draws one line's text cell (no halo) in opaque black: the pixels the text
// covers. True when every pixel is fully covered or untouched.
bool LineMask(QImage& mask, QPoint origin, const HaloTextSpec& label, int line) {
    mask.fill(Qt::transparent);
    {
        QPainter p(&mask);
        p.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing, false);
        HaloTextSpec one = label;
        one.lines = label.lines + line;
        one.lineCount = 1;
        one.colour = Qt::black;
        QTransform t;
        t.translate(origin.x(), origin.y());
        t.rotate(-label.escapement / 10.0);
        t.translate(0, line * label.lineHeight);
        p.setTransform(t);
        p.setFont(label.font->font);
        p.setPen(Qt::black);
        p.drawText(QPoint(0, label.font->ascent), *one.lines);
    }
    const int w = mask.width(), h = mask.height();
    const qsizetype stride = mask.bytesPerLine();
    const uchar* bits = mask.constBits();
    for (int y = 0; y < h; ++y) {
        const QRgb* row = reinterpret_cast<const QRgb*>(bits + y * stride);
        for (int x = 0; x < w; ++x) {
            const int a = qAlpha(row[x]);
            if (a != 0 && a != 255)
                return false;
        }
    }
    return true;
}

// The label as direct drawing makes it, relative to bounds.topLeft(). The halo
// copies are the text shifted by whole screen pixels, so each line's text is
// rasterised once and stamped five times.
QImage MakeLabelImage(const QRect& bounds, const HaloTextSpec& label) {
    QImage image(bounds.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    const QPoint origin = -bounds.topLeft();
    QImage mask(bounds.size(), QImage::Format_ARGB32_Premultiplied);
    const QRgb halo = kHalo.rgb() | 0xFF000000u;
    const QRgb ink = label.colour.rgb() | 0xFF000000u;
    const int w = image.width(), h = image.height();
    const qsizetype stride = image.bytesPerLine();
    uchar* out = image.bits();
    for (int j = 0; j < label.lineCount; ++j) {
        if (label.lines[j].isEmpty())
            continue;
        if (!LineMask(mask, origin, label, j)) {
            // Partly covered pixels blend: draw the five passes instead.
            image.fill(Qt::transparent);
            QPainter p(&image);
            p.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing, false);
            PaintHaloText(p, origin, label);
            return image;
        }
        for (int pass = 0; pass < 5; ++pass) {
            const int dx = pass < 4 ? kHaloOffsets[pass][0] : 0;
            const int dy = pass < 4 ? kHaloOffsets[pass][1] : 0;
            const QRgb colour = pass < 4 ? halo : ink;
            const uchar* in = mask.constBits();
            const int x0 = std::max(0, -dx), x1 = std::min(w, w - dx);
            for (int y = std::max(0, -dy); y < std::min(h, h - dy); ++y) {
                const QRgb* src = reinterpret_cast<const QRgb*>(in + y * stride);
                QRgb* dst = reinterpret_cast<QRgb*>(out + (y + dy) * stride);
                for (int x = x0; x < x1; ++x)
                    if (qAlpha(src[x]) != 0)
                        dst[x + dx] = colour;
            }
        }
    }
    return image;
}
} // namespace

void PaintHaloText(QPainter& painter, QPoint origin, const HaloTextSpec& label) {
    painter.setFont(label.font->font);
    const QTransform base = painter.worldTransform();
    const double degrees = -label.escapement / 10.0;
    for (int j = 0; j < label.lineCount; ++j) {
        const QString& line = label.lines[j];
        if (line.isEmpty())
            continue;
        const int baseline = j * label.lineHeight + label.font->ascent;
        for (int pass = 0; pass < 5; ++pass) {
            const int dx = pass < 4 ? kHaloOffsets[pass][0] : 0;
            const int dy = pass < 4 ? kHaloOffsets[pass][1] : 0;
            painter.setPen(pass < 4 ? kHalo : label.colour);
            if (label.escapement == 0) {
                painter.drawText(QPoint(origin.x() + dx, origin.y() + dy + baseline), line);
            } else {
                QTransform t = base;
                t.translate(origin.x() + dx, origin.y() + dy);
                t.rotate(degrees);
                painter.setWorldTransform(t);
                painter.drawText(QPoint(0, baseline), line);
            }
        }
    }
    if (label.escapement != 0)
        painter.setWorldTransform(base);
}

HaloTextCache::Entry* HaloTextCache::Find(const std::string& key) {
    auto it = m_entries.find(key);
    if (it == m_entries.end())
        return nullptr;
    m_use.splice(m_use.end(), m_use, it->second.use);
    return &it->second.entry;
}

HaloTextCache::Entry& HaloTextCache::Insert(const std::string& key, SIZE extent) {
    auto it = m_entries.find(key);
    if (it == m_entries.end()) {
        if (m_entries.size() >= m_maxEntries)
            Evict(m_maxBytes, m_maxEntries - 1, nullptr);
        it = m_entries.emplace(key, Slot{}).first;
        it->second.use = m_use.insert(m_use.end(), &it->first);
    } else {
        m_bytes -= static_cast<size_t>(it->second.entry.image.sizeInBytes());
        m_use.splice(m_use.end(), m_use, it->second.use);
    }
    Entry& entry = it->second.entry;
    entry = Entry{};
    entry.extent = extent;
    return entry;
}

void HaloTextCache::Adopt(const std::string& key, const Entry& made) {
    Entry& entry = Insert(key, made.extent);
    entry.image = made.image;
    entry.offset = made.offset;
    entry.imageTried = made.imageTried;
    m_bytes += static_cast<size_t>(entry.image.sizeInBytes());
    if (m_bytes > m_maxBytes)
        Evict(m_maxBytes, m_maxEntries, &entry);
}

bool HaloTextCache::Make(Entry& entry, const HaloTextSpec& label) {
    if (entry.imageTried)
        return !entry.image.isNull();
    entry.imageTried = true;
    QRect bounds = InkBounds(label);
    if (label.escapement != 0) {
        QTransform turn;
        turn.rotate(-label.escapement / 10.0);
        bounds = turn.mapRect(QRectF(bounds)).toAlignedRect().adjusted(-1, -1, 1, 1);
    }
    if (static_cast<qint64>(bounds.width()) * bounds.height() > kMaxImagePixels)
        return false;
    entry.offset = bounds.topLeft();
    entry.image = MakeLabelImage(bounds, label);
    m_bytes += static_cast<size_t>(entry.image.sizeInBytes());
    if (m_bytes > m_maxBytes)
        Evict(m_maxBytes, m_maxEntries, &entry);
    return !entry.image.isNull();
}

bool HaloTextCache::Draw(QPainter& painter, QPoint origin, Entry& entry,
                         const HaloTextSpec& label) {
    return Make(entry, label) && DrawMade(painter, origin, entry);
}

bool HaloTextCache::DrawMade(QPainter& painter, QPoint origin, const Entry& entry) {
    if (entry.image.isNull())
        return false;
    painter.drawImage(origin + entry.offset, entry.image);
    return true;
}

size_t HaloTextCache::Images() const {
    return static_cast<size_t>(std::count_if(m_entries.begin(), m_entries.end(), [](const auto& e) {
        return !e.second.entry.image.isNull();
    }));
}

void HaloTextCache::Evict(size_t maxBytes, size_t maxEntries, const Entry* keep) {
    auto next = m_use.begin();
    while ((m_bytes > maxBytes || m_entries.size() > maxEntries) && m_entries.size() > 1 &&
           next != m_use.end()) {
        const auto it = m_entries.find(**next);
        if (&it->second.entry == keep) {
            ++next;
            continue;
        }
        m_bytes -= static_cast<size_t>(it->second.entry.image.sizeInBytes());
        next = m_use.erase(next);
        m_entries.erase(it);
    }
}

void HaloTextCache::Clear() {
    m_use.clear();
    m_entries.clear();
    m_bytes = 0;
}
