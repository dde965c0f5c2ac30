#pragma once
// The laser range finder's serial link. Opened with a port and a target
// object; each event is left in the object's state (code and value) and
// announced to the target as a queued event of type kRangeValueEventType.
// The target reads the event and re-arms the link with SetListen(1).
//
// One event is outstanding at a time: after an announcement the link waits
// for SetListen(1) before it announces the next one, so the code and value
// stay those of the event the target was told about. Events that arrive in
// the meantime wait in order (up to kMaxWaitingEvents) and are announced one
// by one, each after the re-arm of the one before.

#include "telvo/RangeLineParser.h"

#include <QEvent>
#include <QObject>
#include <QPointer>
#include <QString>
#include <cstdint>
#include <deque>

class QSerialPort;

// Event type posted to the target for each range-finder event.
constexpr QEvent::Type kRangeValueEventType = static_cast<QEvent::Type>(QEvent::User + 100);

// Event codes and navigation values.
constexpr int16_t kRangeEventDistance = 6;
constexpr int16_t kRangeEventKey = 15;
constexpr int32_t kRangeKeyPrevious = 6;
constexpr int32_t kRangeKeyNext = 8;

class TelvoComm : public QObject {
    Q_OBJECT
public:
    // Events kept while the target has not re-armed the link; later ones
    // are dropped until the target catches up.
    static constexpr size_t kMaxWaitingEvents = 256;

    TelvoComm();
    ~TelvoComm() override;

    // Opens `port` (see RangeFinderDevice for the names it takes) and
    // delivers events to `target`; nonzero on success. An open link is
    // closed first.
    int Open(const QString& port, QObject* target);
    // Closes the link and drops events not yet announced; harmless when
    // nothing is open.
    int Close();
    // Nonzero: go on delivering events (announces the next waiting one).
    // Zero: hold events back until the next SetListen(1).
    void SetListen(int listen);

    int16_t EventCode() const { return m_nEventCode; }
    int32_t EventValue() const { return m_nEventValue; }

    bool IsOpen() const { return m_port != nullptr; }
    // The device the open link reads; empty when closed.
    QString DevicePath() const { return m_devicePath; }
    // Events received and not yet announced.
    size_t WaitingEvents() const { return m_waiting.size(); }

private:
    void ReadPort();
    void OnPortError(QSerialPort* port, int error);
    void AnnounceNext();

    int16_t m_nEventCode = 0;
    int32_t m_nEventValue = 0;

    QSerialPort* m_port = nullptr;
    QPointer<QObject> m_target;
    QString m_devicePath;
    RangeLineParser m_parser;
    std::deque<RangeEvent> m_waiting;
    // True while the target may be told about the next event.
    bool m_bArmed = false;
};
