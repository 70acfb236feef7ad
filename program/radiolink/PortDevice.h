#pragma once
// The device behind a port name of Program.ini ("COM1" ... "COM8").
#include <QString>

// On Windows the port name is the device. Elsewhere a port name is looked up in the [Ports]
// section of Program.ini in appDirectory (for example COM3=/dev/ttyUSB0, or a simulator's
// pseudo-terminal); a name that is an absolute path ("/dev/ttyS0") is that device; without an entry, "COMn" (n from 1) means /dev/ttyUSB(n-1). An empty name,
// or a name that is neither mapped nor of the form COMn, gives an empty text: such a port
// cannot be opened.
QString PortDevice(const QString &portName, const QString &appDirectory);
