#include "document/InfoFileBuilder.h"

#include <QtEndian>
#include <cstring>

InfoFileBuilder::InfoFileBuilder(uint32_t version, const QByteArray& magic)
    : m_version(version), m_bytes(magic) {
    char v[4];
    qToLittleEndian<uint32_t>(version, v);
    m_bytes.append(v, 4);
}

InfoFileBuilder& InfoFileBuilder::I32(int32_t value) {
    char v[4];
    qToLittleEndian<int32_t>(value, v);
    m_bytes.append(v, 4);
    return *this;
}

InfoFileBuilder& InfoFileBuilder::Raw(const QByteArray& bytes) {
    m_bytes.append(bytes);
    return *this;
}

InfoFileBuilder& InfoFileBuilder::Font(const LOGFONTA& lf) {
    I32(lf.lfHeight).I32(lf.lfWidth).I32(lf.lfEscapement).I32(lf.lfOrientation).I32(lf.lfWeight);
    const uint8_t flags[8] = {lf.lfItalic,  lf.lfUnderline,     lf.lfStrikeOut,
                              lf.lfCharSet, lf.lfOutPrecision,  lf.lfClipPrecision,
                              lf.lfQuality, lf.lfPitchAndFamily};
    m_bytes.append(reinterpret_cast<const char*>(flags), 8);
    m_bytes.append(lf.lfFaceName, 32);
    return *this;
}

InfoFileBuilder& InfoFileBuilder::Dimension(uint32_t colour, POINT start, POINT end,
                                            const QByteArray& text, int32_t numeric,
                                            const LOGFONTA& font) {
    I32(static_cast<int32_t>(colour)).I32(start.x).I32(start.y).I32(end.x).I32(end.y);
    if (m_version < 0x00010006)
        I32(numeric);
    else
        m_bytes.append(text.leftJustified(10, '\0', true));
    if (m_version >= 0x00010008)
        Font(font);
    return *this;
}

InfoFileBuilder& InfoFileBuilder::Note(const QByteArray& title, POINT anchor,
                                       const QByteArray& text, const LOGFONTA& font) {
    I32(static_cast<int32_t>(title.size())).Raw(title).Raw(QByteArray(1, '\0'));
    I32(anchor.x).I32(anchor.y);
    I32(static_cast<int32_t>(text.size())).Raw(text).Raw(QByteArray(1, '\0'));
    if (m_version >= 0x00010007)
        Font(font);
    return *this;
}

LOGFONTA UnusualFont() {
    LOGFONTA lf;
    lf.lfHeight = -21;
    lf.lfWidth = 7;
    lf.lfEscapement = 450;
    lf.lfOrientation = 450;
    lf.lfWeight = 700;
    lf.lfItalic = 1;
    lf.lfUnderline = 1;
    lf.lfStrikeOut = 1;
    lf.lfCharSet = 136;
    lf.lfOutPrecision = 3;
    lf.lfClipPrecision = 2;
    lf.lfQuality = 1;
    lf.lfPitchAndFamily = 0x31;
    std::memcpy(lf.lfFaceName, "\xB7\x73\xB2\xD3\xA9\xFA\xC5\xE9", 9); // 新細明體
    return lf;
}
