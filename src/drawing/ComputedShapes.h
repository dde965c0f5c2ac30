#pragma once
// The labels of areas and angles under the photo's reference, and where an
// area's label goes, each computed once per change of what it depends on:
// the reference (as ComputedLabels keys it), the unit (坪 or not), and for
// areas every area's corners and opening mark (an opening changes the area
// that holds it), for an angle its three points. A paint only compares
// those; whatever changed is computed again at the next paint, nothing else.

#include "document/ShapeRecords.h"
#include "drawing/ComputedLabels.h"

#include <QPointF>
#include <QString>
#include <cstdint>
#include <vector>

// Whether area labels give 坪 beside m² in renderers made from now on: the
// Chinese interface does, the English one does not. Set once at start-up by
// whoever knows the interface's language.
void SetAreaPingDefault(bool ping);
bool AreaPingDefault();

class ComputedShapes {
public:
    ComputedShapes() : m_ping(AreaPingDefault()) {}

    void SetPing(bool ping) { m_ping = ping; }
    bool Ping() const { return m_ping; }

    // Brings the labels up to the records.
    void Update(const MeasureReference& reference, const std::vector<Dimension>& dims,
                const std::vector<AreaRecord>& areas, const std::vector<AngleRecord>& angles);
    // As of the last Update (empty past the end).
    const QString& AreaLabel(size_t index) const;
    QPointF AreaLabelAt(size_t index) const;
    const QString& AngleLabel(size_t index) const;
    // Areas' and angles' figures computed so far by this object (a run of
    // ComputeAreas counts once).
    uint64_t Computations() const { return m_computations; }

private:
    struct AreaEntry {
        std::vector<POINT> corners;
        bool opening = false;
        QPointF labelAt;
        QString text;
    };
    struct AngleEntry {
        bool known = false;
        POINT arm1, vertex, arm2;
        QString text;
    };
    bool AreasChanged(const std::vector<AreaRecord>& areas) const;

    bool m_ping;
    bool m_known = false; // m_reference and m_keyPing hold what was computed under
    bool m_keyPing = false;
    ComputedLabels::ReferenceKey m_reference;
    std::vector<AreaEntry> m_areas;
    std::vector<AngleEntry> m_angles;
    uint64_t m_computations = 0;
};
