#pragma once
// The sentences KVT560 adds below its port and link notices to say what happened to the
// serial port, and the words of the port menu: strings 160 to 169 of the language library of
// `lang` (1 to 3), each missing one in the built-in form of that language. Any other number
// gives the built-in Simplified Chinese forms, the language of the program's own texts.
#include "common/PortDiagnosis.h"

#include <QString>

namespace PortTexts {

enum Id {
    Missing = 160,          // %1 device, %2 the devices present
    MissingNone = 161,      // %1 device
    NoPermission = 162,     // %1 device, %2 group, %3 user
    Busy = 163,             // %1 device, %2 the holder
    AnotherProgram = 164,
    Other = 165,            // %1 device, %2 the system's text
    LostRead = 166,         // %1 device
    LostWrite = 167,        // %1 device
    NotConnected = 168,
    NoDevice = 169,
};

PortProblemTexts forLanguage(int lang, const QString &directory);

// The notice text with the line that says why, when there is one.
QString withReason(const QString &notice, const QString &reason);

} // namespace PortTexts
