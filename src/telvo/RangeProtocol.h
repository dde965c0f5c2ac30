#pragma once
// What a laser meter says, turned into range events, and what it is asked.
// A protocol knows nothing of how the bytes travel: a serial port, a
// Bluetooth socket or the values of a low-energy characteristic all end up
// in Receive; what the protocol wants sent waits in its outbox, each entry
// one write, until the link takes it.
//
// A protocol is told the time (SetTime, milliseconds on a monotonic clock)
// before each call, so that it can give up on a partial frame after a
// silence and on a request that got no answer (Tick).

#include "telvo/RangeLineParser.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

class RangeProtocol {
public:
    virtual ~RangeProtocol() = default;

    // Bytes from the meter. `source` says where they came from: 0 for a byte
    // stream or the first characteristic of the meter's profile, n for its
    // n-th further characteristic. Appends the events they complete,
    // readings and failures (kRangeEventFailed).
    virtual void Receive(int source, const QByteArray& bytes, std::vector<RangeEvent>& events) = 0;
    // Queues what greets a meter that has just connected.
    virtual void Greet() {}
    // Queues a request for a reading; false when the meter measures only
    // with its own button.
    virtual bool AskForReading() { return false; }
    // Time has passed: partial input and unanswered requests may have run
    // out of time (failures are appended; a request may be queued again).
    virtual void Tick(std::vector<RangeEvent>& events) { (void)events; }
    // True while Tick has something to watch.
    virtual bool Waiting() const { return false; }
    // Forgets partial input and requests waiting for their answer.
    virtual void Reset() = 0;
    // The dialect the transport found (see RangeTransport::Variant).
    virtual void SetVariant(int variant) { (void)variant; }

    void SetTime(int64_t nowMs) { m_nowMs = nowMs; }
    // What waits to be sent, oldest first; the outbox is empty afterwards.
    std::vector<QByteArray> TakeOutgoing() {
        std::vector<QByteArray> out;
        out.swap(m_outbox);
        return out;
    }

    // Convenience for tests and tools: the events of one call of Receive.
    std::vector<RangeEvent> Receive(int source, const QByteArray& bytes) {
        std::vector<RangeEvent> events;
        Receive(source, bytes, events);
        return events;
    }

protected:
    int64_t Now() const { return m_nowMs; }
    void Send(const QByteArray& bytes) { m_outbox.push_back(bytes); }

private:
    int64_t m_nowMs = 0;
    std::vector<QByteArray> m_outbox;
};

// The protocol called `name`: "lines", "bosch-spp", "leica-spp", "bosch-ble"
// or "leica-ble"; nullptr for any other name.
std::unique_ptr<RangeProtocol> MakeRangeProtocol(const QString& name);
