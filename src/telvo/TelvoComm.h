#pragma once
// The laser range finder's serial link. Opened with a port and a target
// object; each event is left in the object's state (code and value) and
// announced to the target as a queued RangeValueEvent. The target reads the
// event and re-arms the link with SetListen(1).

#include <QEvent>
#include <QObject>
#include <QString>
#include <cstdint>

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
    TelvoComm();
    ~TelvoComm() override;

    // Opens `port` and delivers events to `target`; nonzero on success.
    int Open(const QString& port, QObject* target);
    // Closes the link; harmless when nothing is open.
    int Close();
    // Nonzero: go on delivering events.
    void SetListen(int listen);

    int16_t EventCode() const { return m_nEventCode; }
    int32_t EventValue() const { return m_nEventValue; }

private:
    int16_t m_nEventCode = 0;
    int32_t m_nEventValue = 0;
};
