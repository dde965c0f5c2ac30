#pragma once
// Record texts are bytes in code page 950 (Microsoft's Big5 with the Euro sign).
// These helpers convert at the edges only: painting, measuring, edit boxes and
// the JSON dump. Inside the records the bytes stay as they are.

#include <QByteArray>
#include <QString>
#include <cstddef>

namespace cp950 {

// True for a byte that starts a two-byte character in code page 950.
inline bool IsLeadByte(unsigned char b) {
    return b >= 0x81 && b <= 0xFE;
}

// Length of a NUL-terminated text inside a fixed field of `capacity` bytes;
// never reads past the field.
size_t FieldLength(const char* field, size_t capacity);

// Bytes of a fixed field up to its terminator (or the whole field).
QByteArray FieldBytes(const char* field, size_t capacity);

// Decodes CP950 bytes. `ok`, when given, is false if a byte sequence had no
// mapping (it is then shown as U+FFFD).
QString ToQString(const QByteArray& bytes, bool* ok = nullptr);
inline QString FieldToQString(const char* field, size_t capacity, bool* ok = nullptr) {
    return ToQString(FieldBytes(field, capacity), ok);
}

// Encodes to CP950. `ok`, when given, is false if a character has no CP950 form.
QByteArray FromQString(const QString& text, bool* ok = nullptr);

// Number of leading bytes of `bytes` (length `len`) that fit in `maxBytes`
// without splitting a two-byte character.
size_t CutLength(const char* bytes, size_t len, size_t maxBytes);

// Copies `src` into a fixed field of `capacity` bytes: at most capacity-1 bytes
// of text (cut at a character boundary), then NUL, the rest zero-filled.
void CopyToField(char* field, size_t capacity, const QByteArray& src);

template <size_t N> QByteArray FieldBytes(const char (&field)[N]) {
    return FieldBytes(field, N);
}
template <size_t N> QString FieldToQString(const char (&field)[N]) {
    return FieldToQString(field, N);
}
template <size_t N> void CopyToField(char (&field)[N], const QByteArray& src) {
    CopyToField(field, N, src);
}

} // namespace cp950
