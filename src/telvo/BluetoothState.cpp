#include "telvo/BluetoothState.h"

#include <QBluetoothLocalDevice>
#include <QCoreApplication>

QString NoBluetoothAdapterText() {
    return QCoreApplication::translate("Bluetooth", "找不到藍牙適配器");
}

QString BluetoothOffText() {
    return QCoreApplication::translate("Bluetooth", "藍牙已關閉，請先開啟藍牙");
}

QString NoBluetoothPermissionText() {
    return QCoreApplication::translate("Bluetooth", "沒有使用藍牙的權限");
}

QString BluetoothProblem() {
    QBluetoothLocalDevice adapter;
    if (!adapter.isValid())
        return NoBluetoothAdapterText();
    if (adapter.hostMode() == QBluetoothLocalDevice::HostPoweredOff)
        return BluetoothOffText();
    return {};
}
