#include "drawing/ComputedLabels.h"

#include "document/ComputedLength.h"

#include <cstring>

namespace {
bool SamePoint(POINT a, POINT b) {
    return a.x == b.x && a.y == b.y;
}
const QByteArray kNone;
} // namespace

bool ComputedLabels::ReferenceKey::operator==(const ReferenceKey& o) const {
    return hasPlane == o.hasPlane && (!hasPlane || plane == o.plane) && dimension == o.dimension &&
           (dimension < 0 || (SamePoint(start, o.start) && SamePoint(end, o.end) &&
                              std::memcmp(value, o.value, sizeof value) == 0));
}

ComputedLabels::ReferenceKey ComputedLabels::KeyOf(const MeasureReference& reference,
                                                   const std::vector<Dimension>& dims) {
    ReferenceKey key;
    key.hasPlane = reference.hasPlane;
    key.plane = reference.plane;
    key.dimension = UsableReferenceDimension(reference, dims);
    if (key.dimension >= 0) {
        const Dimension& ref = dims[static_cast<size_t>(key.dimension)];
        key.start = ref.start;
        key.end = ref.end;
        std::memcpy(key.value, ref.value, sizeof key.value);
    }
    return key;
}

void ComputedLabels::Update(const MeasureReference& reference, const std::vector<Dimension>& dims) {
    m_hasReference = reference.HasReference();
    if (!m_hasReference)
        return;
    const ReferenceKey key = KeyOf(reference, dims);
    if (!(key == m_reference)) {
        m_reference = key;
        m_entries.clear();
    }
    m_entries.resize(dims.size());
    // The reference's map, made once for all the lengths computed now.
    std::optional<ReferenceMapping> mapping;
    bool mapped = false;
    for (size_t i = 0; i < dims.size(); ++i) {
        const Dimension& dim = dims[i];
        Entry& entry = m_entries[i];
        const bool valueEmpty = dim.value[0] == '\0';
        if (entry.known && entry.valueEmpty == valueEmpty &&
            (!valueEmpty || (SamePoint(entry.start, dim.start) && SamePoint(entry.end, dim.end))))
            continue;
        entry.known = true;
        entry.start = dim.start;
        entry.end = dim.end;
        entry.valueEmpty = valueEmpty;
        entry.text.clear();
        if (valueEmpty) {
            if (!mapped) {
                mapping = ReferenceMapping::Of(reference, dims);
                mapped = true;
            }
            if (mapping)
                entry.text = ComputeLength(*mapping, dim).Text().toUtf8();
            ++m_computations;
        }
    }
}

const QByteArray& ComputedLabels::Label(size_t index) const {
    if (!m_hasReference || index >= m_entries.size())
        return kNone;
    return m_entries[index].text;
}
