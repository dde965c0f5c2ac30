#pragma once
// The text a PDF reader copies or searches must be the text drawn. Qt's PDF
// writer tells each glyph's character by the first character of the font
// that shows that glyph; a CJK font such as Noto Sans CJK draws a radical
// (U+2E80..U+2FDF: "⽇", "⻑") and its ideograph ("日", "長") with one glyph,
// so every such ideograph would read back as the radical. This puts the
// ideograph back into the document's character maps (ToUnicode CMaps), in
// place: each code keeps its length, so no offset in the file moves.

#include <QByteArray>
#include <QFont>
#include <map>

// The ideograph (U+4E00..U+9FFF) that `font` draws with the same glyph as
// each radical it has; radicals without one are left out.
std::map<char16_t, char16_t> RadicalIdeographs(const QFont& font);

// Replaces in every character map of `pdf` each character that is a key of
// `ideographs` by its value.
void MapRadicalsToIdeographs(QByteArray& pdf, const std::map<char16_t, char16_t>& ideographs);
