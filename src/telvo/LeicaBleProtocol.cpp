#include "telvo/LeicaBleProtocol.h"

#include "telvo/RangeUnits.h"
#include "telvo/TelvoComm.h"

#include <cstring>

void LeicaBleProtocol::Receive(int source, const QByteArray& bytes,
                               std::vector<RangeEvent>& events) {
    if (source != 0 || bytes.size() != 4)
        return;
    const auto* p = reinterpret_cast<const uint8_t*>(bytes.constData());
    const uint32_t bits =
        uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
    float metres;
    std::memcpy(&metres, &bits, sizeof metres);
    if (const std::optional<int32_t> mm = WholeMillimetres(static_cast<double>(metres) * 1000.0))
        events.push_back(RangeEvent{kRangeEventDistance, *mm});
}
