#pragma once
// Leica DISTO meters over Bluetooth low energy. The distance characteristic
// (source 0) indicates each reading as a float32, little-endian; the
// distance-unit characteristic (source 1) holds a uint16, little-endian,
// the unit the meter displays. Public notes disagree on whether the value
// is always in metres or in the displayed unit (docs/range-finder-protocol.md),
// so a reading counts only while the displayed unit is a metric length
// (codes 0..3) and the value is a plausible number of metres; in an
// imperial, area or volume unit it is refused with a notice. A distance
// that comes before any unit waits for it.

#include "telvo/RangeProtocol.h"

#include <optional>

class LeicaBleProtocol : public RangeProtocol {
public:
    // Longest distance a DISTO measures, with room to spare.
    static constexpr double kLongestMetres = 500.0;

    using RangeProtocol::Receive;
    void Receive(int source, const QByteArray& bytes, std::vector<RangeEvent>& events) override;
    void Reset() override;

private:
    void Deliver(std::vector<RangeEvent>& events);

    std::optional<int> m_unit;
    std::optional<float> m_waiting; // a distance without its unit yet
};
