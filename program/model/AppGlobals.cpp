#include "AppGlobals.h"

int LanguageIndex = LanguageEnglish;
std::uint8_t RadioImage[RadioImageSize] = {};
