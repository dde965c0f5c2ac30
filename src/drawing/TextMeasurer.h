#pragma once
// Fonts and text extents for the record renderers and the hit tests, with
// caches so that repaints and select-tool clicks do not re-measure text that
// has not changed.
//
// Fonts are named by a LOGFONTA whose height is already the one to draw with
// (see ScaledLogFont); escapement and orientation play no part in measuring.
// Text is code page 950 bytes, decoded for Qt at this edge: each record text
// once (Decoded keeps it until the text changes), each one- or two-byte piece
// once for all fonts. Widths come from
// QFontMetrics::horizontalAdvance and heights from QFontMetrics::height() of
// the very QFont the renderers draw with. Text is drawn without antialiasing,
// like the crisp text of the classic desktop, so the one-pixel halo stays
// sharp and every drawn pixel is exactly the text or the halo colour.
//
// Every cache is bounded; a reference returned by one call stays valid until
// the next call on the same measurer.

#include "drawing/WrapNoteText.h"
#include "platform/LogFont.h"
#include "platform/WinTypes.h"

#include <QFont>
#include <QFontMetrics>
#include <array>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

class TextMeasurer {
public:
    struct FontInfo {
        explicit FontInfo(const QFont& f) : font(f), metrics(f) {}
        QFont font;
        QFontMetrics metrics;
        int ascent = 0;
        int height = 0; // ascent + descent: the text cell and the note line height
        std::array<int, 256> narrowWidths{}; // -1 until measured
        std::unordered_map<uint16_t, int> wideWidths;
        std::unordered_map<uint32_t, int> utf8Widths; // by the UTF-8 bytes of one character
    };

    // A note's text broken into lines in its font.
    struct NoteLayout {
        std::vector<QByteArray> lines; // at least one
        std::vector<QString> decoded;  // the same lines, decoded for drawing
        int widest = 0;
        int lineHeight = 0;
        int wrapWidth = 0;
    };

    TextMeasurer() = default;
    TextMeasurer(const TextMeasurer&) = delete;
    TextMeasurer& operator=(const TextMeasurer&) = delete;

    // The font `lf` describes, as drawn (no antialiasing) and measured.
    const FontInfo& Font(const LOGFONTA& lf);

    // Width of a run of bytes in `font`; one- and two-byte pieces are cached.
    int Width(FontInfo& font, const char* bytes, int len);

    // At least the width `text` measures or draws to in font `lf`, glyph
    // overhang included, from the cached widths of its one- and two-byte
    // pieces plus the font's height; `height` receives the font's height.
    int WidthBound(const LOGFONTA& lf, const char* bytes, int len, int* height);
    // The same for a UTF-8 text (a computed length such as "≈2431 ±12").
    int WidthBoundUtf8(const LOGFONTA& lf, const QByteArray& text, int* height);

    // Width and height of a whole text, measured as one string (cached).
    SIZE Extent(const LOGFONTA& lf, const QByteArray& text);

    // A text as Qt draws and measures it; each distinct text is decoded once
    // and kept while it is in use, so a record's text is decoded again only
    // when it changes.
    QString Decoded(const char* bytes, int len);

    // The lines of a note's text in font `lf`: wrap width and line height from
    // the extent of "一二三四五" in that font (cached per font and text).
    const NoteLayout& LayoutNote(const LOGFONTA& lf, const QByteArray& text);

    void Clear();

private:
    static std::string FontKey(const LOGFONTA& lf);
    FontInfo& FontByKey(const std::string& key, const LOGFONTA& lf);

    // A one- or two-byte piece decoded, for measuring in any font.
    const QString& Piece(const char* bytes, int len);

    std::unordered_map<std::string, std::unique_ptr<FontInfo>> m_fonts;
    std::unordered_map<std::string, QString> m_decoded;
    std::array<QString, 256> m_narrowPieces; // null until decoded
    std::unordered_map<uint16_t, QString> m_widePieces;
    std::unordered_map<std::string, SIZE> m_extents;
    std::unordered_map<std::string, NoteLayout> m_layouts;
};

// CP950 bytes as a QString; plain ASCII takes a short cut.
QString DecodeCp950(const char* bytes, int len);
// How many times DecodeCp950 has run in this process (tests count decodes).
uint64_t Cp950DecodeCount();
