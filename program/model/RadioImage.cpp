#include "RadioImage.h"

#include <algorithm>
#include <cstring>

std::uint8_t RadioImage[RadioImageSize] = {};

QByteArray radioImageBytes()
{
    return QByteArray(reinterpret_cast<const char *>(RadioImage), int(RadioImageSize));
}

void setRadioImageBytes(const QByteArray &bytes)
{
    std::memcpy(RadioImage, bytes.constData(), std::min<std::size_t>(RadioImageSize, std::size_t(bytes.size())));
}
