#include "telvo/LeicaBleProtocol.h"

#include "telvo/RangeFailure.h"
#include "telvo/RangeUnits.h"
#include "telvo/TelvoComm.h"

#include <cstring>

namespace {
constexpr int kLastMetricUnit = 3;
} // namespace

void LeicaBleProtocol::Receive(int source, const QByteArray& bytes,
                               std::vector<RangeEvent>& events) {
    const auto* p = reinterpret_cast<const uint8_t*>(bytes.constData());
    if (source == 1 && bytes.size() >= 2) {
        m_unit = p[0] | p[1] << 8;
        if (m_waiting)
            Deliver(events);
        return;
    }
    if (source != 0 || bytes.size() != 4)
        return;
    const uint32_t bits =
        uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
    float value;
    std::memcpy(&value, &bits, sizeof value);
    m_waiting = value;
    if (m_unit)
        Deliver(events);
}

void LeicaBleProtocol::Deliver(std::vector<RangeEvent>& events) {
    const double metres = static_cast<double>(*m_waiting);
    m_waiting.reset();
    if (*m_unit < 0 || *m_unit > kLastMetricUnit) {
        events.push_back(FailureEvent(RangeFailure::UnknownUnit));
        return;
    }
    const std::optional<int32_t> mm = WholeMillimetres(metres * 1000.0);
    if (!mm || *mm == 0 || metres > kLongestMetres) {
        events.push_back(FailureEvent(RangeFailure::NoMeasurement));
        return;
    }
    events.push_back(RangeEvent{kRangeEventDistance, *mm});
}

void LeicaBleProtocol::Reset() {
    m_unit.reset();
    m_waiting.reset();
}
