#pragma once
// What a laser meter says, turned into range events, and what it is asked.
// A protocol knows nothing of how the bytes travel: a serial port, a
// Bluetooth socket or the values of a low-energy characteristic all end up
// in Receive; a transport carries the bytes of Greeting and MeasureRequest
// to the meter.

#include "telvo/RangeLineParser.h"

#include <QByteArray>
#include <QString>
#include <memory>
#include <vector>

class RangeProtocol {
public:
    virtual ~RangeProtocol() = default;

    // Bytes from the meter. `source` says where they came from: 0 for a byte
    // stream or the first characteristic of the meter's profile, n for its
    // n-th further characteristic. Appends the events they complete.
    virtual void Receive(int source, const QByteArray& bytes, std::vector<RangeEvent>& events) = 0;
    // Bytes to send once the meter is connected (empty: nothing).
    virtual QByteArray Greeting() { return {}; }
    // Bytes that ask the meter for a reading; empty when it measures only
    // with its own button.
    virtual QByteArray MeasureRequest() { return {}; }
    // Forgets partial input and requests waiting for their answer.
    virtual void Reset() = 0;

    // Convenience for tests and tools: the events of one call of Receive.
    std::vector<RangeEvent> Receive(int source, const QByteArray& bytes) {
        std::vector<RangeEvent> events;
        Receive(source, bytes, events);
        return events;
    }
};

// The protocol called `name`: "lines", "bosch-spp", "leica-spp", "bosch-ble"
// or "leica-ble"; nullptr for any other name.
std::unique_ptr<RangeProtocol> MakeRangeProtocol(const QString& name);

// True for the protocols that travel as a byte stream (serial port or
// Bluetooth serial profile) rather than as low-energy characteristics.
bool IsStreamProtocol(const QString& name);
// True for the protocols whose meter measures when asked (F5).
bool IsRequestProtocol(const QString& name);
