#pragma once
// Bosch's MT protocol, spoken by the GLM and PLR "C" meters over the
// Bluetooth serial profile and over low energy (docs/range-finder-protocol.md
// describes the frames and where each fact comes from).
//
// Requests go out one at a time, as the protocol's half-duplex LONG frames
// want: the next leaves when the one before is answered or given up. An
// answer carries no command, so it is taken for the request in flight only
// when it has the shape that request's answer must have (a measurement: 4
// data bytes; AutoSync: none or an exchange data container; ...). A request
// that gets no answer in time, or that the meter drops because its own
// request crossed ours, is sent once more, then given up with a notice.
//
// No reading is made of a distance of 0 (the meter's failed measurement),
// of an answer whose status is not success or whose device flags say
// hardware error or not ready, or of a pushed error event: each of these is
// a failure event instead. "Hand raised" (0x20) is the meter asking to
// talk; it says nothing about the value and is ignored.

#include "telvo/BoschMtChunks.h"
#include "telvo/BoschMtFrames.h"
#include "telvo/RangeProtocol.h"

#include <cstdint>
#include <deque>

class BoschMtProtocol : public RangeProtocol {
public:
    // Commands used here.
    static constexpr uint8_t kMeasure = 0x40;  // answer: uint32 LE, 0.05 mm units
    static constexpr uint8_t kSync = 0x50;     // GLM 100 C: synchronise, 33-byte container
    static constexpr uint8_t kExchange = 0x55; // exchange data container, AutoSync
    static constexpr uint8_t kTrigger = 0x56;  // the remote measure button
    // Time a measurement may take; other requests are answered at once.
    static constexpr int64_t kMeasureTimeoutMs = 6000;
    static constexpr int64_t kAnswerTimeoutMs = 1500;
    // Requests waiting at most; further ones are refused.
    static constexpr size_t kMaxQueued = 8;
    // SetVariant: frames travel in chunks (the 00005301 low-energy family).
    static constexpr int kChunked = 1;

    // `serial`: F5 asks with the measure command (the serial profile); over
    // low energy it presses the remote trigger button, whose reading comes
    // pushed.
    explicit BoschMtProtocol(bool serial) : m_serial(serial) {}

    using RangeProtocol::Receive;
    void Receive(int source, const QByteArray& bytes, std::vector<RangeEvent>& events) override;
    void Greet() override;
    bool AskForReading() override;
    void Tick(std::vector<RangeEvent>& events) override;
    bool Waiting() const override;
    void Reset() override;
    void SetVariant(int variant) override { m_chunked = variant == kChunked; }

    // Queues any request (answers are matched by shape, see above); false
    // when kMaxQueued wait already.
    bool Ask(uint8_t command, const QByteArray& data = {}) { return Queue(command, data); }

    static uint8_t Crc8(const uint8_t* data, size_t size) {
        return BoschMtFrameReader::Crc8(data, size);
    }
    // A request frame: C0, command, length, data, CRC8.
    static QByteArray Frame(uint8_t command, const QByteArray& data = {});

private:
    struct Pending {
        uint8_t command = 0;
        QByteArray frame;
        int64_t sentAt = -1; // -1: not sent yet
        bool resent = false;
    };

    bool Queue(uint8_t command, const QByteArray& data);
    void Transmit(Pending& request);
    void SendNext();
    // The request in flight is lost: sent again once, then given up.
    void Retry(std::vector<RangeEvent>& events);
    void OnFrame(const BoschMtFrame& frame, std::vector<RangeEvent>& events);
    void OnAnswer(const BoschMtFrame& frame, std::vector<RangeEvent>& events);
    bool InFlight() const { return !m_queue.empty() && m_queue.front().sentAt >= 0; }

    bool m_serial;
    bool m_chunked = false;
    BoschMtFrameReader m_reader;
    BoschMtChunks m_chunks;
    std::deque<Pending> m_queue; // the front one is in flight once sent
};
