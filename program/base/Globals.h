#pragma once
// Process-wide values of Program that every part reads: the user-interface language, the
// serial port and the application directory. Plain globals on purpose: there is one of each
// per run, set at start-up (PortName also by the Port menu).
#include <QString>

#include <cstdint>

// Language of the user interface, chosen at start-up from Program.ini.
enum LanguageId : int {
    LanguageEnglish = 0,
    LanguageSimplifiedChinese = 1,
    LanguageTraditionalChinese = 2,
};

// 0 English, 1 Simplified Chinese, 2 Traditional Chinese; any other value behaves as English.
extern std::uint8_t LanguageIndex;

// One of three built-in texts (UTF-8) by language index; any other index gives the English.
QString languageText(int languageIndex, const char *english, const char *simplified,
                     const char *traditional);

// Serial port used by the radio transfer, exactly as stored in Program.ini ("COM1" ... "COM8").
// "COM1" before start-up, then the ini value (empty when the key is absent).
extern QString PortName;

// Directory of the running program file, ending with a directory separator ('/').
extern QString AppDirectory;
