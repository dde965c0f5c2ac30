#include "drawing/ComputedShapes.h"

#include "document/ShapeMeasures.h"

#include <atomic>

namespace {
std::atomic<bool> g_ping{true};
const QString kEmpty;

bool SamePoint(POINT a, POINT b) {
    return a.x == b.x && a.y == b.y;
}

bool SameCorners(const std::vector<POINT>& a, const std::vector<POINT>& b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (!SamePoint(a[i], b[i]))
            return false;
    return true;
}
} // namespace

void SetAreaPingDefault(bool ping) {
    g_ping = ping;
}

bool AreaPingDefault() {
    return g_ping;
}

bool ComputedShapes::AreasChanged(const std::vector<AreaRecord>& areas) const {
    if (areas.size() != m_areas.size())
        return true;
    for (size_t i = 0; i < areas.size(); ++i)
        if (areas[i].opening != m_areas[i].opening ||
            !SameCorners(areas[i].corners, m_areas[i].corners))
            return true;
    return false;
}

void ComputedShapes::Update(const MeasureReference& reference, const std::vector<Dimension>& dims,
                            const std::vector<AreaRecord>& areas,
                            const std::vector<AngleRecord>& angles) {
    const ComputedLabels::ReferenceKey key = ComputedLabels::KeyOf(reference, dims);
    if (!m_known || !(key == m_reference) || m_keyPing != m_ping) {
        m_known = true;
        m_reference = key;
        m_keyPing = m_ping;
        m_areas.clear();
        m_angles.clear();
    }
    if (AreasChanged(areas)) {
        // Every area at once: an opening takes from the area that holds it.
        const std::vector<ComputedArea> computed = ComputeAreas(reference, dims, areas);
        ++m_computations;
        std::vector<AreaEntry> entries(areas.size());
        for (size_t i = 0; i < areas.size(); ++i) {
            AreaEntry& entry = entries[i];
            entry.corners = areas[i].corners;
            entry.opening = areas[i].opening;
            // The label's place follows the corners alone.
            const bool samePlace =
                i < m_areas.size() && SameCorners(m_areas[i].corners, entry.corners);
            entry.labelAt = samePlace ? m_areas[i].labelAt : AreaLabelPoint(entry.corners);
            entry.text = i < computed.size() ? AreaText(computed[i], m_ping) : QString();
        }
        m_areas.swap(entries);
    }
    m_angles.resize(angles.size());
    for (size_t i = 0; i < angles.size(); ++i) {
        const AngleRecord& angle = angles[i];
        AngleEntry& entry = m_angles[i];
        if (entry.known && SamePoint(entry.arm1, angle.arm1) &&
            SamePoint(entry.vertex, angle.vertex) && SamePoint(entry.arm2, angle.arm2))
            continue;
        entry.known = true;
        entry.arm1 = angle.arm1;
        entry.vertex = angle.vertex;
        entry.arm2 = angle.arm2;
        entry.text = AngleText(ComputeAngle(reference, dims, angle));
        ++m_computations;
    }
}

const QString& ComputedShapes::AreaLabel(size_t index) const {
    return index < m_areas.size() ? m_areas[index].text : kEmpty;
}

QPointF ComputedShapes::AreaLabelAt(size_t index) const {
    return index < m_areas.size() ? m_areas[index].labelAt : QPointF();
}

const QString& ComputedShapes::AngleLabel(size_t index) const {
    return index < m_angles.size() ? m_angles[index].text : kEmpty;
}
