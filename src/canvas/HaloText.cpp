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
// and the glyphs' ink, widened by the halo and a safety margin.
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

HaloTextCache::Entry* HaloTextCache::Find(const std::string& key) {
    auto it = m_entries.find(key);
    if (it == m_entries.end())
        return nullptr;
    it->second.lastUse = ++m_clock;
    return &it->second;
}

HaloTextCache::Entry& HaloTextCache::Insert(const std::string& key, SIZE extent) {
    if (m_entries.size() >= m_maxEntries)
        Evict(m_maxBytes / 2, m_maxEntries / 2);
    Entry& entry = m_entries[key];
    entry = Entry{};
    entry.extent = extent;
    entry.lastUse = ++m_clock;
    return entry;
}

bool HaloTextCache::Draw(QPainter& painter, QPoint origin, Entry& entry,
                         const HaloTextSpec& spec) {
    if (!entry.imageTried) {
        entry.imageTried = true;
        QRect bounds = InkBounds(spec);
        if (spec.escapement != 0) {
            QTransform turn;
            turn.rotate(-spec.escapement / 10.0);
            bounds = turn.mapRect(QRectF(bounds)).toAlignedRect().adjusted(-1, -1, 1, 1);
        }
        if (static_cast<qint64>(bounds.width()) * bounds.height() > kMaxImagePixels)
            return false;
        entry.offset = bounds.topLeft();
        entry.image = QImage(bounds.size(), QImage::Format_ARGB32_Premultiplied);
        entry.image.fill(Qt::transparent);
        {
            QPainter p(&entry.image);
            p.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing, false);
            PaintHaloText(p, -entry.offset, spec);
        }
        m_bytes += static_cast<size_t>(entry.image.sizeInBytes());
        if (m_bytes > m_maxBytes) {
            // Keep the entry being drawn: it has the newest stamp.
            const QImage image = entry.image;
            const QPoint offset = entry.offset;
            Evict(m_maxBytes / 2, m_entries.size());
            painter.drawImage(origin + offset, image);
            return true;
        }
    }
    return DrawMade(painter, origin, entry);
}

bool HaloTextCache::DrawMade(QPainter& painter, QPoint origin, const Entry& entry) {
    if (entry.image.isNull())
        return false;
    painter.drawImage(origin + entry.offset, entry.image);
    return true;
}

size_t HaloTextCache::Images() const {
    return static_cast<size_t>(std::count_if(m_entries.begin(), m_entries.end(),
                                             [](const auto& e) { return !e.second.image.isNull(); }));
}

void HaloTextCache::Evict(size_t keepBytes, size_t keepEntries) {
    // Drop the least recently used entries until both limits hold; the newest
    // entry always stays.
    std::vector<std::pair<uint64_t, const std::string*>> order;
    order.reserve(m_entries.size());
    for (const auto& [key, entry] : m_entries)
        order.emplace_back(entry.lastUse, &key);
    std::sort(order.begin(), order.end());
    std::vector<std::string> victims;
    size_t bytes = m_bytes;
    size_t count = m_entries.size();
    for (const auto& [stamp, key] : order) {
        if ((bytes <= keepBytes && count <= keepEntries) || count <= 1)
            break;
        bytes -= static_cast<size_t>(m_entries[*key].image.sizeInBytes());
        --count;
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
