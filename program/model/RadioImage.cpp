#include "RadioImage.h"

std::uint8_t RadioImage[RadioImageSize] = {};
