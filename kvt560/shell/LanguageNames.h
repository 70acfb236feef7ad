#pragma once
// Language numbers of the preferences and the files that belong to them.
#include <QString>
#include <QStringList>

namespace language {
// 1 Simplified Chinese, 2 English, 3 Traditional Chinese.
constexpr bool isKnown(int lang) { return lang >= 1 && lang <= 3; }
// "chinese", "english", "taiwan"; empty for any other number.
QString libraryName(int lang);
// The user manual of the language, in the application folder: "help/KVT560.html",
// "help/KVT560_e.html" or "help/KVT560_t.html", then the manuals to open when that one is
// missing (Traditional Chinese readers get the Simplified Chinese one); empty for any other
// number.
QStringList helpFiles(int lang);
} // namespace language
