#pragma once
// The meters the picker offers: Bluetooth devices that are (or may be) laser
// meters, the serial ports of this machine, and the meter remembered from
// last time, which comes first.

#include "telvo/RangeMeter.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// A Bluetooth device as a scan reports it.
struct DiscoveredDevice {
    QString name;
    QString address;
    QStringList services; // advertised service UUIDs, as text
    bool lowEnergy = false;
    bool classic = false;
    bool paired = false;
};

// The service UUIDs that tell a meter's protocol.
constexpr const char* kBoschServiceUuid = "02a6c0d0-0451-4000-b000-fb3210111989";
// The second Bosch family (GLM 100 C, PLR 30/40/50 C).
constexpr const char* kBoschMtServiceUuid = "00005301-0000-0041-5253-534f46540000";
constexpr const char* kLeicaServiceUuid = "3ab10100-f831-4395-b29d-570977d5bf94";

struct RangeMeterEntry {
    RangeMeterChoice meter;
    // The protocol is known from the device (its advertisement or name);
    // else it is a guess the user should check.
    bool detected = false;
    bool remembered = false;
};

// The meter a discovered device is: low-energy devices advertising the
// Bosch or Leica service or named GLM…, PLR… or DISTO…, classic devices so
// named, and any other paired classic device (its protocol to be chosen).
// Nothing for other devices.
std::optional<RangeMeterEntry> EntryForDevice(const DiscoveredDevice& device);

class RangeMeterList {
public:
    // The remembered meter, shown first whether or not it is found again.
    void SetRemembered(const std::optional<RangeMeterChoice>& meter);
    // Adds a device the scan found, or updates it when already listed;
    // false when it is no meter.
    bool AddDevice(const DiscoveredDevice& device);
    // Replaces the serial ports (device paths).
    void SetSerialPorts(const QStringList& paths);
    // Forgets the Bluetooth devices found (before a new scan).
    void ClearDevices();

    const QList<RangeMeterEntry>& Entries() const { return m_entries; }
    // The line shown for an entry.
    static QString Text(const RangeMeterEntry& entry);

private:
    void Put(const RangeMeterEntry& entry);

    QList<RangeMeterEntry> m_entries;
};

// The serial devices of this machine: the ports Qt knows and the bound
// Bluetooth serial devices (/dev/rfcomm*), without repeats.
QStringList SerialPortPaths();
