#include "telvo/BoschMtProtocol.h"

#include "telvo/RangeUnits.h"
#include "telvo/TelvoComm.h"

#include <cstring>

namespace {

constexpr uint8_t kFrameTypeMask = 0xC0;
constexpr uint8_t kMeterFrame = 0xC0; // a frame the meter sends on its own
constexpr uint8_t kAnswerFrame = 0x00;
constexpr uint8_t kFormatMask = 0x0C; // request format: long (with length) or short
constexpr uint8_t kLongFormat = 0x00;
constexpr uint8_t kShortFormat = 0x04;
constexpr uint8_t kStatusMask = 0x07; // communication status of an answer; 0 = success
constexpr size_t kExchangeDataSize = 16;
constexpr uint8_t kSingleDistanceMode = 1; // measuring mode in the container's first byte
// Requests remembered at most; a meter that never answers cannot make the
// list grow.
constexpr size_t kMaxPending = 8;

uint32_t LittleEndian32(const uint8_t* p) {
    return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}

float LittleEndianFloat(const uint8_t* p) {
    const uint32_t bits = LittleEndian32(p);
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

} // namespace

uint8_t BoschMtProtocol::Crc8(const uint8_t* data, size_t size) {
    uint8_t crc = 0xAA;
    for (size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 0x80) ? static_cast<uint8_t>((crc << 1) ^ 0xA6)
                               : static_cast<uint8_t>(crc << 1);
    }
    return crc;
}

QByteArray BoschMtProtocol::Frame(uint8_t command, const QByteArray& data) {
    QByteArray frame;
    frame.append(static_cast<char>(kMeterFrame));
    frame.append(static_cast<char>(command));
    frame.append(static_cast<char>(data.size()));
    frame.append(data);
    frame.append(static_cast<char>(Crc8(reinterpret_cast<const uint8_t*>(frame.constData()),
                                        static_cast<size_t>(frame.size()))));
    return frame;
}

QByteArray BoschMtProtocol::Greeting() {
    // Automatic sending on: the meter pushes each reading of its button.
    if (m_pending.size() < kMaxPending)
        m_pending.push_back(kAutoSync);
    return Frame(kAutoSync, QByteArray("\x01\x00", 2));
}

QByteArray BoschMtProtocol::MeasureRequest() {
    if (!m_askable)
        return {};
    if (m_pending.size() >= kMaxPending)
        m_pending.pop_front();
    m_pending.push_back(kMeasure);
    return Frame(kMeasure);
}

void BoschMtProtocol::Reset() {
    m_buffer.clear();
    m_pending.clear();
}

void BoschMtProtocol::Receive(int source, const QByteArray& bytes,
                              std::vector<RangeEvent>& events) {
    if (source != 0)
        return;
    m_buffer.append(bytes.constData(), static_cast<size_t>(bytes.size()));
    while (!m_buffer.empty() && Step(events)) {
    }
}

void BoschMtProtocol::Drop(size_t count) {
    m_buffer.erase(0, count);
}

bool BoschMtProtocol::Step(std::vector<RangeEvent>& events) {
    const auto* bytes = reinterpret_cast<const uint8_t*>(m_buffer.data());
    const size_t have = m_buffer.size();
    const uint8_t first = bytes[0];
    size_t header = 0; // bytes before the data
    size_t length = 0;
    if ((first & kFrameTypeMask) == kMeterFrame && (first & kFormatMask) == kLongFormat) {
        if (have < 3)
            return false;
        header = 3;
        length = bytes[2];
    } else if ((first & kFrameTypeMask) == kMeterFrame && (first & kFormatMask) == kShortFormat) {
        header = 2;
    } else if ((first & kFrameTypeMask) == kAnswerFrame && !m_pending.empty()) {
        if (have < 2)
            return false;
        header = 2;
        length = bytes[1];
    } else {
        ++m_droppedBytes;
        Drop(1);
        return true;
    }
    if (length > kMaxData) {
        ++m_droppedBytes;
        Drop(1);
        return true;
    }
    const size_t total = header + length + 1;
    if (have < total)
        return false;
    if (Crc8(bytes, total - 1) != bytes[total - 1]) {
        ++m_droppedBytes;
        Drop(1);
        return true;
    }
    if ((first & kFrameTypeMask) == kMeterFrame)
        OnMeterFrame(bytes[1], bytes + header, length, events);
    else
        OnAnswer(first, bytes + header, length, events);
    Drop(total);
    return true;
}

void BoschMtProtocol::OnMeterFrame(uint8_t command, const uint8_t* data, size_t size,
                                   std::vector<RangeEvent>& events) {
    // Only the exchange data container of a single distance is a reading;
    // areas, volumes, angles, the laser switching on and keep-alive frames
    // are not.
    if (command != kAutoSync || size != kExchangeDataSize)
        return;
    if ((data[0] >> 2) != kSingleDistanceMode)
        return;
    const float metres = LittleEndianFloat(data + 4);
    if (const std::optional<int32_t> mm = WholeMillimetres(static_cast<double>(metres) * 1000.0))
        events.push_back(RangeEvent{kRangeEventDistance, *mm});
}

void BoschMtProtocol::OnAnswer(uint8_t status, const uint8_t* data, size_t size,
                               std::vector<RangeEvent>& events) {
    const uint8_t command = m_pending.front();
    m_pending.pop_front();
    if ((status & kStatusMask) != 0 || command != kMeasure || size != 4)
        return;
    // 0.05 mm units.
    if (const std::optional<int32_t> mm = WholeMillimetres(LittleEndian32(data) / 20.0))
        events.push_back(RangeEvent{kRangeEventDistance, *mm});
}
