#include "AppGlobals.h"

std::uint8_t LanguageIndex = LanguageEnglish;
std::uint8_t RadioImage[RadioImageSize] = {};
