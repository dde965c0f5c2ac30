#pragma once
// Breaks a note's text (code page 950 bytes) into the lines the note box shows.
//
// The walk goes byte by byte. A carriage return ends a line and the byte after
// it (the line feed) is skipped. A byte of 0xA0 or above starts a two-byte
// piece (one byte at the very end of the text); any other byte is a one-byte
// piece. Pieces are added to the current line while its width stays within
// `wrapWidth`. When a piece would overflow:
//   - a two-byte piece starts the next line itself;
//   - a one-byte piece other than a space moves everything after the most
//     recent space or two-byte character on the line (when there is one) to the
//     next line; that line keeps its trailing space;
//   - otherwise the line breaks right before the piece.
// `measure` gives the width in pixels of a run of bytes; single pieces are
// measured alone, and the two widths taken at a word break are measured as one
// string each. There is always at least one line.

#include <QByteArray>
#include <functional>
#include <vector>

struct WrappedText {
    std::vector<QByteArray> lines;
    int widest = 0;
};

using MeasureBytes = std::function<int(const char* bytes, int len)>;

WrappedText WrapNoteText(const QByteArray& text, const MeasureBytes& measure, int wrapWidth);
