#pragma once
// Whether Bluetooth can be used here, said in words a user understands.

#include <QString>

// Empty when a Bluetooth adapter is present and switched on; else the
// message that says which of the two is missing.
QString BluetoothProblem();

// The messages for the three things that stop Bluetooth.
QString NoBluetoothAdapterText();
QString BluetoothOffText();
QString NoBluetoothPermissionText();
