#pragma once
// Text with a one-pixel yellow halo: each line is drawn in yellow at the four
// diagonal neighbours of its origin, (-1,-1), (-1,+1), (+1,-1), (+1,+1) in that
// order, then in the text colour at the origin. The origin is the top-left
// corner of the text cell (the baseline lies `ascent` below it); the halo
// offsets are screen pixels added to the origin before the text is turned by
// `escapement` tenths of a degree counter-clockwise about it. Line j lies
// j × lineHeight below line 0 along the turned text.
//
// HaloTextCache keeps finished labels as small premultiplied ARGB images laid
// out in screen orientation (one drawImage instead of five text outputs per
// line), together with the label's measured extent, under one key that names
// text, font, escapement and colour. An image holds exactly the pixels direct
// drawing makes, shifted by whole pixels: text is drawn without antialiasing,
// so each pixel is either untouched or fully one colour. The cache is bounded
// in bytes and in entries (room for the labels of several zoom steps of a
// photo with ten thousand records) and drops the least recently used first.

#include "drawing/TextMeasurer.h"

#include <QColor>
#include <QImage>
#include <QPoint>
#include <list>
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
    struct Entry {
        SIZE extent;   // the text's measured extent (callers' own use)
        QImage image;  // null until made, or when too large to keep
        QPoint offset; // image top-left relative to the text origin
        bool imageTried = false;
    };

    explicit HaloTextCache(size_t maxBytes = 48u << 20, size_t maxEntries = 65536)
        : m_maxBytes(maxBytes), m_maxEntries(maxEntries) {}

    // The entry for `key`, or nullptr. A found entry counts as used.
    Entry* Find(const std::string& key);
    // A new entry (no image yet); may drop older entries first.
    Entry& Insert(const std::string& key, SIZE extent);

    // Keeps an entry made by another cache (its image shared, not copied);
    // may drop older entries first.
    void Adopt(const std::string& key, const Entry& made);

    // Makes `entry`'s image from `spec` unless it was tried already. False
    // when the label is too large for an image. Entries made earlier may be
    // dropped to stay within the bounds; `entry` itself stays.
    bool Make(Entry& entry, const HaloTextSpec& spec);
    // Draws `entry`'s text at `origin`, making its image from `spec` first if
    // needed. False (nothing drawn) when the label is too large for an image.
    bool Draw(QPainter& painter, QPoint origin, Entry& entry, const HaloTextSpec& spec);
    // Draws an entry whose image is already made; false when there is none.
    bool DrawMade(QPainter& painter, QPoint origin, const Entry& entry);

    void Clear();
    size_t Bytes() const { return m_bytes; }
    // How many labels are held (made, or measured only).
    size_t Count() const { return m_entries.size(); }
    size_t Images() const;

private:
    // An entry and its place in the order of use.
    struct Slot {
        Entry entry;
        std::list<const std::string*>::iterator use;
    };
    // Drops the least recently used entries until both bounds hold, never
    // `keep` (the entry being made) nor the last one left.
    void Evict(size_t maxBytes, size_t maxEntries, const Entry* keep);

    std::unordered_map<std::string, Slot> m_entries;
    // The keys (owned by m_entries, whose nodes never move), least recently
    // used first: dropping one costs the same however many are kept.
    std::list<const std::string*> m_use;
    size_t m_bytes = 0;
    size_t m_maxBytes;
    size_t m_maxEntries;
};
