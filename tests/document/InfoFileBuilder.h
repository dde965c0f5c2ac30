#pragma once
// Builds photo-info file bytes field by field for the tests, apart from the
// program's own writer, in any of the layouts.

#include "platform/LogFont.h"
#include "platform/WinTypes.h"

#include <QByteArray>
#include <cstdint>

class InfoFileBuilder {
public:
    explicit InfoFileBuilder(uint32_t version, const QByteArray& magic = QByteArray("KZR\0", 4));

    InfoFileBuilder& I32(int32_t v);
    InfoFileBuilder& Raw(const QByteArray& bytes);
    InfoFileBuilder& Font(const LOGFONTA& lf);

    // A dimension entry of this builder's version; `numeric` is used before
    // version 0x00010006, `text` (its first 10 bytes, NUL-padded) from then on.
    InfoFileBuilder& Dimension(uint32_t colour, POINT start, POINT end, const QByteArray& text,
                               int32_t numeric = 0, const LOGFONTA& font = DefaultLogFont());
    // A note entry: L, title bytes and NUL, anchor, L2, text bytes and NUL,
    // and the font from version 0x00010007.
    InfoFileBuilder& Note(const QByteArray& title, POINT anchor, const QByteArray& text,
                          const LOGFONTA& font = DefaultLogFont());

    const QByteArray& Bytes() const { return m_bytes; }

private:
    uint32_t m_version;
    QByteArray m_bytes;
};

// A font with every field set to something other than the default.
LOGFONTA UnusualFont();
