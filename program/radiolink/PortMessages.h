#pragma once
// What Program says about its serial port below the transfer's message: why the port did
// not open, or that the device went away during the transfer; and the words of the Port
// menu. The sentences are strings 34000-34009 of the resource library.
#include "common/PortDiagnosis.h"

#include <QString>

class RadioTransfer;

namespace PortString {
enum Id {
    Missing = 34000,        // %1 device, %2 the devices present
    MissingNone = 34001,    // %1 device
    NoPermission = 34002,   // %1 device, %2 group, %3 user
    Busy = 34003,           // %1 device, %2 the holder
    AnotherProgram = 34004,
    Other = 34005,          // %1 device, %2 the system's text
    LostRead = 34006,       // %1 device
    LostWrite = 34007,      // %1 device
    NotConnected = 34008,
    NoDevice = 34009,
};
}

// The sentences of the resource library in use.
PortProblemTexts portMessages();

// The message of a failed transfer in the language of languageIndex, with the line that says
// what happened to the port when there is one; empty for a success.
QString transferFailureMessage(const RadioTransfer &transfer, int languageIndex);
