#pragma once
// Bosch's MT protocol, spoken by the GLM and PLR "C" meters over the
// Bluetooth serial profile and over their low-energy characteristic
// (docs/range-finder-protocol.md describes the frames and where they were
// checked).
//
// A frame the app sends:   C0 <command> <length> <data> <CRC8>
// The meter's answer:      <status> <length> <data> <CRC8>
// A frame the meter sends on its own (its "exchange data container", a
// reading taken with its button once automatic sending is on):
//                          C0 55 10 <16 bytes> <CRC8>
// The CRC8 (polynomial 0xA6, initial value 0xAA, not reflected) covers every
// byte before it. Answers carry no command, so they are matched in order
// with the requests sent.

#include "telvo/RangeProtocol.h"

#include <cstdint>
#include <deque>
#include <string>

class BoschMtProtocol : public RangeProtocol {
public:
    // Commands used here.
    static constexpr uint8_t kMeasure = 0x40;  // answer: uint32 LE, 0.05 mm units
    static constexpr uint8_t kAutoSync = 0x55; // switch automatic sending on or off
    // Longest data part accepted; longer lengths are noise.
    static constexpr size_t kMaxData = 64;

    // `askable`: F5 may ask for a reading (the serial profile); the
    // low-energy meters only send what their button measures.
    explicit BoschMtProtocol(bool askable) : m_askable(askable) {}

    using RangeProtocol::Receive;
    void Receive(int source, const QByteArray& bytes, std::vector<RangeEvent>& events) override;
    QByteArray Greeting() override;
    QByteArray MeasureRequest() override;
    void Reset() override;

    // Bytes dropped because they started no valid frame (bad CRC, noise).
    size_t DroppedBytes() const { return m_droppedBytes; }

    // The CRC8 of `size` bytes.
    static uint8_t Crc8(const uint8_t* data, size_t size);
    // A request frame: C0, command, length, data, CRC8.
    static QByteArray Frame(uint8_t command, const QByteArray& data = {});

private:
    // Consumes one frame or one byte from the front of the buffer; false
    // when more bytes are needed.
    bool Step(std::vector<RangeEvent>& events);
    void OnMeterFrame(uint8_t command, const uint8_t* data, size_t size,
                      std::vector<RangeEvent>& events);
    void OnAnswer(uint8_t status, const uint8_t* data, size_t size,
                  std::vector<RangeEvent>& events);
    void Drop(size_t count);

    bool m_askable;
    std::string m_buffer;
    // Commands sent whose answers have not come yet, oldest first.
    std::deque<uint8_t> m_pending;
    size_t m_droppedBytes = 0;
};
