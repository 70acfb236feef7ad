#pragma once
// Whether Chinese text can be shown: a program whose chosen language needs a Chinese font
// that is not installed starts in English and says which package brings the fonts.
#include <QString>

namespace ChineseFonts {

// A font for Simplified (traditional false) or Traditional Chinese is installed.
bool installed(bool traditional);

// The notice, always in English since Chinese cannot be shown.
QString missingText();

} // namespace ChineseFonts
