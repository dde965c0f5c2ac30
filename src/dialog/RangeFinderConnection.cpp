#include "dialog/RangeFinderConnection.h"

#include "dialog/CRangeFinderPicker.h"
#include "platform/Prompts.h"
#include "telvo/MeterDiscovery.h"
#include "telvo/RangeProtocol.h"
#include "telvo/RangeTransport.h"
#include "telvo/TelvoComm.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProgressDialog>
#include <QSettings>
#include <QStandardPaths>
#include <QTimer>

std::unique_ptr<QSettings> RangeFinderSettings() {
    return std::make_unique<QSettings>(QStringLiteral("tessamar"), QStringLiteral("tessamar"));
}

QString RangeFinderLogPath() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    return folder + QStringLiteral("/range-finder-log.txt");
}

namespace {
const QString kLogKey = QStringLiteral("RangeFinder/captureLog");
} // namespace

std::optional<RangeMeterChoice> PickRangeFinder(QWidget* parent) {
    const std::unique_ptr<QSettings> settings = RangeFinderSettings();
    const std::optional<RangeMeterChoice> remembered = LoadRangeMeter(*settings);
    CRangeFinderPicker picker(std::make_unique<BluetoothMeterDiscovery>(), SerialPortPaths(),
                              remembered, parent);
    picker.SetCaptureLog(settings->value(kLogKey).toBool(), RangeFinderLogPath());
    if (Prompts().RunDialog(picker) != QDialog::Accepted)
        return std::nullopt;
    settings->setValue(kLogKey, picker.CaptureLogWanted());
    return picker.Chosen();
}

bool ConnectRangeFinder(QWidget* parent, TelvoComm& link, const RangeMeterChoice& meter,
                        QObject* target, QString* why) {
    std::unique_ptr<RangeProtocol> protocol = MakeRangeProtocol(meter.protocol);
    std::unique_ptr<RangeTransport> transport = MakeRangeTransport(meter);
    if (!protocol || !transport) {
        *why = QCoreApplication::translate("RangeFinder", "未知的測距儀協定：%1（可用：%2）")
                   .arg(meter.protocol, ProtocolsFor(meter.link).join(QStringLiteral("、")));
        return false;
    }
    if (RangeFinderSettings()->value(kLogKey).toBool()) {
        QDir().mkpath(QFileInfo(RangeFinderLogPath()).path());
        link.SetCaptureLog(RangeFinderLogPath());
    } else {
        link.SetCaptureLog({});
    }
    if (link.Open(std::move(transport), std::move(protocol), target) == 0) {
        *why = link.ErrorText();
        return false;
    }
    if (link.IsConnected())
        return true;

    QProgressDialog progress(QCoreApplication::translate("RangeFinder", "正在連接測距儀…"),
                             QCoreApplication::translate("RangeFinder", "取消"), 0, 0, parent);
    progress.setWindowTitle(AppName());
    progress.setMinimumDuration(0);
    QTimer timeout;
    timeout.setSingleShot(true);
    QObject::connect(&timeout, &QTimer::timeout, &progress, &QProgressDialog::cancel);
    QObject::connect(&link, &TelvoComm::Connected, &progress, &QDialog::accept);
    QObject::connect(&link, &TelvoComm::ConnectFailed, &progress, &QDialog::reject);
    timeout.start(kRangeFinderConnectTimeoutMs);
    Prompts().RunDialog(progress);
    if (link.IsConnected())
        return true;
    *why = link.ErrorText().isEmpty() ? QCoreApplication::translate("RangeFinder", "測距儀沒有回應")
                                      : link.ErrorText();
    link.Close();
    return false;
}
