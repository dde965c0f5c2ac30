#pragma once
// What the range-finder tests share: frames written in hex, readable
// events in failure messages, and a stand-in for the canvas that collects
// the link's events.

#include "telvo/RangeFailure.h"
#include "telvo/TelvoComm.h"

#include <QByteArray>
#include <QEvent>
#include <QObject>
#include <ostream>
#include <vector>

inline void PrintTo(const RangeEvent& e, std::ostream* os) {
    *os << "{" << e.code << ", " << e.value << "}";
}

constexpr int16_t D = kRangeEventDistance;
constexpr int16_t K = kRangeEventKey;
constexpr int16_t F = kRangeEventFailed;
constexpr int32_t kNoMeasurement = static_cast<int32_t>(RangeFailure::NoMeasurement);

// "C0 55 02" and the like.
inline QByteArray Hex(const char* hex) {
    return QByteArray::fromHex(QByteArray(hex).replace(' ', ""));
}

// Reads the event from the link when told about it and, unless told not
// to, re-arms the link.
struct RangeReceiver : QObject {
    explicit RangeReceiver(TelvoComm& link) : link(link) {}
    bool event(QEvent* e) override {
        if (e->type() != kRangeValueEventType)
            return QObject::event(e);
        received.push_back(RangeEvent{link.EventCode(), link.EventValue()});
        if (rearm)
            link.SetListen(1);
        return true;
    }
    TelvoComm& link;
    std::vector<RangeEvent> received;
    bool rearm = true;
};
