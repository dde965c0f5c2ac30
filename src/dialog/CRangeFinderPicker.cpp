#include "dialog/CRangeFinderPicker.h"

#include "telvo/MeterDiscovery.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

QString ProtocolTitle(const QString& protocol) {
    if (protocol == QLatin1String("lines"))
        return CRangeFinderPicker::tr("文字行 (lines)");
    if (protocol == QLatin1String("bosch-spp"))
        return CRangeFinderPicker::tr("Bosch GLM/PLR 序列 (bosch-spp)");
    if (protocol == QLatin1String("leica-spp"))
        return CRangeFinderPicker::tr("Leica DISTO 序列 (leica-spp)");
    if (protocol == QLatin1String("bosch-ble"))
        return CRangeFinderPicker::tr("Bosch GLM/PLR 低功耗 (bosch-ble)");
    if (protocol == QLatin1String("leica-ble"))
        return CRangeFinderPicker::tr("Leica DISTO 低功耗 (leica-ble)");
    return protocol;
}

CRangeFinderPicker::CRangeFinderPicker(std::unique_ptr<MeterDiscovery> discovery,
                                       const QStringList& serialPorts,
                                       const std::optional<RangeMeterChoice>& remembered,
                                       QWidget* parent)
    : QDialog(parent), m_discovery(std::move(discovery)) {
    setWindowTitle(tr("選擇測距儀"));
    m_view = new QListWidget(this);
    m_status = new QLabel(this);
    m_status->setWordWrap(true);
    m_progress = new QProgressBar(this);
    m_progress->setRange(0, 0); // busy: a scan has no known length
    m_progress->setTextVisible(false);
    m_progress->hide();
    m_scan = new QPushButton(tr("重新搜尋(&S)"), this);
    m_protocol = new QComboBox(this);
    m_log = new QCheckBox(tr("記錄通訊內容"), this);
    m_logPath = new QLabel(this);
    m_logPath->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_logPath->setWordWrap(true);
    m_logPath->hide();
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_ok = buttons->button(QDialogButtonBox::Ok);
    m_ok->setText(tr("連接"));
    buttons->button(QDialogButtonBox::Cancel)->setText(tr("取消"));

    auto* scanRow = new QHBoxLayout;
    scanRow->addWidget(m_progress, 1);
    scanRow->addWidget(m_scan);
    auto* protocolRow = new QHBoxLayout;
    protocolRow->addWidget(new QLabel(tr("協定："), this));
    protocolRow->addWidget(m_protocol, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(tr("測距儀："), this));
    layout->addWidget(m_view, 1);
    layout->addLayout(scanRow);
    layout->addWidget(m_status);
    layout->addLayout(protocolRow);
    layout->addWidget(m_log);
    layout->addWidget(m_logPath);
    layout->addWidget(buttons);
    resize(460, 360);

    m_timer = new QTimer(this);
    m_timer->setSingleShot(true);
    m_timer->setInterval(kScanMs);
    connect(m_timer, &QTimer::timeout, this, [this] { EndScan(tr("搜尋完成")); });
    connect(m_scan, &QPushButton::clicked, this, &CRangeFinderPicker::StartScan);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_view, &QListWidget::currentRowChanged, this, &CRangeFinderPicker::OnSelectionChanged);
    connect(m_view, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    connect(m_log, &QCheckBox::toggled, m_logPath, &QWidget::setVisible);
    connect(m_protocol, &QComboBox::currentIndexChanged, this, [this] {
        if (m_selected && m_protocol->currentIndex() >= 0)
            m_selected->protocol = m_protocol->currentData().toString();
    });
    if (m_discovery) {
        connect(m_discovery.get(), &MeterDiscovery::DeviceFound, this,
                [this](const DiscoveredDevice& device) {
                    if (m_scanning && m_list.AddDevice(device))
                        Refill();
                });
        connect(m_discovery.get(), &MeterDiscovery::Finished, this,
                [this] { EndScan(tr("搜尋完成")); });
        connect(m_discovery.get(), &MeterDiscovery::Failed, this,
                [this](const QString& why) { EndScan(why); });
    }

    m_list.SetRemembered(remembered);
    m_list.SetSerialPorts(serialPorts);
    Refill();
    StartScan();
}

CRangeFinderPicker::~CRangeFinderPicker() {
    if (m_discovery)
        m_discovery->Stop();
}

void CRangeFinderPicker::StartScan() {
    if (!m_discovery)
        return;
    m_discovery->Stop();
    m_list.ClearDevices();
    Refill();
    m_scanning = true;
    m_scan->setEnabled(false);
    m_progress->show();
    m_status->setText(tr("正在搜尋藍牙測距儀…"));
    m_timer->start();
    m_discovery->Start();
}

void CRangeFinderPicker::EndScan(const QString& status) {
    if (!m_scanning)
        return;
    m_scanning = false;
    m_timer->stop();
    m_discovery->Stop();
    m_progress->hide();
    m_scan->setEnabled(true);
    m_status->setText(status);
}

void CRangeFinderPicker::Refill() {
    const std::optional<RangeMeterChoice> chosen = m_selected;
    const QSignalBlocker block(m_view);
    m_view->clear();
    int select = m_list.Entries().isEmpty() ? -1 : 0;
    for (int i = 0; i < m_list.Entries().size(); ++i) {
        const RangeMeterEntry& entry = m_list.Entries()[i];
        m_view->addItem(RangeMeterList::Text(entry));
        if (chosen && entry.meter.link == chosen->link && entry.meter.address == chosen->address)
            select = i;
    }
    m_view->setCurrentRow(select);
    OnSelectionChanged();
    // The same meter keeps the protocol the user set.
    if (chosen && m_selected && m_selected->link == chosen->link &&
        m_selected->address == chosen->address)
        m_protocol->setCurrentIndex(m_protocol->findData(chosen->protocol));
}

void CRangeFinderPicker::OnSelectionChanged() {
    const int row = m_view->currentRow();
    const QSignalBlocker block(m_protocol);
    m_protocol->clear();
    m_ok->setEnabled(row >= 0);
    m_selected.reset();
    if (row < 0 || row >= m_list.Entries().size())
        return;
    const RangeMeterEntry& entry = m_list.Entries()[row];
    for (const QString& protocol : ProtocolsFor(entry.meter.link))
        m_protocol->addItem(ProtocolTitle(protocol), protocol);
    m_protocol->setCurrentIndex(m_protocol->findData(entry.meter.protocol));
    m_selected = entry.meter;
}

void CRangeFinderPicker::SetCaptureLog(bool on, const QString& path) {
    m_logPath->setText(path);
    m_log->setChecked(on);
    m_logPath->setVisible(on);
}

bool CRangeFinderPicker::CaptureLogWanted() const {
    return m_log->isChecked();
}

std::optional<RangeMeterChoice> CRangeFinderPicker::Chosen() const {
    return m_selected;
}
