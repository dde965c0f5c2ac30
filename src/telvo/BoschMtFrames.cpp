#include "telvo/BoschMtFrames.h"

namespace {
constexpr uint8_t kFrameTypeMask = 0xC0;
constexpr uint8_t kRequestType = 0xC0;
constexpr uint8_t kAnswerType = 0x00;
constexpr uint8_t kFormatMask = 0x0C; // request frame format
constexpr uint8_t kLongFormat = 0x00;
constexpr uint8_t kShortFormat = 0x04;
} // namespace

uint8_t BoschMtFrameReader::Crc8(const uint8_t* data, size_t size) {
    uint8_t crc = 0xAA;
    for (size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 0x80) ? static_cast<uint8_t>((crc << 1) ^ 0xA6)
                               : static_cast<uint8_t>(crc << 1);
    }
    return crc;
}

BoschMtFrameReader::Shape BoschMtFrameReader::FrameAt(size_t pos, bool answers,
                                                      size_t* total) const {
    const auto* bytes = reinterpret_cast<const uint8_t*>(m_buffer.data()) + pos;
    const size_t have = m_buffer.size() - pos;
    const uint8_t first = bytes[0];
    size_t header = 0;
    size_t length = 0;
    if ((first & kFrameTypeMask) == kRequestType && (first & kFormatMask) == kLongFormat) {
        if (have < 3)
            return Shape::Incomplete;
        header = 3;
        length = bytes[2];
    } else if ((first & kFrameTypeMask) == kRequestType && (first & kFormatMask) == kShortFormat) {
        header = 2;
    } else if ((first & kFrameTypeMask) == kAnswerType && answers) {
        if (have < 2)
            return Shape::Incomplete;
        header = 2;
        length = bytes[1];
    } else {
        return Shape::Invalid;
    }
    if (length > kMaxData)
        return Shape::Invalid;
    *total = header + length + 1;
    if (have < *total)
        return Shape::Incomplete;
    return Crc8(bytes, *total - 1) == bytes[*total - 1] ? Shape::Valid : Shape::Invalid;
}

void BoschMtFrameReader::Feed(const QByteArray& bytes, int64_t nowMs,
                              const std::function<bool()>& answersExpected,
                              const std::function<void(const BoschMtFrame&)>& onFrame) {
    if (bytes.isEmpty())
        return;
    m_buffer.append(bytes.constData(), static_cast<size_t>(bytes.size()));
    m_lastByteMs = nowMs;
    while (m_pos < m_buffer.size()) {
        const bool answers = answersExpected();
        size_t total = 0;
        const Shape shape = FrameAt(m_pos, answers, &total);
        if (shape == Shape::Invalid) {
            ++m_pos;
            continue;
        }
        if (shape == Shape::Incomplete) {
            // A whole frame further on means the candidate was noise.
            size_t next = m_pos + 1;
            size_t ignored = 0;
            while (next < m_buffer.size() && FrameAt(next, answers, &ignored) != Shape::Valid)
                ++next;
            if (next == m_buffer.size())
                break;
            m_pos = next;
            continue;
        }
        const auto* frame = reinterpret_cast<const uint8_t*>(m_buffer.data()) + m_pos;
        BoschMtFrame decoded;
        decoded.fromMeter = (frame[0] & kFrameTypeMask) == kRequestType;
        decoded.first = frame[0];
        size_t header = 2;
        if (decoded.fromMeter) {
            decoded.command = frame[1];
            header = (frame[0] & kFormatMask) == kShortFormat ? 2 : 3;
        }
        decoded.data = QByteArray(reinterpret_cast<const char*>(frame) + header,
                                  static_cast<int>(total - header - 1));
        m_pos += total;
        onFrame(decoded);
    }
    m_buffer.erase(0, m_pos);
    m_pos = 0;
}

bool BoschMtFrameReader::Expire(int64_t nowMs) {
    if (!HasPartial() || nowMs - m_lastByteMs < kSilenceMs)
        return false;
    Reset();
    return true;
}

void BoschMtFrameReader::Reset() {
    m_buffer.clear();
    m_pos = 0;
}
