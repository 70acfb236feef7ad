#pragma once
// The language a program starts in when the user has chosen none yet (a first start): the
// one the system locale asks for, among the three the programs speak.
#include <QLocale>

namespace FirstLanguage {

enum Language { English, SimplifiedChinese, TraditionalChinese };

// Chinese of China and Singapore: Simplified; of Taiwan and Hong Kong: Traditional; every
// other locale: English.
Language forLocale(const QLocale &locale);

} // namespace FirstLanguage
