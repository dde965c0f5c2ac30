#pragma once
// LOGFONTA with the exact 60-byte Windows layout (records and the photo-info
// file store it byte for byte), and its conversions to and from QFont.

#include <QFont>
#include <cstdint>

struct LOGFONTA {
    int32_t lfHeight = 0;
    int32_t lfWidth = 0;
    int32_t lfEscapement = 0;
    int32_t lfOrientation = 0;
    int32_t lfWeight = 0;
    uint8_t lfItalic = 0;
    uint8_t lfUnderline = 0;
    uint8_t lfStrikeOut = 0;
    uint8_t lfCharSet = 0;
    uint8_t lfOutPrecision = 0;
    uint8_t lfClipPrecision = 0;
    uint8_t lfQuality = 0;
    uint8_t lfPitchAndFamily = 0;
    char lfFaceName[32] = {};
};
static_assert(sizeof(LOGFONTA) == 60, "LOGFONTA must keep the Windows layout");

bool operator==(const LOGFONTA& a, const LOGFONTA& b);
inline bool operator!=(const LOGFONTA& a, const LOGFONTA& b) {
    return !(a == b);
}

// Height -13, weight 400, pitch-and-family 0x20, face "Arial", all else 0.
LOGFONTA DefaultLogFont();

// Face name decoded from code page 950.
QString FaceName(const LOGFONTA& lf);
void SetFaceName(LOGFONTA& lf, const QString& face);

// Negative lfHeight is the pixel size of the em; positive is the cell height
// (ascent + descent); 0 is the default size (13 pixels). Escapement is not part
// of a QFont: drawing code rotates the painter instead.
QFont LogFontToQFont(const LOGFONTA& lf);

// The fields a QFont knows (height as a negative em size, weight, italic,
// underline, strike-out, face); every other field is taken from `base`.
LOGFONTA QFontToLogFont(const QFont& font, const LOGFONTA& base = DefaultLogFont());

// Maps the face names the program and its files use ("Arial", "新細明體",
// "細明體") to installed look-alikes, so text measures and looks as intended;
// Arial's Chinese comes from the Ming face.
// Stored names stay as they are. Safe to call more than once.
void InstallFontSubstitutes();
