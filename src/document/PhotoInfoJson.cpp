#include "document/PhotoInfoJson.h"

#include "document/ComputedLength.h"
#include "platform/Cp950.h"

#include <cstdio>

namespace {

// A JSON string literal (quotes included) of `text`, UTF-8 encoded.
QByteArray JsonString(const QString& text);

void AppendNumber(QByteArray& out, long long n) {
    out += QByteArray::number(n);
}

void AppendPoint(QByteArray& out, const POINT& pt) {
    out += '[';
    AppendNumber(out, pt.x);
    out += ',';
    AppendNumber(out, pt.y);
    out += ']';
}

QByteArray ColourHex(COLORREF c) {
    char hex[8];
    std::snprintf(hex, sizeof hex, "#%02x%02x%02x", GetRValue(c), GetGValue(c), GetBValue(c));
    return QByteArray(hex, 7);
}

QByteArray Mm(double v) {
    return QByteArray::number(v, 'f', 1);
}

// ,"reference":{...} when the file holds one; the plane takes precedence.
QByteArray ReferenceJson(const MeasureReference& ref) {
    if (ref.hasPlane) {
        QByteArray out = ",\"reference\":{\"kind\":\"plane\",\"corners\":[";
        for (int i = 0; i < 4; ++i) {
            if (i > 0)
                out += ',';
            AppendPoint(out, ref.plane.corners[i]);
        }
        return out + "],\"width\":" + QByteArray::number(ref.plane.width) +
               ",\"height\":" + QByteArray::number(ref.plane.height) + '}';
    }
    if (ref.dimension >= 0)
        return ",\"reference\":{\"kind\":\"length\",\"dimension\":" +
               QByteArray::number(ref.dimension) + '}';
    return QByteArray();
}

template <size_t N> QByteArray FieldJson(const char (&field)[N]) {
    return JsonString(cp950::FieldToQString(field));
}

QByteArray JsonString(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    QByteArray out;
    out.reserve(utf8.size() + 2);
    out += '"';
    for (const char ch : utf8) {
        const auto c = static_cast<unsigned char>(ch);
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\b':
            out += "\\b";
            break;
        case '\f':
            out += "\\f";
            break;
        default:
            if (c < 0x20) {
                char esc[8];
                std::snprintf(esc, sizeof esc, "\\u%04x", c);
                out += esc;
            } else {
                out += ch;
            }
        }
    }
    out += '"';
    return out;
}

// One LOGFONTA as a JSON object, every field by its Windows name without "lf".
QByteArray LogFontToJson(const LOGFONTA& lf) {
    QByteArray out = "{\"height\":";
    AppendNumber(out, lf.lfHeight);
    out += ",\"width\":";
    AppendNumber(out, lf.lfWidth);
    out += ",\"escapement\":";
    AppendNumber(out, lf.lfEscapement);
    out += ",\"orientation\":";
    AppendNumber(out, lf.lfOrientation);
    out += ",\"weight\":";
    AppendNumber(out, lf.lfWeight);
    out += ",\"italic\":";
    AppendNumber(out, lf.lfItalic);
    out += ",\"underline\":";
    AppendNumber(out, lf.lfUnderline);
    out += ",\"strikeOut\":";
    AppendNumber(out, lf.lfStrikeOut);
    out += ",\"charSet\":";
    AppendNumber(out, lf.lfCharSet);
    out += ",\"outPrecision\":";
    AppendNumber(out, lf.lfOutPrecision);
    out += ",\"clipPrecision\":";
    AppendNumber(out, lf.lfClipPrecision);
    out += ",\"quality\":";
    AppendNumber(out, lf.lfQuality);
    out += ",\"pitchAndFamily\":";
    AppendNumber(out, lf.lfPitchAndFamily);
    out += ",\"faceName\":";
    out += FieldJson(lf.lfFaceName);
    out += '}';
    return out;
}

// "[" each record "," ... "]", every record made by `appendOne` and handed to
// `write` as soon as it is made, so no copy of the whole list is ever held.
template <typename Record, typename AppendOne>
bool WriteArray(QByteArray& out, const std::vector<Record>& records, AppendOne appendOne,
                const std::function<bool(const QByteArray&)>& write) {
    out += '[';
    for (size_t i = 0; i < records.size(); ++i) {
        if (i > 0)
            out += ',';
        appendOne(out, records[i], i);
        if (!write(out))
            return false;
        out.clear();
    }
    out += ']';
    return true;
}
} // namespace

bool WritePhotoInfoJson(const PhotoInfo& info,
                        const std::function<bool(const QByteArray&)>& write) {
    QByteArray out = "{\"dimensions\":";
    const bool withReference = info.reference.HasReference();
    const bool dimensionsWritten = WriteArray(
        out, info.dimensions,
        [&info, withReference](QByteArray& json, const Dimension& dim, size_t i) {
            json += "{\"colour\":\"" + ColourHex(dim.colour) + "\",\"start\":";
            AppendPoint(json, dim.start);
            json += ",\"end\":";
            AppendPoint(json, dim.end);
            json += ",\"value\":" + FieldJson(dim.value) + ",\"font\":" + LogFontToJson(dim.font);
            if (withReference) {
                const ComputedLength c = ComputeLength(info.reference, info.dimensions, i);
                if (c.HasValue())
                    json += ",\"computed\":{\"length\":" + Mm(c.length) +
                            ",\"uncertainty\":" + Mm(c.uncertainty) + '}';
            }
            json += '}';
        },
        write);
    if (!dimensionsWritten)
        return false;
    out += ",\"notes\":";
    const bool notesWritten = WriteArray(
        out, info.notes,
        [](QByteArray& json, const InfoNote& note, size_t) {
            json += "{\"title\":" + FieldJson(note.title) + ",\"anchor\":";
            AppendPoint(json, note.anchor);
            json +=
                ",\"text\":" + FieldJson(note.text) + ",\"font\":" + LogFontToJson(note.font) + '}';
        },
        write);
    if (!notesWritten)
        return false;
    out += ReferenceJson(info.reference) + '}';
    return write(out);
}
