#pragma once
// What Program says about its serial port below the transfer's message: why the port did
// not open, or that the device went away during the transfer; and the words of the Port
// menu. The sentences are strings 34000-34009 of the resource library; a string it lacks
// reads in English.
#include "common/PortDiagnosis.h"

#include <QString>

class RadioTransfer;

// The number of the first sentence (PortProblemTexts::missing) in the resource library; the
// others follow in the order of PortProblemTexts, up to 34009.
constexpr int FirstPortString = 34000;

// The sentences of the resource library in use.
PortProblemTexts portMessages();

// The message of a failed transfer in the language of languageIndex, with the line that says
// what happened to the port when there is one; empty for a success.
QString transferFailureMessage(const RadioTransfer &transfer, int languageIndex);
