#include "telvo/BoschMtMeaning.h"

#include "telvo/RangeFailure.h"
#include "telvo/RangeUnits.h"
#include "telvo/TelvoComm.h"

#include <cstring>

namespace {

constexpr uint8_t kCommStatusMask = 0x07; // 0 = success
constexpr uint8_t kHardwareError = 0x08;
constexpr uint8_t kNotReady = 0x10;

constexpr int kExchangeSize = 16;
constexpr int kExchangeSingleDistance = 1;
constexpr int kExchangeErrorMessage = 63;

constexpr int kSyncSize = 33;
constexpr int kSyncSingleDistance = 1;
constexpr int kSyncStateOffset = 28; // device state: errors (7..1), laser (0)

uint32_t LittleEndian32(const char* p) {
    const auto* u = reinterpret_cast<const uint8_t*>(p);
    return uint32_t{u[0]} | uint32_t{u[1]} << 8 | uint32_t{u[2]} << 16 | uint32_t{u[3]} << 24;
}

float LittleEndianFloat(const char* p) {
    const uint32_t bits = LittleEndian32(p);
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

// Metres as a reading; a failure for 0 (the meter's failed measurement) and
// for what is no distance (NaN, negative, too long).
RangeEvent MetresEvent(float metres) {
    if (metres != 0.0f)
        if (const std::optional<int32_t> mm =
                WholeMillimetres(static_cast<double>(metres) * 1000.0))
            return RangeEvent{kRangeEventDistance, *mm};
    return FailureEvent(RangeFailure::NoMeasurement);
}

} // namespace

std::optional<RangeEvent> StatusFailure(uint8_t status) {
    if ((status & kCommStatusMask) != 0)
        return FailureEvent(RangeFailure::Refused);
    if (status & kHardwareError)
        return FailureEvent(RangeFailure::HardwareError);
    if (status & kNotReady)
        return FailureEvent(RangeFailure::NotReady);
    return std::nullopt;
}

std::optional<RangeEvent> MeasureAnswerEvent(uint8_t status, const QByteArray& data) {
    if (const std::optional<RangeEvent> failure = StatusFailure(status))
        return failure;
    if (data.size() != 4)
        return std::nullopt;
    const uint32_t units = LittleEndian32(data.constData()); // 0.05 mm
    if (units == 0)
        return FailureEvent(RangeFailure::NoMeasurement);
    return RangeEvent{kRangeEventDistance, *WholeMillimetres(units / 20.0)};
}

std::optional<RangeEvent> ExchangeDataEvent(const QByteArray& data) {
    if (data.size() != kExchangeSize)
        return std::nullopt;
    const int mode = static_cast<uint8_t>(data[0]) >> 2;
    if (mode == kExchangeErrorMessage)
        return FailureEvent(RangeFailure::NoMeasurement);
    if (mode != kExchangeSingleDistance)
        return std::nullopt; // areas, angles, the laser switching on, warnings
    return MetresEvent(LittleEndianFloat(data.constData() + 4));
}

std::optional<RangeEvent> SyncContainerEvent(const QByteArray& data) {
    if (data.size() != kSyncSize)
        return std::nullopt;
    const auto parameter = static_cast<uint8_t>(data[0]);
    const int mode = parameter & 0x1F;
    const int calculation = parameter >> 5;
    if (mode != kSyncSingleDistance || calculation != 0)
        return std::nullopt;
    const auto state = static_cast<uint8_t>(data[kSyncStateOffset]);
    const bool laserOn = state & 1;
    if ((state >> 1) != 0)
        return FailureEvent(RangeFailure::NoMeasurement);
    const float metres = LittleEndianFloat(data.constData() + 4);
    // With the laser on and no error, 0 is a meter waiting for its second
    // press, not a failed measurement.
    if (metres == 0.0f && laserOn)
        return std::nullopt;
    return MetresEvent(metres);
}
