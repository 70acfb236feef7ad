#pragma once
// Process-wide values of the application frame, read by every part of Program.
#include <QString>

// Serial port used by the radio transfer, exactly as stored in Program.ini ("COM1" ... "COM8").
// "COM1" before start-up, then the ini value (empty when the key is absent).
extern QString PortName;

// Directory of the running program file, ending with a directory separator ('/').
extern QString AppDirectory;
