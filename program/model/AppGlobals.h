#pragma once
// Process-wide state of Program: the user-interface language and the radio's memory image.
// Plain globals on purpose: there is exactly one image and one language per run, and the
// document, the view, the dialogs, the file code and the radio link all work on them.
#include <QString>

#include <cstddef>
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
QString LanguageText(int languageIndex, const char *english, const char *simplified,
                     const char *traditional);

// Size of the radio's programmable memory, addresses 0x0000-0x1FFF.
constexpr std::size_t RadioImageSize = 8192;

// The one codeplug: the radio's memory byte for byte. Zero-filled at start-up, filled by
// NewImage when the first document is created.
extern std::uint8_t RadioImage[RadioImageSize];
