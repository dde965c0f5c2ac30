#include "drawing/HaloText.h"

#include <QGlyphRun>
#include <QPainter>
#include <QRawFont>
#include <QTextLayout>
#include <QTransform>
#include <algorithm>
#include <vector>

namespace {
constexpr int kHaloOffsets[4][2] = {{-1, -1}, {-1, 1}, {1, -1}, {1, 1}};
const QColor kHalo(255, 255, 0);
// Largest label kept as an image (pixels); larger ones are drawn directly.
constexpr qint64 kMaxImagePixels = 1 << 20;

// One line of text shaped once: its glyph runs (glyphs from a fallback font
// in runs of their own) placed as drawText places them, and where they may
// put ink (its cell and the glyphs' boxes), relative to the cell's top-left.
struct ShapedLine {
    QList<QGlyphRun> runs;
    QPointF runOrigin; // where the runs are drawn from
    QRectF ink;
};

ShapedLine Shape(const QString& text, const TextMeasurer::FontInfo& font) {
    ShapedLine shaped;
    QTextLayout layout(text, font.font);
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    layout.endLayout();
    if (!line.isValid())
        return shaped;
    // The layout puts the baseline at the line's ascent (the largest of its
    // fonts); drawText puts it at the font's own ascent.
    shaped.runOrigin = QPointF(0, font.ascent - line.ascent());
    shaped.runs = layout.glyphRuns();
    shaped.ink = QRectF(0, 0, line.horizontalAdvance(), font.height);
    for (const QGlyphRun& run : shaped.runs) {
        const QRawFont raw = run.rawFont();
        const QList<quint32> glyphs = run.glyphIndexes();
        const QList<QPointF> positions = run.positions();
        for (qsizetype g = 0; g < glyphs.size(); ++g)
            shaped.ink |= raw.boundingRect(glyphs[g]).translated(positions[g] + shaped.runOrigin);
    }
    return shaped;
}

// Where the text may put ink, relative to its origin, unturned: the text cells
// and the glyphs' ink, widened by the halo and a safety margin.
QRect InkBounds(const HaloTextSpec& label, const std::vector<ShapedLine>& lines) {
    QRectF bounds;
    for (int j = 0; j < label.lineCount; ++j)
        bounds |= lines[size_t(j)].ink.translated(0, j * label.lineHeight);
    return bounds.toAlignedRect().adjusted(-3, -3, 3, 3);
}

// The text's placement in the label image: turned about the origin, line
// `line` moved down its line's place along the turned text.
QTransform LineTransform(QPoint origin, const HaloTextSpec& label, int line) {
    QTransform t;
    t.translate(origin.x(), origin.y());
    t.rotate(-label.escapement / 10.0);
    t.translate(0, line * label.lineHeight);
    return t;
}

// Draws one line's glyphs (no halo) into the empty 8-bit `mask` and collects
// the pixels they cover into `covered`, clearing them again. False when a
// pixel is only partly covered.
bool LineMask(QImage& mask, QPoint origin, const HaloTextSpec& label, int line,
              const ShapedLine& shaped, std::vector<QPoint>& covered) {
    covered.clear();
    const QTransform t = LineTransform(origin, label, line);
    {
        QPainter p(&mask);
        p.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing, false);
        p.setTransform(t);
        p.setPen(Qt::black);
        for (const QGlyphRun& run : shaped.runs)
            p.drawGlyphRun(shaped.runOrigin, run);
    }
    const QRect region = t.mapRect(shaped.ink).toAlignedRect().adjusted(-2, -2, 2, 2) & mask.rect();
    const qsizetype stride = mask.bytesPerLine();
    uchar* bits = mask.bits();
    bool whole = true;
    for (int y = region.top(); y <= region.bottom(); ++y) {
        uchar* row = bits + y * stride;
        for (int x = region.left(); x <= region.right(); ++x) {
            if (row[x] == 0)
                continue;
            whole = whole && row[x] == 255;
            row[x] = 0;
            covered.push_back(QPoint(x, y));
        }
    }
    return whole;
}

// The label as direct drawing makes it, relative to bounds.topLeft(). The halo
// copies are the text shifted by whole screen pixels, so each line's text is
// rasterised once and stamped five times.
QImage MakeLabelImage(const QRect& bounds, const HaloTextSpec& label,
                      const std::vector<ShapedLine>& lines) {
    QImage image(bounds.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    const QPoint origin = -bounds.topLeft();
    QImage mask(bounds.size(), QImage::Format_Alpha8);
    mask.fill(0);
    const QRgb halo = kHalo.rgb() | 0xFF000000u;
    const QRgb ink = label.colour.rgb() | 0xFF000000u;
    const int w = image.width(), h = image.height();
    const qsizetype stride = image.bytesPerLine();
    uchar* out = image.bits();
    std::vector<QPoint> covered;
    for (int j = 0; j < label.lineCount; ++j) {
        if (label.lines[j].isEmpty())
            continue;
        if (!LineMask(mask, origin, label, j, lines[size_t(j)], covered)) {
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
            for (const QPoint& at : covered) {
                const int x = at.x() + dx, y = at.y() + dy;
                if (x >= 0 && x < w && y >= 0 && y < h)
                    reinterpret_cast<QRgb*>(out + y * stride)[x] = colour;
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
    std::vector<ShapedLine> lines;
    lines.reserve(size_t(std::max(label.lineCount, 0)));
    for (int j = 0; j < label.lineCount; ++j)
        lines.push_back(Shape(label.lines[j], *label.font));
    QRect bounds = InkBounds(label, lines);
    if (label.escapement != 0) {
        QTransform turn;
        turn.rotate(-label.escapement / 10.0);
        bounds = turn.mapRect(QRectF(bounds)).toAlignedRect().adjusted(-1, -1, 1, 1);
    }
    if (static_cast<qint64>(bounds.width()) * bounds.height() > kMaxImagePixels)
        return false;
    entry.offset = bounds.topLeft();
    entry.image = MakeLabelImage(bounds, label, lines);
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
