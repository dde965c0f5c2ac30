#pragma once
// The laser range finder's link. Opened with a meter (a transport and a
// protocol) and a target object; each event is left in the object's state
// (code and value) and announced to the target as a queued event of type
// kRangeValueEventType. The target reads the event and re-arms the link with
// SetListen(1).
//
// One event is outstanding at a time: after an announcement the link waits
// for SetListen(1) before it announces the next one, so the code and value
// stay those of the event the target was told about. Events that arrive in
// the meantime wait in order and are announced one by one, each after the
// re-arm of the one before; a reading replaces a reading still waiting
// right before it (the canvas gets the latest), and when kMaxWaitingEvents
// wait the oldest gives way.
//
// A meter that gives no reading (a failed measurement, an error answer, a
// request without answer) is not an event: the link says why by Notice,
// which the window shows without a box.
//
// A connection that drops (meter switched off, out of reach, unplugged) is
// reported once by Dropped; the link then tries again every retry interval
// and reports Connected when the meter is back.

#include "telvo/RangeLineParser.h"

#include <QElapsedTimer>
#include <QEvent>
#include <QObject>
#include <QPointer>
#include <QString>
#include <cstdint>
#include <deque>
#include <memory>

class QTimer;
class RangeCaptureLog;
class RangeProtocol;
class RangeTransport;

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
    // Events kept while the target has not re-armed the link; beyond them
    // the oldest waiting one is dropped.
    static constexpr size_t kMaxWaitingEvents = 256;
    // How often the protocol is told that time has passed.
    static constexpr int kTickIntervalMs = 50;
    // Time between two attempts to reach a meter that dropped.
    static constexpr int kRetryIntervalMs = 3000;

    TelvoComm();
    ~TelvoComm() override;

    // Opens the serial device of `port` (see RangeFinderDevice for the names
    // it takes) with the protocol TESSAMAR_RANGE_FINDER_PROTOCOL names
    // ("lines" when unset) and delivers events to `target`; nonzero on
    // success. An open link is closed first.
    int Open(const QString& port, QObject* target);
    // Opens a link over `transport` speaking `protocol`. Nonzero when the
    // transport started: at once connected for a serial port, else
    // Connected or ConnectFailed follows.
    int Open(std::unique_ptr<RangeTransport> transport, std::unique_ptr<RangeProtocol> protocol,
             QObject* target);
    // Closes the link and drops events not yet announced; harmless when
    // nothing is open.
    int Close();
    // Nonzero: go on delivering events (announces the next waiting one).
    // Zero: hold events back until the next SetListen(1).
    void SetListen(int listen);
    // Asks the meter for a reading; false when its protocol has no request
    // or it is not connected.
    bool RequestReading();

    int16_t EventCode() const { return m_nEventCode; }
    int32_t EventValue() const { return m_nEventValue; }

    // A meter is set: connected, connecting or coming back.
    bool IsOpen() const { return m_transport != nullptr; }
    bool IsConnected() const;
    // Why the last attempt failed.
    QString ErrorText() const { return m_error; }
    // Events received and not yet announced.
    size_t WaitingEvents() const { return m_waiting.size(); }
    void SetRetryInterval(int milliseconds);
    // Records every frame of the next links opened in `path` (empty: none);
    // TESSAMAR_RANGE_FINDER_LOG, when set, wins.
    void SetCaptureLog(const QString& path) { m_logPath = path; }
    // The file the open link records into; empty when it records nothing.
    QString CaptureLogPath() const;
    // Says why a reading that arrived was not used (the canvas could not
    // store it).
    void ReportFailure(int32_t why);

Q_SIGNALS:
    // The meter is connected: the first time, and each time it comes back.
    void Connected();
    // The first attempt of a meter that connects in the background failed;
    // the link is closed.
    void ConnectFailed(const QString& why);
    // A connected meter dropped; the link tries again on its own.
    void Dropped(const QString& why);
    // Why the meter gave no reading; empty when a reading came after such
    // a notice.
    void Notice(const QString& text);

private:
    void OnConnected();
    void OnFailed(const QString& why);
    void OnReceived(int source, const QByteArray& bytes);
    void OnTick();
    void Retry();
    void AnnounceNext();
    // Takes the protocol's events: readings wait, failures are noticed.
    void Take(const std::vector<RangeEvent>& events);
    void SendOutgoing();
    void Tell(const QString& notice);

    int16_t m_nEventCode = 0;
    int32_t m_nEventValue = 0;

    std::unique_ptr<RangeTransport> m_transport;
    std::unique_ptr<RangeProtocol> m_protocol;
    QPointer<QObject> m_target;
    QTimer* m_retry = nullptr;
    QTimer* m_tick = nullptr;
    QElapsedTimer m_clock;
    QString m_logPath;
    std::unique_ptr<RangeCaptureLog> m_log;
    QString m_notice;
    QString m_error;
    std::deque<RangeEvent> m_waiting;
    // True while the target may be told about the next event.
    bool m_bArmed = false;
    // True once the meter has been connected since Open.
    bool m_bWasConnected = false;
    // True from a drop until the meter is back.
    bool m_bDropped = false;
};
