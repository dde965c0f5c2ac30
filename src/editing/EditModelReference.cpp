// EditModel: the reference length and the reference plane, and the lengths
// computed from them written in as values. Every change is one step.
#include "editing/EditModel.h"

#include "document/ComputedLength.h"

#include <cmath>
#include <cstdio>

bool EditModel::SetReferenceDimension(int index, bool on) {
    if (index < 0 || static_cast<size_t>(index) >= m_info.dimensions.size())
        return false;
    if (on && !ReferenceProblem(m_info.dimensions[static_cast<size_t>(index)]).isEmpty())
        return false;
    const MeasureReference before = m_info.reference;
    if (on)
        m_info.reference.dimension = index; // at most one: the mark moves
    else if (m_info.reference.dimension == index)
        m_info.reference.dimension = -1;
    m_history.ReferenceChanged(before);
    return true;
}

void EditModel::SetReferencePlane(const Quad& corners, double widthMm, double heightMm) {
    if (widthMm <= 0 || heightMm <= 0)
        return;
    const MeasureReference before = m_info.reference;
    m_info.reference.hasPlane = true;
    for (int i = 0; i < 4; ++i) {
        const QPointF p = corners[static_cast<size_t>(i)];
        m_info.reference.plane.corners[i] = POINT{static_cast<int32_t>(std::lround(p.x())),
                                                  static_cast<int32_t>(std::lround(p.y()))};
    }
    m_info.reference.plane.width = widthMm;
    m_info.reference.plane.height = heightMm;
    m_history.ReferenceChanged(before);
}

bool EditModel::DeleteReferencePlane() {
    if (!m_info.reference.hasPlane)
        return false;
    const MeasureReference before = m_info.reference;
    m_info.reference.hasPlane = false;
    m_info.reference.plane = ReferencePlane();
    m_history.ReferenceChanged(before);
    return true;
}

bool EditModel::HasComputedValue() const {
    const std::optional<ReferenceMapping> mapping =
        ReferenceMapping::Of(m_info.reference, m_info.dimensions);
    if (!mapping)
        return false;
    for (const Dimension& dim : m_info.dimensions)
        if (ComputeLength(*mapping, dim).HasValue())
            return true;
    return false;
}

int EditModel::WriteComputedValues() {
    std::vector<ChangeRecordsCommand::DimensionChange> changes;
    if (const std::optional<ReferenceMapping> mapping =
            ReferenceMapping::Of(m_info.reference, m_info.dimensions)) {
        for (size_t i = 0; i < m_info.dimensions.size(); ++i) {
            const ComputedLength c = ComputeLength(*mapping, m_info.dimensions[i]);
            if (!c.HasValue() || !(c.length < 1e9))
                continue;
            Dimension& dim = m_info.dimensions[i];
            const Dimension before = dim;
            std::snprintf(dim.value, sizeof dim.value, "%lld", std::llround(c.length));
            changes.push_back({static_cast<int>(i), before, dim});
        }
    }
    const int written = static_cast<int>(changes.size());
    m_history.DimensionsChanged(std::move(changes));
    return written;
}
