#include "SettingFields.h"

namespace {

unsigned fieldMask(const SettingField &field)
{
    return ((1u << field.width) - 1u) << field.shift;
}

unsigned choiceValue(const SettingField &field, int position)
{
    return field.choiceValues ? field.choiceValues[position] : unsigned(position);
}

} // namespace

unsigned readSetting(const ImageBytes &image, const SettingField &field)
{
    return (image[field.address] & fieldMask(field)) >> field.shift;
}

void writeSetting(ImageBytes &image, const SettingField &field, unsigned value)
{
    const unsigned mask = fieldMask(field);
    image[field.address] =
        std::uint8_t((image[field.address] & ~mask) | ((value << field.shift) & mask));
}

int settingPosition(const ImageBytes &image, const SettingField &field)
{
    const unsigned value = readSetting(image, field);
    for (int position = 0; position < field.choiceCount; ++position)
        if (choiceValue(field, position) == value)
            return position;
    return field.fallbackPosition;
}

void setSettingPosition(ImageBytes &image, const SettingField &field, int position)
{
    if (position >= 0 && position < field.choiceCount)
        writeSetting(image, field, choiceValue(field, position));
    else
        writeSetting(image, field, field.noChoiceValue);
}

QString readImageText(const ImageBytes &image, const TextField &field)
{
    QString text;
    for (int i = 0; i < field.length; ++i) {
        const std::uint8_t byte = image[field.address + i];
        if (byte == 0xFF)
            break;
        text.append(QChar(byte));
    }
    return text;
}

void writeImageText(ImageBytes &image, const TextField &field, const QString &text)
{
    for (int i = 0; i < field.length; ++i)
        image[field.address + i] =
            i < text.size() ? std::uint8_t(text.at(i).unicode() & 0xFF) : std::uint8_t(0xFF);
}

QString readPowerOnPassword(const ImageBytes &image)
{
    QString digits;
    for (int i = 0; i < Setting::PowerOnPasswordLength; ++i) {
        const std::uint8_t byte = image[Setting::PowerOnPasswordAddress + i];
        if (byte > 9)
            break;
        digits.append(QLatin1Char(char('0' + byte)));
    }
    return digits;
}

bool writePowerOnPassword(ImageBytes &image, const QString &digits)
{
    if (digits.size() > Setting::PowerOnPasswordLength)
        return false;
    for (QChar c : digits)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    for (int i = 0; i < Setting::PowerOnPasswordLength; ++i)
        image[Setting::PowerOnPasswordAddress + i] =
            i < digits.size() ? std::uint8_t(digits.at(i).unicode() - '0') : std::uint8_t(0xFF);
    return true;
}
