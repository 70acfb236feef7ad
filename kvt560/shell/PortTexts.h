#pragma once
// The sentences KVT560 adds below its port and link notices to say what happened to the
// serial port, and the words of the port menu: strings 160 to 169 of the language library of
// `lang` (1 to 3), in the order of PortProblemTexts. A string the library lacks, or a
// language without a library, reads in English.
#include "common/PortDiagnosis.h"

#include <QString>

namespace PortTexts {

// The number of the first sentence (PortProblemTexts::missing) in the language libraries.
constexpr int FirstId = 160;

PortProblemTexts forLanguage(int lang, const QString &directory);

// The notice text with the line that says why, when there is one.
QString withReason(const QString &notice, const QString &reason);

} // namespace PortTexts
