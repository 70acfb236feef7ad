#pragma once
// The sentences KVT560 adds below its port and link notices to say what happened to the
// serial port, and the words of the port menu: strings 147 to 156 of the language library of
// `lang` (1 to 3), each missing one in the built-in form of that language. Any other number
// gives the built-in Simplified Chinese forms, the language of the program's own texts.
#include "common/PortDiagnosis.h"

#include <QString>

namespace PortTexts {

enum Id {
    Missing = 147,          // %1 device, %2 the devices present
    MissingNone = 148,      // %1 device
    NoPermission = 149,     // %1 device, %2 group, %3 user
    Busy = 150,             // %1 device, %2 the holder
    AnotherProgram = 151,
    Other = 152,            // %1 device, %2 the system's text
    LostRead = 153,         // %1 device
    LostWrite = 154,        // %1 device
    NotConnected = 155,
    NoDevice = 156,
};

PortProblemTexts forLanguage(int lang, const QString &directory);

// The notice text with the line that says why, when there is one.
QString withReason(const QString &notice, const QString &reason);

} // namespace PortTexts
