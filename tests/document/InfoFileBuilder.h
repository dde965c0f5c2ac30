#pragma once
// Photo-info file bytes built field by field for the tests, independently
// of the program's own writer, in any of the layouts; read statuses by name.

#include "document/PhotoInfo.h"
#include "platform/ColorRef.h"
#include "platform/Cp950.h"
#include "platform/LogFont.h"
#include "platform/WinTypes.h"

#include <QByteArray>
#include <QtEndian>
#include <cstring>
#include <ostream>

constexpr uint32_t V8 = 0x00010008; // the newest layout

inline QByteArray Cp950(const char* utf8) {
    return cp950::FromQString(QString::fromUtf8(utf8));
}

inline QByteArray I32(int32_t value) {
    const int32_t little = qToLittleEndian(value);
    return QByteArray(reinterpret_cast<const char*>(&little), 4);
}

inline QByteArray Header(uint32_t version) {
    return QByteArray("KZR\0", 4) + I32(int32_t(version));
}

inline QByteArray FontBytes(const LOGFONTA& lf) {
    const char flags[8] = {char(lf.lfItalic),  char(lf.lfUnderline),     char(lf.lfStrikeOut),
                           char(lf.lfCharSet), char(lf.lfOutPrecision),  char(lf.lfClipPrecision),
                           char(lf.lfQuality), char(lf.lfPitchAndFamily)};
    return I32(lf.lfHeight) + I32(lf.lfWidth) + I32(lf.lfEscapement) + I32(lf.lfOrientation) +
           I32(lf.lfWeight) + QByteArray(flags, 8) + QByteArray(lf.lfFaceName, 32);
}

// A dimension entry: the value is the int32 `numeric` before version
// 0x00010006 and the first 10 bytes of `text` (NUL-padded) from then on; the
// font is stored from 0x00010008.
inline QByteArray DimensionBytes(uint32_t version, uint32_t colour, POINT start, POINT end,
                                 const QByteArray& text, int32_t numeric = 0,
                                 const LOGFONTA& font = DefaultLogFont()) {
    QByteArray out = I32(int32_t(colour)) + I32(start.x) + I32(start.y) + I32(end.x) + I32(end.y);
    out += version < 0x00010006 ? I32(numeric) : text.leftJustified(10, '\0', true);
    return version >= 0x00010008 ? out + FontBytes(font) : out;
}

// A note entry: L, title and NUL, anchor, L2, text and NUL; the font from
// version 0x00010007.
inline QByteArray NoteBytes(uint32_t version, const QByteArray& title, POINT anchor,
                            const QByteArray& text, const LOGFONTA& font = DefaultLogFont()) {
    const QByteArray out = I32(int32_t(title.size())) + title + '\0' + I32(anchor.x) +
                           I32(anchor.y) + I32(int32_t(text.size())) + text + '\0';
    return version >= 0x00010007 ? out + FontBytes(font) : out;
}

// A font with every field set to something other than the default.
inline LOGFONTA UnusualFont() {
    LOGFONTA lf{-21, 7, 450, 450, 700, 1, 1, 1, 136, 3, 2, 1, 0x31, {}};
    std::memcpy(lf.lfFaceName, "\xB7\x73\xB2\xD3\xA9\xFA\xC5\xE9", 9); // 新細明體
    return lf;
}

// A file of the newest layout with several records of each kind.
inline QByteArray SampleFile() {
    return Header(V8) + I32(3) + DimensionBytes(V8, RGB(255, 0, 0), {10, 20}, {300, 20}, "3.25") +
           DimensionBytes(V8, RGB(1, 2, 3), {0, 500}, {0, 100}, Cp950("約2米"), 0, UnusualFont()) +
           DimensionBytes(V8, 0, {-7, 7}, {-7, 7}, "") + I32(2) +
           NoteBytes(V8, Cp950("廚房"), {120, 80}, Cp950("窗戶東面\r\n寬 3 米"), UnusualFont()) +
           NoteBytes(V8, Cp950("新信息"), {-5, 9}, "");
}

inline InfoReadStatus ReadInto(PhotoInfo& info, const QByteArray& bytes) {
    return info.ReadBytes(bytes.constData(), static_cast<size_t>(bytes.size()));
}

inline void PrintTo(InfoReadStatus status, std::ostream* os) {
    const char* names[] = {"Read", "Missing", "NotInfoFile", "Damaged", "Unreadable", "TooLarge"};
    *os << names[static_cast<int>(status)];
}
