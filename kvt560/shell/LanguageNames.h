#pragma once
// Language numbers of the preferences and the files that belong to them.
#include <QString>

namespace language {
// 1 Simplified Chinese, 2 English, 3 Traditional Chinese.
constexpr bool isKnown(int lang) { return lang >= 1 && lang <= 3; }
// "chinese", "english", "taiwan"; empty for any other number.
QString libraryName(int lang);
// "KVT560.chm", "KVT560_e.chm", "KVT560_t.chm"; empty for any other number.
QString helpFileName(int lang);
} // namespace language
