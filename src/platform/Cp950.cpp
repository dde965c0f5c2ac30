#include "platform/Cp950.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <cstring>

namespace cp950 {
namespace {
// "windows-950" selects Microsoft's code page (Euro at A3 E1); "cp950" would
// select IBM's variant in ICU.
constexpr const char* kCodecName = "windows-950";
} // namespace

size_t FieldLength(const char* field, size_t capacity) {
    const void* nul = std::memchr(field, 0, capacity);
    return nul ? static_cast<size_t>(static_cast<const char*>(nul) - field) : capacity;
}

QByteArray FieldBytes(const char* field, size_t capacity) {
    return QByteArray(field, static_cast<qsizetype>(FieldLength(field, capacity)));
}

QString ToQString(const QByteArray& bytes, bool* ok) {
    QStringDecoder decoder(kCodecName, QStringConverter::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (ok)
        *ok = !decoder.hasError();
    return text;
}

QByteArray FromQString(const QString& text, bool* ok) {
    QStringEncoder encoder(kCodecName, QStringConverter::Flag::Stateless);
    QByteArray bytes = encoder.encode(text);
    if (ok)
        *ok = !encoder.hasError();
    return bytes;
}

size_t CutLength(const char* bytes, size_t len, size_t maxBytes) {
    size_t i = 0;
    while (i < len) {
        const size_t step =
            (IsLeadByte(static_cast<unsigned char>(bytes[i])) && i + 1 < len) ? 2 : 1;
        if (i + step > maxBytes)
            break;
        i += step;
    }
    return i;
}

void CopyToField(char* field, size_t capacity, const QByteArray& src) {
    if (capacity == 0)
        return;
    std::memset(field, 0, capacity);
    const QByteArray upToNul = src.left(src.indexOf('\0') < 0 ? src.size() : src.indexOf('\0'));
    const size_t n =
        CutLength(upToNul.constData(), static_cast<size_t>(upToNul.size()), capacity - 1);
    std::memcpy(field, upToNul.constData(), n);
}

} // namespace cp950
