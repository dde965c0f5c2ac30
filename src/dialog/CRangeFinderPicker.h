#pragma once
// The picker behind "連接測距儀(&C)": the meters a Bluetooth scan finds, the
// serial ports, and the meter used last time first. The scan shows its
// progress, ends by itself after kScanMs and can be repeated. Each meter
// comes with its protocol, detected where the device tells it, else chosen
// in the protocol box.

#include "telvo/RangeMeterList.h"

#include <QDialog>
#include <memory>
#include <optional>

class MeterDiscovery;
class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;
class QTimer;

class CRangeFinderPicker : public QDialog {
    Q_OBJECT
public:
    static constexpr int kScanMs = 10000;

    // Scans with `discovery`; lists `serialPorts`; offers `remembered` first.
    CRangeFinderPicker(std::unique_ptr<MeterDiscovery> discovery, const QStringList& serialPorts,
                       const std::optional<RangeMeterChoice>& remembered,
                       QWidget* parent = nullptr);
    ~CRangeFinderPicker() override;

    // Starts a scan (again); the list keeps the serial ports and the
    // remembered meter.
    void StartScan();
    bool IsScanning() const { return m_scanning; }
    // The meter selected, with the protocol the box shows; nothing when no
    // entry is selected.
    std::optional<RangeMeterChoice> Chosen() const;

    // The "記錄通訊內容" box: whether every frame is to be recorded in
    // `path`, shown under the box while it is checked.
    void SetCaptureLog(bool on, const QString& path);
    bool CaptureLogWanted() const;
    QCheckBox* CaptureLogBox() const { return m_log; }
    QLabel* CaptureLogLabel() const { return m_logPath; }

    const RangeMeterList& List() const { return m_list; }
    QListWidget* ListWidget() const { return m_view; }
    QComboBox* ProtocolBox() const { return m_protocol; }
    QPushButton* ScanButton() const { return m_scan; }
    QProgressBar* Progress() const { return m_progress; }
    QLabel* Status() const { return m_status; }
    QTimer* ScanTimer() const { return m_timer; }

private:
    void EndScan(const QString& status);
    void Refill();
    void OnSelectionChanged();

    std::unique_ptr<MeterDiscovery> m_discovery;
    RangeMeterList m_list;
    QListWidget* m_view = nullptr;
    QComboBox* m_protocol = nullptr;
    QPushButton* m_scan = nullptr;
    QPushButton* m_ok = nullptr;
    QProgressBar* m_progress = nullptr;
    QLabel* m_status = nullptr;
    QTimer* m_timer = nullptr;
    QCheckBox* m_log = nullptr;
    QLabel* m_logPath = nullptr;
    bool m_scanning = false;
    // The selected meter with the protocol the box shows.
    std::optional<RangeMeterChoice> m_selected;
};

// The name of a protocol as the picker shows it.
QString ProtocolTitle(const QString& protocol);
