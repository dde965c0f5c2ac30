#pragma once
// Records made by the tests: dimensions and notes with the texts given in
// UTF-8, stored in their fields as the program stores them.

#include "document/Records.h"
#include "platform/ColorRef.h"
#include "platform/Cp950.h"
#include "platform/Cp950Edit.h"
#include "platform/LogFont.h"

#include <QString>

// A dimension from `start` to `end` whose size reads `value`, in `colour`.
inline Dimension MakeDimension(POINT start, POINT end, const QString& value = {},
                               COLORREF colour = RGB(0, 0, 255)) {
    Dimension d{colour, start, end, {}, DefaultLogFont()};
    cp950::CopyToField(d.value, cp950::FromQString(value));
    return d;
}

// A note at `anchor` holding `text`, with the title every new note gets.
inline InfoNote MakeNote(POINT anchor, const QString& text = {}) {
    InfoNote n = MakeNewNote(anchor, DefaultLogFont());
    cp950::CopyToField(n.text, ToRecordText(text));
    return n;
}

// A note at `anchor` titled `title`, holding `text`.
inline InfoNote MakeTitledNote(POINT anchor, const QString& title, const QString& text = {}) {
    InfoNote n = MakeNote(anchor, text);
    cp950::CopyToField(n.title, cp950::FromQString(title));
    return n;
}
