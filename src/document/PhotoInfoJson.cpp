#include "document/PhotoInfoJson.h"

#include "document/ComputedLength.h"
#include "document/ShapeMeasures.h"
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

// mm² as m², to a square centimetre.
QByteArray SquareMetres(double mm2) {
    return QByteArray::number(mm2 / 1e6, 'f', 4);
}

QByteArray BasisName(MeasureBasis basis) {
    switch (basis) {
    case MeasureBasis::Plane:
        return "plane";
    case MeasureBasis::FacingCamera:
        return "facingCamera";
    case MeasureBasis::Picture:
        return "picture";
    case MeasureBasis::None:
        break;
    }
    return "none";
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

void AppendArea(QByteArray& out, const AreaRecord& area, const ComputedArea* computed) {
    out += "{\"name\":" + JsonString(cp950::ToQString(QByteArray::fromStdString(area.name))) +
           ",\"opening\":" + (area.opening ? "true" : "false") + ",\"colour\":\"" +
           ColourHex(area.colour) + "\",\"corners\":[";
    for (size_t i = 0; i < area.corners.size(); ++i) {
        if (i > 0)
            out += ',';
        AppendPoint(out, area.corners[i]);
    }
    out += "],\"font\":" + LogFontToJson(area.font);
    if (computed && computed->HasValue())
        out += ",\"computed\":{\"gross\":" + SquareMetres(computed->gross) +
               ",\"net\":" + SquareMetres(computed->net) +
               ",\"uncertainty\":" + SquareMetres(computed->netUncertainty) +
               ",\"perimeter\":" + Mm(computed->perimeter) +
               ",\"openings\":" + QByteArray::number(computed->openingCount) + ",\"basis\":\"" +
               BasisName(computed->basis) + "\"}";
    out += '}';
}

void AppendAngle(QByteArray& out, const AngleRecord& angle, const ComputedAngle* computed) {
    out += "{\"colour\":\"" + ColourHex(angle.colour) + "\",\"points\":[";
    AppendPoint(out, angle.arm1);
    out += ',';
    AppendPoint(out, angle.vertex);
    out += ',';
    AppendPoint(out, angle.arm2);
    out += "],\"font\":" + LogFontToJson(angle.font);
    if (computed && computed->HasValue())
        out += ",\"computed\":{\"degrees\":" + QByteArray::number(computed->degrees, 'f', 2) +
               ",\"uncertainty\":" + QByteArray::number(computed->uncertainty, 'f', 2) +
               ",\"basis\":\"" + BasisName(computed->basis) + "\"}";
    out += '}';
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
    const std::optional<ReferenceMapping> mapping =
        ReferenceMapping::Of(info.reference, info.dimensions);
    const bool dimensionsWritten = WriteArray(
        out, info.dimensions,
        [&mapping](QByteArray& json, const Dimension& dim, size_t) {
            json += "{\"colour\":\"" + ColourHex(dim.colour) + "\",\"start\":";
            AppendPoint(json, dim.start);
            json += ",\"end\":";
            AppendPoint(json, dim.end);
            json += ",\"value\":" + FieldJson(dim.value) + ",\"font\":" + LogFontToJson(dim.font);
            if (mapping) {
                const ComputedLength c = ComputeLength(*mapping, dim);
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
    out += ReferenceJson(info.reference);
    if (!info.areas.empty()) {
        const std::vector<ComputedArea> computed =
            withReference ? ComputeAreas(info.reference, info.dimensions, info.areas)
                          : std::vector<ComputedArea>();
        out += ",\"areas\":";
        const bool areasWritten = WriteArray(
            out, info.areas,
            [&computed](QByteArray& json, const AreaRecord& area, size_t i) {
                AppendArea(json, area, computed.empty() ? nullptr : &computed[i]);
            },
            write);
        if (!areasWritten)
            return false;
    }
    if (!info.angles.empty()) {
        out += ",\"angles\":";
        const bool anglesWritten = WriteArray(
            out, info.angles,
            [&info, withReference](QByteArray& json, const AngleRecord& angle, size_t) {
                const ComputedAngle computed = ComputeAngle(info.reference, info.dimensions, angle);
                AppendAngle(json, angle, withReference ? &computed : nullptr);
            },
            write);
        if (!anglesWritten)
            return false;
    }
    out += '}';
    return write(out);
}
