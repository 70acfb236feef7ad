#include "SettingFields.h"

#include "model/RadioImage.h"

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

unsigned ReadSetting(const SettingField &field)
{
    return (RadioImage[field.address] & fieldMask(field)) >> field.shift;
}

void WriteSetting(const SettingField &field, unsigned value)
{
    const unsigned mask = fieldMask(field);
    RadioImage[field.address] =
        std::uint8_t((RadioImage[field.address] & ~mask) | ((value << field.shift) & mask));
}

int SettingPosition(const SettingField &field)
{
    const unsigned value = ReadSetting(field);
    for (int position = 0; position < field.choiceCount; ++position)
        if (choiceValue(field, position) == value)
            return position;
    return field.fallbackPosition;
}

void SetSettingPosition(const SettingField &field, int position)
{
    if (position >= 0 && position < field.choiceCount)
        WriteSetting(field, choiceValue(field, position));
    else
        WriteSetting(field, field.noChoiceValue);
}

QString ReadImageText(const TextField &field)
{
    QString text;
    for (int i = 0; i < field.length; ++i) {
        const std::uint8_t byte = RadioImage[field.address + i];
        if (byte == 0xFF)
            break;
        text.append(QChar(byte));
    }
    return text;
}

void WriteImageText(const TextField &field, const QString &text)
{
    for (int i = 0; i < field.length; ++i)
        RadioImage[field.address + i] =
            i < text.size() ? std::uint8_t(text.at(i).unicode() & 0xFF) : std::uint8_t(0xFF);
}

QString ReadPowerOnPassword()
{
    QString digits;
    for (int i = 0; i < Setting::PowerOnPasswordLength; ++i) {
        const std::uint8_t byte = RadioImage[Setting::PowerOnPasswordAddress + i];
        if (byte > 9)
            break;
        digits.append(QLatin1Char(char('0' + byte)));
    }
    return digits;
}

bool WritePowerOnPassword(const QString &digits)
{
    if (digits.size() > Setting::PowerOnPasswordLength)
        return false;
    for (QChar c : digits)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    for (int i = 0; i < Setting::PowerOnPasswordLength; ++i)
        RadioImage[Setting::PowerOnPasswordAddress + i] =
            i < digits.size() ? std::uint8_t(digits.at(i).unicode() - '0') : std::uint8_t(0xFF);
    return true;
}
