#pragma once
// Choosing a laser meter and connecting to it, for the connect command.

#include "telvo/RangeMeter.h"

#include <QString>
#include <optional>

class QObject;
class QSettings;
class QWidget;
class TelvoComm;

// Longest wait for a Bluetooth meter to connect.
constexpr int kRangeFinderConnectTimeoutMs = 20000;

// Where the chosen meter is remembered.
std::unique_ptr<QSettings> RangeFinderSettings();

// Where the link records its frames when the picker's "記錄通訊內容" is on
// (TESSAMAR_RANGE_FINDER_LOG names another file and wins).
QString RangeFinderLogPath();

// Runs the picker (through the prompt seam) with the remembered meter
// first; the meter chosen, or nothing when the user cancelled. The capture
// log's box is remembered with the meter.
std::optional<RangeMeterChoice> PickRangeFinder(QWidget* parent);

// Opens `link` to `meter`, delivering to `target`, and waits for the outcome:
// a serial port answers at once; a Bluetooth meter may take seconds, while a
// box with a cancel button shows. False with `why` set when it failed.
bool ConnectRangeFinder(QWidget* parent, TelvoComm& link, const RangeMeterChoice& meter,
                        QObject* target, QString* why);
