#pragma once
// Text with a one-pixel yellow halo: each line is drawn in yellow at the four
// diagonal neighbours of its origin, (-1,-1), (-1,+1), (+1,-1), (+1,+1) in that
// order, then in the text colour at the origin. The origin is the top-left
// corner of the text cell (the baseline lies `ascent` below it); the halo
// offsets are screen pixels added to the origin before the text is turned by
// `degrees` counter-clockwise about it. Line j lies j × lineHeight below line 0
// along the turned text.
//
// HaloTextCache keeps the finished label as a small premultiplied ARGB image
// laid out in screen orientation, so a repaint costs one drawImage instead of
// five text outputs. The image holds exactly the pixels direct drawing makes,
// shifted by a whole number of pixels (text is drawn without antialiasing, so
// every pixel is either untouched or fully one colour).

#include "canvas/TextMeasurer.h"

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QStringList>
#include <string>
#include <unordered_map>

class QPainter;

struct HaloTextSpec {
    const TextMeasurer::FontInfo* font = nullptr;
    const QString* lines = nullptr; // `lineCount` lines
    int lineCount = 0;
    int lineHeight = 0;
    int escapement = 0; // tenths of a degree, counter-clockwise
    QColor colour;
};

// Draws straight onto the painter, which must have no antialiasing hints set.
void PaintHaloText(QPainter& painter, QPoint origin, const HaloTextSpec& spec);

class HaloTextCache {
public:
    explicit HaloTextCache(size_t maxBytes = 48u << 20) : m_maxBytes(maxBytes) {}

    // Draws the text at `origin` through the image cache. `key` names the text,
    // font, escapement and colour completely. Returns false (drawing nothing)
    // when the label is too large to keep as an image.
    bool Draw(QPainter& painter, QPoint origin, const std::string& key, const HaloTextSpec& spec);

    void Clear();
    size_t Bytes() const { return m_bytes; }
    size_t Count() const { return m_entries.size(); }

private:
    struct Entry {
        QImage image;
        QPoint offset; // image top-left relative to the text origin
        uint64_t lastUse = 0;
    };
    void Evict();

    std::unordered_map<std::string, Entry> m_entries;
    size_t m_bytes = 0;
    size_t m_maxBytes;
    uint64_t m_clock = 0;
};
