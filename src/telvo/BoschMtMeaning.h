#pragma once
// What the containers of Bosch's MT protocol say: a reading, a failure, or
// nothing for the program (other modes, the laser switching on, warnings).

#include "telvo/RangeLineParser.h"

#include <QByteArray>
#include <optional>

// The 16-byte exchange data container of command 85, pushed by the meter.
std::optional<RangeEvent> ExchangeDataEvent(const QByteArray& data);
// The 33-byte sync container of command 80 (the GLM 100 C), pushed by the
// meter.
std::optional<RangeEvent> SyncContainerEvent(const QByteArray& data);
// The answer to the measure command (64): status byte and data.
std::optional<RangeEvent> MeasureAnswerEvent(uint8_t status, const QByteArray& data);
// The failure an answer's status reports, if any.
std::optional<RangeEvent> StatusFailure(uint8_t status);
