#include "telvo/BoschMtProtocol.h"

#include "telvo/BoschMtMeaning.h"
#include "telvo/RangeFailure.h"

namespace {

constexpr uint8_t kRequestMode = 0xC0;
constexpr uint8_t kCommStatusMask = 0x07;
constexpr uint8_t kMeasureButton = 0x00;

// Whether `size` data bytes can be the successful answer to `command`.
bool AnswerFits(uint8_t command, int size) {
    switch (command) {
    case BoschMtProtocol::kMeasure:
        return size == 4;
    case BoschMtProtocol::kExchange:
        return size == 0 || size == 16;
    case BoschMtProtocol::kSync:
        return size == 0 || size == 33;
    case BoschMtProtocol::kTrigger:
        return size == 0;
    default:
        return true;
    }
}

// A request whose loss the user hears of: the one F5 sent.
bool AsksForReading(uint8_t command) {
    return command == BoschMtProtocol::kMeasure || command == BoschMtProtocol::kTrigger;
}

} // namespace

QByteArray BoschMtProtocol::Frame(uint8_t command, const QByteArray& data) {
    QByteArray frame;
    frame.append(static_cast<char>(kRequestMode));
    frame.append(static_cast<char>(command));
    frame.append(static_cast<char>(data.size()));
    frame.append(data);
    frame.append(static_cast<char>(Crc8(reinterpret_cast<const uint8_t*>(frame.constData()),
                                        static_cast<size_t>(frame.size()))));
    return frame;
}

void BoschMtProtocol::Greet() {
    // Automatic sending on, both ways the meters know: command 85 (the SPAD
    // meters, PLR and GLM 50 C) and command 80 (the GLM 100 C). Each meter
    // answers the other one "command unknown".
    Queue(kExchange, QByteArray("\x01\x00", 2));
    Queue(kSync, QByteArray("\x40\x00", 2));
}

bool BoschMtProtocol::AskForReading() {
    // The measure command goes without its parameter byte, as in the
    // captures of the serial road (C0 40 00 EE).
    if (m_serial)
        return Queue(kMeasure, {});
    return Queue(kTrigger, QByteArray(1, static_cast<char>(kMeasureButton)));
}

bool BoschMtProtocol::Queue(uint8_t command, const QByteArray& data) {
    if (m_queue.size() >= kMaxQueued)
        return false;
    m_queue.push_back(Pending{command, Frame(command, data), -1, false});
    SendNext();
    return true;
}

void BoschMtProtocol::Transmit(Pending& request) {
    request.sentAt = Now();
    if (!m_chunked) {
        Send(request.frame);
        return;
    }
    for (const QByteArray& piece : m_chunks.Split(request.frame))
        Send(piece);
}

void BoschMtProtocol::SendNext() {
    if (!m_queue.empty() && !InFlight())
        Transmit(m_queue.front());
}

void BoschMtProtocol::Retry(std::vector<RangeEvent>& events) {
    Pending& request = m_queue.front();
    if (!request.resent) {
        request.resent = true;
        Transmit(request);
        return;
    }
    if (AsksForReading(request.command))
        events.push_back(FailureEvent(RangeFailure::NoAnswer));
    m_queue.pop_front();
    SendNext();
}

void BoschMtProtocol::Receive(int source, const QByteArray& bytes,
                              std::vector<RangeEvent>& events) {
    if (source != 0)
        return;
    QByteArray stream = bytes;
    if (m_chunked) {
        std::vector<QByteArray> acks;
        stream = m_chunks.Join(bytes, acks);
        for (const QByteArray& ack : acks)
            Send(ack);
    }
    m_reader.Feed(
        stream, Now(), [this] { return InFlight(); },
        [this, &events](const BoschMtFrame& frame) { OnFrame(frame, events); });
}

void BoschMtProtocol::OnFrame(const BoschMtFrame& frame, std::vector<RangeEvent>& events) {
    if (!frame.fromMeter) {
        OnAnswer(frame, events);
        return;
    }
    std::optional<RangeEvent> event;
    if (frame.command == kExchange)
        event = ExchangeDataEvent(frame.data);
    else if (frame.command == kSync)
        event = SyncContainerEvent(frame.data);
    if (event)
        events.push_back(*event);
    // The meter's request crossed ours: it has dropped ours (it expects no
    // answer to what it pushes in AutoSync mode).
    if (InFlight())
        Retry(events);
}

void BoschMtProtocol::OnAnswer(const BoschMtFrame& frame, std::vector<RangeEvent>& events) {
    if (!InFlight())
        return;
    const Pending& request = m_queue.front();
    const bool failed = (frame.first & kCommStatusMask) != 0;
    if (!failed && !AnswerFits(request.command, static_cast<int>(frame.data.size())))
        return; // not the answer to this request: a stray frame
    std::optional<RangeEvent> event;
    if (request.command == kMeasure)
        event = MeasureAnswerEvent(frame.first, frame.data);
    else if (request.command == kTrigger)
        event = StatusFailure(frame.first); // the reading comes pushed
    if (event)
        events.push_back(*event);
    m_queue.pop_front();
    SendNext();
}

void BoschMtProtocol::Tick(std::vector<RangeEvent>& events) {
    if (m_reader.Expire(Now()))
        events.push_back(FailureEvent(RangeFailure::FrameLost));
    if (!InFlight())
        return;
    const Pending& request = m_queue.front();
    const int64_t limit = request.command == kMeasure ? kMeasureTimeoutMs : kAnswerTimeoutMs;
    if (Now() - request.sentAt >= limit)
        Retry(events);
}

bool BoschMtProtocol::Waiting() const {
    return InFlight() || m_reader.HasPartial();
}

void BoschMtProtocol::Reset() {
    m_reader.Reset();
    m_chunks.Reset();
    m_queue.clear();
}
