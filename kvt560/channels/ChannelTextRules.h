#pragma once
// What may be typed into a channel's texts, for every editor of them (the overlays of the
// channel grid, the single-channel page): the characters of a frequency being typed and of
// an alias, and an alias as it is stored.
#include <QChar>
#include <QString>

namespace ChannelTextRules {
// A digit, or one "." once at least three characters stand before it.
bool frequencyCharAccepted(QChar c, const QString &text);
// Letters, digits, blank, "#*+-./_", Backspace and every character from code 127 up.
bool aliasCharAccepted(QChar c);
// The letters a-z in capitals, every other character as typed.
QString aliasText(QString typed);
} // namespace ChannelTextRules
