#pragma once
// The device behind a port name of Program.ini ("COM1" ... "COM8").
#include <QMap>
#include <QString>

// On Windows the port name is the device. Elsewhere a port name is looked up in the [Ports]
// section of Program.ini in appDirectory (for example COM3=/dev/ttyUSB0, or a simulator's
// pseudo-terminal); without an entry, "COMn" (n from 1) means /dev/ttyUSB(n-1) (COM1: the one
// USB serial device present, when no port has an entry) and an absolute device path
// ("/dev/ttyS0") means itself. An empty name, or any other name without an entry, gives an
// empty text: such a port cannot be opened.
QString portDevice(const QString &portName, const QString &appDirectory);

// The ports of the Port menu, COM1 ... COM8.
constexpr int PortCount = 8;
// The non-empty entries COM1 ... COM8 of the [Ports] section, by port number.
QMap<int, QString> mappedPorts(const QString &appDirectory);
// The port number of "COMn" (any case), or 0.
int portNumber(const QString &portName);
