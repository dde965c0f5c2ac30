#pragma once
// Where the range finder's port name leads on this system. The program names
// its port the Windows way ("COM4"); here a COM name becomes a device path.
// The environment variable TESSAMAR_RANGE_FINDER_PORT names another device for
// tests and unusual set-ups.

#include <QString>

// The environment variable that names the range finder's device.
constexpr const char* kRangeFinderPortVariable = "TESSAMAR_RANGE_FINDER_PORT";

// The device for `port`, given the value of the environment variable
// (`override`, empty when unset):
// - a path starting with "/" is used as it is;
// - else a non-empty override wins;
// - "COM4", the range finder's Bluetooth serial port, is /dev/rfcomm0;
// - any other "COMn" (n >= 1) is the n-th built-in serial port, /dev/ttyS(n-1);
// - any other name is left for the serial port class ("ttyUSB0" and the like).
QString RangeFinderDevice(const QString& port, const QString& override);

// The same with the override read from the environment.
QString RangeFinderDevice(const QString& port);
