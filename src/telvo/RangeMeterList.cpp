#include "telvo/RangeMeterList.h"

#include <QCoreApplication>
#include <QDir>
#include <QSerialPortInfo>

namespace {

bool NamedLike(const QString& name, std::initializer_list<const char*> prefixes) {
    const QString trimmed = name.trimmed();
    for (const char* prefix : prefixes)
        if (trimmed.startsWith(QLatin1String(prefix), Qt::CaseInsensitive))
            return true;
    return false;
}

bool Advertises(const DiscoveredDevice& device, const char* uuid) {
    for (const QString& service : device.services)
        if (service.compare(QLatin1String(uuid), Qt::CaseInsensitive) == 0 ||
            service.compare(QLatin1Char('{') + QLatin1String(uuid) + QLatin1Char('}'),
                            Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

bool SameMeter(const RangeMeterChoice& a, const RangeMeterChoice& b) {
    return a.link == b.link && a.address.compare(b.address, Qt::CaseInsensitive) == 0;
}

} // namespace

std::optional<RangeMeterEntry> EntryForDevice(const DiscoveredDevice& device) {
    RangeMeterEntry entry;
    entry.meter.address = device.address;
    entry.meter.name = device.name.trimmed().isEmpty() ? device.address : device.name.trimmed();
    entry.detected = true;
    const bool bosch = NamedLike(device.name, {"GLM", "PLR"});
    const bool leica = NamedLike(device.name, {"DISTO"});
    if (device.lowEnergy) {
        entry.meter.link = RangeMeterChoice::Link::LowEnergy;
        if (Advertises(device, kBoschServiceUuid) || Advertises(device, kBoschMtServiceUuid) ||
            (bosch && !device.classic)) {
            entry.meter.protocol = QStringLiteral("bosch-ble");
            return entry;
        }
        if (Advertises(device, kLeicaServiceUuid) || (leica && !device.classic)) {
            entry.meter.protocol = QStringLiteral("leica-ble");
            return entry;
        }
    }
    if (!device.classic)
        return std::nullopt;
    entry.meter.link = RangeMeterChoice::Link::Bluetooth;
    if (bosch) {
        entry.meter.protocol = QStringLiteral("bosch-spp");
    } else if (leica) {
        entry.meter.protocol = QStringLiteral("leica-spp");
    } else if (device.paired) {
        entry.meter.protocol = QStringLiteral("lines");
        entry.detected = false;
    } else {
        return std::nullopt;
    }
    return entry;
}

void RangeMeterList::SetRemembered(const std::optional<RangeMeterChoice>& meter) {
    for (int i = m_entries.size() - 1; i >= 0; --i)
        if (m_entries[i].remembered)
            m_entries.removeAt(i);
    if (!meter)
        return;
    RangeMeterEntry entry;
    entry.meter = *meter;
    entry.detected = true; // the user chose its protocol
    entry.remembered = true;
    m_entries.prepend(entry);
}

void RangeMeterList::Put(const RangeMeterEntry& entry) {
    for (RangeMeterEntry& listed : m_entries) {
        if (!SameMeter(listed.meter, entry.meter))
            continue;
        if (!listed.remembered) {
            listed = entry;
        } else if (!entry.meter.name.isEmpty()) {
            listed.meter.name = entry.meter.name;
        }
        return;
    }
    m_entries.append(entry);
}

bool RangeMeterList::AddDevice(const DiscoveredDevice& device) {
    const std::optional<RangeMeterEntry> entry = EntryForDevice(device);
    if (!entry)
        return false;
    Put(*entry);
    return true;
}

void RangeMeterList::SetSerialPorts(const QStringList& paths) {
    for (int i = m_entries.size() - 1; i >= 0; --i)
        if (m_entries[i].meter.link == RangeMeterChoice::Link::Serial && !m_entries[i].remembered)
            m_entries.removeAt(i);
    for (const QString& path : paths) {
        RangeMeterEntry entry;
        entry.meter.link = RangeMeterChoice::Link::Serial;
        entry.meter.address = path;
        entry.meter.name = path;
        entry.meter.protocol = QStringLiteral("lines");
        entry.detected = false;
        Put(entry);
    }
}

void RangeMeterList::ClearDevices() {
    for (int i = m_entries.size() - 1; i >= 0; --i)
        if (m_entries[i].meter.link != RangeMeterChoice::Link::Serial && !m_entries[i].remembered)
            m_entries.removeAt(i);
}

QString RangeMeterList::Text(const RangeMeterEntry& entry) {
    const char* link = "";
    switch (entry.meter.link) {
    case RangeMeterChoice::Link::Serial:
        link = QT_TRANSLATE_NOOP("RangeMeterList", "序列埠");
        break;
    case RangeMeterChoice::Link::Bluetooth:
        link = QT_TRANSLATE_NOOP("RangeMeterList", "藍牙");
        break;
    case RangeMeterChoice::Link::LowEnergy:
        link = QT_TRANSLATE_NOOP("RangeMeterList", "藍牙低功耗");
        break;
    }
    QString text = entry.meter.name;
    if (entry.meter.address != entry.meter.name)
        text += QStringLiteral(" (") + entry.meter.address + QLatin1Char(')');
    text += QStringLiteral(" - ") + QCoreApplication::translate("RangeMeterList", link);
    if (entry.remembered)
        text += QStringLiteral(" - ") + QCoreApplication::translate("RangeMeterList", "上次使用");
    return text;
}

QStringList SerialPortPaths() {
    QStringList paths;
    for (const QSerialPortInfo& port : QSerialPortInfo::availablePorts())
        if (!paths.contains(port.systemLocation()))
            paths.append(port.systemLocation());
    const QDir dev(QStringLiteral("/dev"));
    for (const QString& name : dev.entryList({QStringLiteral("rfcomm*")}, QDir::System)) {
        const QString path = dev.filePath(name);
        if (!paths.contains(path))
            paths.append(path);
    }
    return paths;
}
