#include "drawing/WrapNoteText.h"

#include <algorithm>

WrappedText WrapNoteText(const QByteArray& text, const MeasureBytes& measure, int wrapWidth) {
    const char* bytes = text.constData();
    const int length = static_cast<int>(text.size());
    WrappedText out;
    // Appends bytes [from, to), clipped to the text (a start past the end gives "").
    auto addLine = [&](int from, int to) {
        from = std::min(from, length);
        to = std::clamp(to, from, length);
        out.lines.emplace_back(bytes + from, to - from);
    };

    int i = 0;
    int lineStart = 0;
    int lineWidth = 0;
    int lastBreak = -1; // index just after the most recent break opportunity
    while (i < length) {
        const unsigned char b = static_cast<unsigned char>(bytes[i]);
        if (b == 0x0D) {
            addLine(lineStart, i);
            out.widest = std::max(out.widest, lineWidth);
            lineWidth = 0;
            lineStart = i + 2;
            i += 2;
            continue;
        }
        const bool wide = b >= 0xA0;
        const int pieceLen = wide ? std::min(2, length - i) : 1;
        if (wide)
            lastBreak = i + 2;
        else if (b == ' ')
            lastBreak = i + 1;
        const int pw = measure(bytes + i, pieceLen);
        if (static_cast<long long>(lineWidth) + pw <= wrapWidth) {
            lineWidth += pw;
        } else if (wide) {
            addLine(lineStart, i);
            out.widest = std::max(out.widest, lineWidth);
            lineStart = i;
            lineWidth = pw;
        } else if (lastBreak != i + 1 && lastBreak > lineStart) {
            addLine(lineStart, lastBreak);
            out.widest = std::max(out.widest, measure(bytes + lineStart, lastBreak - lineStart));
            lineStart = lastBreak;
            lineWidth = measure(bytes + lastBreak, i + 1 - lastBreak);
        } else {
            addLine(lineStart, i);
            out.widest = std::max(out.widest, lineWidth);
            lineStart = i;
            lineWidth = pw;
        }
        i += wide ? 2 : 1;
    }
    out.widest = std::max(out.widest, lineWidth);
    addLine(lineStart, i);
    return out;
}
