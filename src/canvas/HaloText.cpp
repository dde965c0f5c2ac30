#include "canvas/HaloText.h"

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
// and the glyphs' ink, widened by the halo and a safety pixel.
QRect InkBounds(const HaloTextSpec& spec) {
    QRect bounds;
    for (int j = 0; j < spec.lineCount; ++j) {
        const int top = j * spec.lineHeight;
        const QString& line = spec.lines[j];
        QRect cell(0, top, spec.font->metrics.horizontalAdvance(line), spec.font->height);
        QRect ink = spec.font->metrics.boundingRect(line).translated(0, top + spec.font->ascent);
        bounds = bounds.united(cell).united(ink);
    }
    return bounds.adjusted(-3, -3, 3, 3);
}
} // namespace

void PaintHaloText(QPainter& painter, QPoint origin, const HaloTextSpec& spec) {
    painter.setFont(spec.font->font);
    const QTransform base = painter.worldTransform();
    const double degrees = -spec.escapement / 10.0;
    for (int j = 0; j < spec.lineCount; ++j) {
        const QString& line = spec.lines[j];
        if (line.isEmpty())
            continue;
        const int baseline = j * spec.lineHeight + spec.font->ascent;
        for (int pass = 0; pass < 5; ++pass) {
            const int dx = pass < 4 ? kHaloOffsets[pass][0] : 0;
            const int dy = pass < 4 ? kHaloOffsets[pass][1] : 0;
            painter.setPen(pass < 4 ? kHalo : spec.colour);
            if (spec.escapement == 0) {
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
    if (spec.escapement != 0)
        painter.setWorldTransform(base);
}

bool HaloTextCache::Draw(QPainter& painter, QPoint origin, const std::string& key,
                         const HaloTextSpec& spec) {
    auto it = m_entries.find(key);
    if (it == m_entries.end()) {
        QRect bounds = InkBounds(spec);
        if (spec.escapement != 0) {
            QTransform turn;
            turn.rotate(-spec.escapement / 10.0);
            bounds = turn.mapRect(QRectF(bounds)).toAlignedRect().adjusted(-1, -1, 1, 1);
        }
        if (static_cast<qint64>(bounds.width()) * bounds.height() > kMaxImagePixels)
            return false;
        Entry entry;
        entry.lastUse = ++m_clock;
        entry.offset = bounds.topLeft();
        entry.image = QImage(bounds.size(), QImage::Format_ARGB32_Premultiplied);
        entry.image.fill(Qt::transparent);
        {
            QPainter p(&entry.image);
            p.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing, false);
            PaintHaloText(p, -entry.offset, spec);
        }
        m_bytes += static_cast<size_t>(entry.image.sizeInBytes());
        it = m_entries.emplace(key, std::move(entry)).first;
        if (m_bytes > m_maxBytes) {
            Evict();
            it = m_entries.find(key);
        }
    }
    it->second.lastUse = ++m_clock;
    painter.drawImage(origin + it->second.offset, it->second.image);
    return true;
}

void HaloTextCache::Evict() {
    // Drop the least recently used entries until half the budget is free; the
    // entry just made has the newest stamp and stays.
    std::vector<std::pair<uint64_t, const std::string*>> order;
    order.reserve(m_entries.size());
    for (const auto& [key, entry] : m_entries)
        order.emplace_back(entry.lastUse, &key);
    std::sort(order.begin(), order.end());
    std::vector<std::string> victims;
    size_t bytes = m_bytes;
    for (const auto& [stamp, key] : order) {
        if (bytes <= m_maxBytes / 2 || order.size() - victims.size() <= 1)
            break;
        bytes -= static_cast<size_t>(m_entries[*key].image.sizeInBytes());
        victims.push_back(*key);
    }
    for (const std::string& key : victims)
        m_entries.erase(key);
    m_bytes = bytes;
}

void HaloTextCache::Clear() {
    m_entries.clear();
    m_bytes = 0;
}
