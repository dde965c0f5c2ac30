#include "drawing/TextMeasurer.h"

#include "platform/Cp950.h"

#include <algorithm>
#include <atomic>
#include <cstring>

namespace {
constexpr size_t kMaxFonts = 256;
constexpr size_t kMaxExtents = 16384;
constexpr size_t kMaxLayouts = 8192;
constexpr size_t kMaxDecoded = 16384;

std::atomic<uint64_t> g_decodeCount{0};

// "一二三四五" in code page 950: the gauge of a note's wrap width and line height.
const char kGauge[] = "\xA4\x40\xA4\x47\xA4\x54\xA5\x7C\xA4\xAD";
} // namespace

QString DecodeCp950(const char* bytes, int len) {
    g_decodeCount.fetch_add(1, std::memory_order_relaxed);
    bool ascii = true;
    for (int i = 0; i < len && ascii; ++i)
        ascii = static_cast<unsigned char>(bytes[i]) < 0x80;
    if (ascii)
        return QString::fromLatin1(bytes, len);
    return cp950::ToQString(QByteArray(bytes, len));
}

uint64_t Cp950DecodeCount() {
    return g_decodeCount.load(std::memory_order_relaxed);
}

std::string TextMeasurer::FontKey(const LOGFONTA& lf) {
    LOGFONTA k = lf;
    k.lfEscapement = 0;
    k.lfOrientation = 0;
    // Bytes after the face name's terminator do not name a different font.
    const size_t faceLen = cp950::FieldLength(k.lfFaceName, sizeof k.lfFaceName);
    std::memset(k.lfFaceName + faceLen, 0, sizeof k.lfFaceName - faceLen);
    return std::string(reinterpret_cast<const char*>(&k), sizeof k);
}

TextMeasurer::FontInfo& TextMeasurer::FontByKey(const std::string& key, const LOGFONTA& lf) {
    auto it = m_fonts.find(key);
    if (it != m_fonts.end())
        return *it->second;
    if (m_fonts.size() >= kMaxFonts)
        m_fonts.clear();
    QFont font = LogFontToQFont(lf);
    font.setStyleStrategy(QFont::NoAntialias);
    auto info = std::make_unique<FontInfo>(font);
    info->ascent = info->metrics.ascent();
    info->height = info->metrics.height();
    info->narrowWidths.fill(-1);
    FontInfo& ref = *info;
    m_fonts.emplace(key, std::move(info));
    return ref;
}

const TextMeasurer::FontInfo& TextMeasurer::Font(const LOGFONTA& lf) {
    return FontByKey(FontKey(lf), lf);
}

const QString& TextMeasurer::Piece(const char* bytes, int len) {
    const unsigned char b0 = static_cast<unsigned char>(bytes[0]);
    if (len == 1) {
        QString& text = m_narrowPieces[b0];
        if (text.isNull())
            text = DecodeCp950(bytes, 1);
        return text;
    }
    const uint16_t code = static_cast<uint16_t>(b0 << 8 | static_cast<unsigned char>(bytes[1]));
    auto it = m_widePieces.find(code);
    if (it == m_widePieces.end())
        it = m_widePieces.emplace(code, DecodeCp950(bytes, 2)).first;
    return it->second;
}

int TextMeasurer::Width(FontInfo& font, const char* bytes, int len) {
    if (len <= 0)
        return 0;
    const unsigned char b0 = static_cast<unsigned char>(bytes[0]);
    if (len == 1) {
        int& w = font.narrowWidths[b0];
        if (w < 0)
            w = font.metrics.horizontalAdvance(Piece(bytes, 1));
        return w;
    }
    if (len == 2) {
        const uint16_t code = static_cast<uint16_t>(b0 << 8 | static_cast<unsigned char>(bytes[1]));
        auto it = font.wideWidths.find(code);
        if (it != font.wideWidths.end())
            return it->second;
        const int w = font.metrics.horizontalAdvance(Piece(bytes, 2));
        font.wideWidths.emplace(code, w);
        return w;
    }
    return font.metrics.horizontalAdvance(Decoded(bytes, len));
}

QString TextMeasurer::Decoded(const char* bytes, int len) {
    std::string key(bytes, static_cast<size_t>(std::max(len, 0)));
    auto it = m_decoded.find(key);
    if (it != m_decoded.end())
        return it->second;
    if (m_decoded.size() >= kMaxDecoded)
        m_decoded.clear();
    QString text = DecodeCp950(bytes, len);
    m_decoded.emplace(std::move(key), text);
    return text;
}

int TextMeasurer::WidthBound(const LOGFONTA& lf, const char* bytes, int len, int* height) {
    FontInfo& font = FontByKey(FontKey(lf), lf);
    *height = font.height;
    int64_t sum = font.height;
    for (int i = 0; i < len;) {
        const int n = static_cast<unsigned char>(bytes[i]) >= 0x80 && i + 1 < len ? 2 : 1;
        sum += Width(font, bytes + i, n);
        i += n;
    }
    return static_cast<int>(std::min<int64_t>(sum, 1 << 28));
}

int TextMeasurer::WidthBoundUtf8(const LOGFONTA& lf, const QByteArray& text, int* height) {
    FontInfo& font = FontByKey(FontKey(lf), lf);
    *height = font.height;
    int64_t sum = font.height;
    const int len = static_cast<int>(text.size());
    for (int i = 0; i < len;) {
        const unsigned char b0 = static_cast<unsigned char>(text[i]);
        if (b0 < 0x80) {
            sum += Width(font, text.constData() + i, 1);
            ++i;
            continue;
        }
        // One character of two to four bytes, measured once per font.
        int n = 1;
        while (n < 4 && i + n < len && (static_cast<unsigned char>(text[i + n]) & 0xC0) == 0x80)
            ++n;
        uint32_t code = 0;
        for (int k = 0; k < n; ++k)
            code = code << 8 | static_cast<unsigned char>(text[i + k]);
        auto it = font.utf8Widths.find(code);
        if (it == font.utf8Widths.end())
            it = font.utf8Widths
                     .emplace(code, font.metrics.horizontalAdvance(
                                        QString::fromUtf8(text.constData() + i, n)))
                     .first;
        sum += it->second;
        i += n;
    }
    return static_cast<int>(std::min<int64_t>(sum, 1 << 28));
}

SIZE TextMeasurer::Extent(const LOGFONTA& lf, const QByteArray& text) {
    std::string key = FontKey(lf);
    key.append(text.constData(), static_cast<size_t>(text.size()));
    auto it = m_extents.find(key);
    if (it != m_extents.end())
        return it->second;
    FontInfo& font = FontByKey(key.substr(0, sizeof(LOGFONTA)), lf);
    const SIZE size{
        font.metrics.horizontalAdvance(Decoded(text.constData(), static_cast<int>(text.size()))),
        font.height};
    if (m_extents.size() >= kMaxExtents)
        m_extents.clear();
    m_extents.emplace(std::move(key), size);
    return size;
}

const TextMeasurer::NoteLayout& TextMeasurer::LayoutNote(const LOGFONTA& lf,
                                                         const QByteArray& text) {
    std::string key = FontKey(lf);
    key.append(text.constData(), static_cast<size_t>(text.size()));
    auto it = m_layouts.find(key);
    if (it != m_layouts.end())
        return it->second;
    FontInfo& font = FontByKey(key.substr(0, sizeof(LOGFONTA)), lf);
    NoteLayout layout;
    static const QString gauge = DecodeCp950(kGauge, sizeof kGauge - 1);
    layout.wrapWidth = font.metrics.horizontalAdvance(gauge);
    layout.lineHeight = font.height;
    WrappedText wrapped = WrapNoteText(
        text, [&](const char* bytes, int len) { return Width(font, bytes, len); },
        layout.wrapWidth);
    layout.widest = wrapped.widest;
    layout.lines = std::move(wrapped.lines);
    layout.decoded.reserve(layout.lines.size());
    for (const QByteArray& line : layout.lines)
        layout.decoded.push_back(Decoded(line.constData(), static_cast<int>(line.size())));
    if (m_layouts.size() >= kMaxLayouts)
        m_layouts.clear();
    return m_layouts.emplace(std::move(key), std::move(layout)).first->second;
}

void TextMeasurer::Clear() {
    m_decoded.clear();
    m_layouts.clear();
    m_extents.clear();
    m_fonts.clear();
}
