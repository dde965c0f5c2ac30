#include "document/InfoFileExtension.h"

#include "document/InfoFileBytes.h"

#include <cmath>
#include <cstring>

namespace infofile {

namespace {

constexpr size_t kPlaneBytes = 4 * 8 + 2 * 8;

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

} // namespace

ExtensionRead ReadExtension(const char* data, size_t size, size_t dimensionCount,
                            MeasureReference& reference) {
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
    MeasureReference read;
    ByteCursor tagIn(tags, length);
    while (tagIn.Remaining() > 0) {
        uint32_t tag, payloadLength;
        const char* payload;
        if (!tagIn.ReadU32(tag) || !tagIn.ReadU32(payloadLength) ||
            !tagIn.Take(payloadLength, &payload))
            return ExtensionRead::Damaged;
        if (tag == kTagReferenceLength) {
            if (payloadLength != 4 || read.dimension >= 0)
                return ExtensionRead::Damaged;
            const int32_t index = qFromLittleEndian<int32_t>(payload);
            if (index < 0 || static_cast<size_t>(index) >= dimensionCount)
                return ExtensionRead::Damaged;
            read.dimension = index;
        } else if (tag == kTagReferencePlane) {
            if (payloadLength != kPlaneBytes || read.hasPlane || !ReadPlane(payload, read.plane))
                return ExtensionRead::Damaged;
            read.hasPlane = true;
        } else {
            read.unknownTags.push_back(
                UnknownTag{tag, QByteArray(payload, static_cast<qsizetype>(payloadLength))});
        }
    }
    reference = std::move(read);
    return ExtensionRead::Read;
}

QByteArray WriteExtension(const MeasureReference& reference) {
    if (reference.IsEmpty())
        return QByteArray();
    QByteArray tags;
    if (reference.dimension >= 0) {
        QByteArray payload;
        AppendU32(payload, static_cast<uint32_t>(reference.dimension));
        AppendTag(tags, kTagReferenceLength, payload);
    }
    if (reference.hasPlane) {
        QByteArray payload;
        for (const POINT& c : reference.plane.corners) {
            AppendU32(payload, static_cast<uint32_t>(c.x));
            AppendU32(payload, static_cast<uint32_t>(c.y));
        }
        AppendF64(payload, reference.plane.width);
        AppendF64(payload, reference.plane.height);
        AppendTag(tags, kTagReferencePlane, payload);
    }
    for (const UnknownTag& unknown : reference.unknownTags)
        AppendTag(tags, unknown.tag, unknown.payload);
    QByteArray block(kExtensionMagic, sizeof kExtensionMagic);
    AppendU32(block, kExtensionVersion);
    AppendU32(block, static_cast<uint32_t>(tags.size()));
    block.append(tags);
    return block;
}

} // namespace infofile
