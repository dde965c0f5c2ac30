#include "document/InfoFileExtension.h"

#include "document/InfoFileBytes.h"
#include "platform/Cp950.h"

#include <cmath>
#include <cstring>

namespace infofile {

namespace {

constexpr size_t kPlaneBytes = 4 * 8 + 2 * 8;
constexpr size_t kAngleBytes = 4 + 3 * 8 + kLogFontBytes;

double ReadF64(const char* p) {
    const uint64_t bits = qFromLittleEndian<uint64_t>(p);
    double v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

void AppendU32(QByteArray& out, uint32_t v) {
    char b[4];
    qToLittleEndian<uint32_t>(v, b);
    out.append(b, 4);
}

void AppendF64(QByteArray& out, double v) {
    uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    char b[8];
    qToLittleEndian<uint64_t>(bits, b);
    out.append(b, 8);
}

void AppendTag(QByteArray& out, uint32_t tag, const QByteArray& payload) {
    AppendU32(out, tag);
    AppendU32(out, static_cast<uint32_t>(payload.size()));
    out.append(payload);
}

bool ReadPlane(const char* p, ReferencePlane& plane) {
    for (int i = 0; i < 4; ++i) {
        plane.corners[i].x = qFromLittleEndian<int32_t>(p + 8 * i);
        plane.corners[i].y = qFromLittleEndian<int32_t>(p + 8 * i + 4);
    }
    plane.width = ReadF64(p + 32);
    plane.height = ReadF64(p + 40);
    return std::isfinite(plane.width) && std::isfinite(plane.height) && plane.width > 0 &&
           plane.height > 0;
}

void AppendPoint(QByteArray& out, const POINT& p) {
    AppendU32(out, static_cast<uint32_t>(p.x));
    AppendU32(out, static_cast<uint32_t>(p.y));
}

void AppendLogFont(QByteArray& out, const LOGFONTA& font) {
    char bytes[kLogFontBytes];
    ByteWriter writer(bytes);
    WriteLogFont(writer, font);
    out.append(bytes, kLogFontBytes);
}

bool ReadLogFontFrom(ByteCursor& in, LOGFONTA& font) {
    const char* p;
    if (!in.Take(kLogFontBytes, &p))
        return false;
    ReadLogFont(p, font);
    return true;
}

// An "AREA" payload, read whole: every count within its bounds and held by
// the payload, nothing left over.
bool ReadArea(const char* payload, size_t length, AreaRecord& area) {
    ByteCursor in(payload, length);
    uint32_t flags, nameLength, cornerCount;
    const char* name;
    if (!in.ReadU32(area.colour) || !in.ReadU32(flags) || !in.ReadU32(nameLength) ||
        nameLength > kAreaNameBytes || !in.Take(nameLength, &name) ||
        !ReadLogFontFrom(in, area.font) || !in.ReadU32(cornerCount) ||
        cornerCount < kMinAreaCorners || cornerCount > kMaxAreaCorners ||
        in.Remaining() != size_t(cornerCount) * 8)
        return false;
    area.opening = (flags & 1) != 0;
    area.name.assign(name, nameLength);
    area.corners.resize(cornerCount);
    for (POINT& corner : area.corners)
        in.ReadPoint(corner);
    return true;
}

QByteArray AreaPayload(const AreaRecord& area) {
    QByteArray payload;
    AppendU32(payload, area.colour);
    AppendU32(payload, area.opening ? 1 : 0);
    // A name is never longer than its bound; one that is gets cut between
    // two characters so the file stays readable.
    const size_t nameLength =
        area.name.size() <= kAreaNameBytes
            ? area.name.size()
            : cp950::CutLength(area.name.data(), area.name.size(), kAreaNameBytes);
    AppendU32(payload, static_cast<uint32_t>(nameLength));
    payload.append(area.name.data(), static_cast<qsizetype>(nameLength));
    AppendLogFont(payload, area.font);
    AppendU32(payload, static_cast<uint32_t>(area.corners.size()));
    for (const POINT& corner : area.corners)
        AppendPoint(payload, corner);
    return payload;
}

bool ReadAngle(const char* payload, size_t length, AngleRecord& angle) {
    ByteCursor in(payload, length);
    return length == kAngleBytes && in.ReadU32(angle.colour) && in.ReadPoint(angle.arm1) &&
           in.ReadPoint(angle.vertex) && in.ReadPoint(angle.arm2) &&
           ReadLogFontFrom(in, angle.font);
}

QByteArray AnglePayload(const AngleRecord& angle) {
    QByteArray payload;
    AppendU32(payload, angle.colour);
    AppendPoint(payload, angle.arm1);
    AppendPoint(payload, angle.vertex);
    AppendPoint(payload, angle.arm2);
    AppendLogFont(payload, angle.font);
    return payload;
}

} // namespace

ExtensionRead ReadExtension(const char* data, size_t size, size_t dimensionCount,
                            ExtensionContent& content) {
    if (size < sizeof kExtensionMagic ||
        std::memcmp(data, kExtensionMagic, sizeof kExtensionMagic) != 0)
        return ExtensionRead::Absent;
    ByteCursor in(data + sizeof kExtensionMagic, size - sizeof kExtensionMagic);
    uint32_t version, length;
    const char* tags;
    if (!in.ReadU32(version) || !in.ReadU32(length) || version == 0 || !in.Take(length, &tags))
        return ExtensionRead::Damaged;
    // Later block versions keep the tag layout: what this one knows is read,
    // the rest kept.
    ExtensionContent read;
    ByteCursor tagIn(tags, length);
    while (tagIn.Remaining() > 0) {
        uint32_t tag, payloadLength;
        const char* payload;
        if (!tagIn.ReadU32(tag) || !tagIn.ReadU32(payloadLength) ||
            !tagIn.Take(payloadLength, &payload))
            return ExtensionRead::Damaged;
        if (tag == kTagReferenceLength) {
            if (payloadLength != 4 || read.reference.dimension >= 0)
                return ExtensionRead::Damaged;
            const int32_t index = qFromLittleEndian<int32_t>(payload);
            if (index < 0 || static_cast<size_t>(index) >= dimensionCount)
                return ExtensionRead::Damaged;
            read.reference.dimension = index;
        } else if (tag == kTagReferencePlane) {
            if (payloadLength != kPlaneBytes || read.reference.hasPlane ||
                !ReadPlane(payload, read.reference.plane))
                return ExtensionRead::Damaged;
            read.reference.hasPlane = true;
        } else if (tag == kTagArea) {
            AreaRecord area;
            if (!ReadArea(payload, payloadLength, area))
                return ExtensionRead::Damaged;
            read.areas.push_back(std::move(area));
        } else if (tag == kTagAngle) {
            AngleRecord angle;
            if (!ReadAngle(payload, payloadLength, angle))
                return ExtensionRead::Damaged;
            read.angles.push_back(angle);
        } else {
            read.reference.unknownTags.push_back(
                UnknownTag{tag, QByteArray(payload, static_cast<qsizetype>(payloadLength))});
        }
    }
    content = std::move(read);
    return ExtensionRead::Read;
}

QByteArray WriteExtension(const MeasureReference& reference, const std::vector<AreaRecord>& areas,
                          const std::vector<AngleRecord>& angles) {
    if (reference.IsEmpty() && areas.empty() && angles.empty())
        return QByteArray();
    QByteArray tags;
    if (reference.dimension >= 0) {
        QByteArray payload;
        AppendU32(payload, static_cast<uint32_t>(reference.dimension));
        AppendTag(tags, kTagReferenceLength, payload);
    }
    if (reference.hasPlane) {
        QByteArray payload;
        for (const POINT& c : reference.plane.corners)
            AppendPoint(payload, c);
        AppendF64(payload, reference.plane.width);
        AppendF64(payload, reference.plane.height);
        AppendTag(tags, kTagReferencePlane, payload);
    }
    for (const AreaRecord& area : areas)
        AppendTag(tags, kTagArea, AreaPayload(area));
    for (const AngleRecord& angle : angles)
        AppendTag(tags, kTagAngle, AnglePayload(angle));
    for (const UnknownTag& unknown : reference.unknownTags)
        AppendTag(tags, unknown.tag, unknown.payload);
    QByteArray block(kExtensionMagic, sizeof kExtensionMagic);
    AppendU32(block, kExtensionVersion);
    AppendU32(block, static_cast<uint32_t>(tags.size()));
    block.append(tags);
    return block;
}

} // namespace infofile
