#pragma once
// Why a meter gave no reading. A protocol reports a failure as an event of
// code kRangeEventFailed whose value is one of these; the link shows its
// text as a notice and writes nothing.

#include "telvo/RangeLineParser.h"

#include <QString>
#include <cstdint>

enum class RangeFailure : int32_t {
    NoMeasurement = 1, // the meter measured nothing (distance 0, error event)
    HardwareError,     // the answer's status says hardware error
    NotReady,          // the answer's status says device not ready
    Refused,           // the answer's communication status is not success
    NoAnswer,          // a request got no answer, even when sent again
    FrameLost,         // a partial frame was dropped after a silence
    UnknownUnit,       // a value in a unit that cannot be converted
    CannotStore,       // the reading's text does not fit a dimension
};

// Event code of a failure.
constexpr int16_t kRangeEventFailed = 7;

inline RangeEvent FailureEvent(RangeFailure why) {
    return RangeEvent{kRangeEventFailed, static_cast<int32_t>(why)};
}

// The notice shown for a failure's event value.
QString RangeFailureText(int32_t why);
