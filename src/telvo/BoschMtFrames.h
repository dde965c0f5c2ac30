#pragma once
// Cuts the byte stream of Bosch's MT protocol into frames whose CRC holds
// (docs/range-finder-protocol.md). A frame the meter sends on its own is
//     C0 <command> <length> <data> <CRC8>   (C4 <command> <CRC8>: short)
// and an answer is
//     <status> <length> <data> <CRC8>
// with a status byte of 00..3F. The CRC8 (polynomial 0xA6, initial value
// 0xAA, not reflected) covers every byte before it.
//
// A reading belongs to the moment it arrives: when a candidate frame is not
// complete yet but a whole frame with a good CRC starts later in the bytes
// already there, the candidate was noise and the reader goes on from that
// frame; a partial frame that stays incomplete for kSilenceMs is dropped
// (Expire), never completed by bytes that come later.

#include <QByteArray>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct BoschMtFrame {
    bool fromMeter = false; // a request of the meter (C0 ...), not an answer
    uint8_t first = 0;      // the mode byte of a request, the status of an answer
    uint8_t command = 0;    // requests only
    QByteArray data;
};

class BoschMtFrameReader {
public:
    // Longest data part accepted; longer lengths are noise.
    static constexpr size_t kMaxData = 64;
    // Silence after which a partial frame is dropped.
    static constexpr int64_t kSilenceMs = 200;

    // Bytes that arrived at `nowMs`. `answersExpected` says whether a request
    // waits for its answer (only then may a byte 00..3F start a frame); it is
    // asked again after each frame.
    void Feed(const QByteArray& bytes, int64_t nowMs, const std::function<bool()>& answersExpected,
              const std::function<void(const BoschMtFrame&)>& onFrame);
    // Drops a partial frame when nothing came for kSilenceMs; true when it did.
    bool Expire(int64_t nowMs);
    bool HasPartial() const { return m_buffer.size() > m_pos; }
    void Reset();

    static uint8_t Crc8(const uint8_t* data, size_t size);

private:
    enum class Shape { Valid, Incomplete, Invalid };
    Shape FrameAt(size_t pos, bool answers, size_t* total) const;

    std::string m_buffer;
    size_t m_pos = 0; // first byte not yet consumed
    int64_t m_lastByteMs = 0;
};
