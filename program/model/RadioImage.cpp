#include "RadioImage.h"

#include <algorithm>
#include <cstring>

QByteArray toByteArray(const ImageBytes &image)
{
    return QByteArray(reinterpret_cast<const char *>(image.data()), int(image.size()));
}

void copyIntoImage(ImageBytes &image, const QByteArray &bytes)
{
    std::memcpy(image.data(), bytes.constData(), std::min<std::size_t>(image.size(), std::size_t(bytes.size())));
}

ImageBytes imageFromBytes(const QByteArray &bytes, std::uint8_t fill)
{
    ImageBytes image;
    image.fill(fill);
    copyIntoImage(image, bytes);
    return image;
}
