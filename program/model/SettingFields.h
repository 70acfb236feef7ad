#pragma once
// The radio's settings that are not per channel, each a named field of the memory image, so that
// the option, PTT ID and PCBA dialogs and the grid's selectors read and write them by name.
//
// A list setting is shown as a drop-down list; the position of the chosen entry maps to the
// value stored in the field's bits. SettingPosition and SetSettingPosition do that mapping,
// ReadSetting and WriteSetting work on the stored value itself. Bits of a byte outside the
// field are never touched.
#include "model/RadioImage.h"

#include <QString>
#include <cstdint>

struct SettingField {
    const char *label;       // English label of the setting ("SQL", "Backlight Mode")
    std::uint16_t address;   // byte in the image
    std::uint8_t shift;      // lowest bit of the field (bit 0 = least significant)
    std::uint8_t width;      // number of bits, 8 for a whole byte
    int choiceCount;         // number of list positions
    const std::uint8_t *choiceValues; // stored value of each position; null: the position itself
    int fallbackPosition;    // position shown for a stored value that has no position
    std::uint8_t noChoiceValue; // value stored for a position outside the list (no selection)
};

// A text kept one byte per character, 0xFF after the last character.
struct TextField {
    const char *label;
    std::uint16_t address;
    int length; // bytes of the field, the longest text it holds
};

namespace Setting {
// Values of a switch shown as "On", "Off" (or "Auto", "Manual"): position 0 sets the bit.
inline constexpr std::uint8_t OnOffValues[] = {1, 0};
// Backlight Mode "On", "Off", "Auto": 0x08, 0x00, 0x04 in bits 2-3 (0x0C reads as Auto).
inline constexpr std::uint8_t BacklightValues[] = {2, 0, 1};
// Scan Mode "CO", "TO": 0x10, 0x20 in bits 4-5 (0x00 and 0x30 read as CO).
inline constexpr std::uint8_t ScanModeValues[] = {1, 2};
// Receive Alarm Time in seconds: Off, 3 ... 240, 254 auto, 255 continuous.
inline constexpr std::uint8_t ReceiveAlarmValues[] = {0, 3, 5, 10, 20, 30, 60, 120, 240, 254, 255};

inline constexpr SettingField PttIdDisplay{"Display", 0x1810, 0, 1, 2, OnOffValues, 0, 0};
inline constexpr SettingField KeyLock{"Key Lock", 0x1810, 1, 1, 2, OnOffValues, 0, 0}; // Auto, Manual
inline constexpr SettingField BacklightMode{"Backlight Mode", 0x1810, 2, 2, 3, BacklightValues, 2, 0};
inline constexpr SettingField ScanMode{"Scan Mode", 0x1810, 4, 2, 2, ScanModeValues, 0, 0};
inline constexpr SettingField ChannelName{"Channel Name", 0x1810, 6, 1, 2, OnOffValues, 0, 0};
inline constexpr SettingField BatterySave{"Battery Save", 0x1811, 3, 1, 2, OnOffValues, 0, 0};
inline constexpr SettingField Beep{"Beep", 0x1811, 4, 1, 2, OnOffValues, 0, 0};
inline constexpr SettingField SingleRadio{"Single Radio", 0x1811, 5, 1, 2, OnOffValues, 0, 0};
// STE: off, 120 degree phase shift, 180 degree phase shift (3 reads as off).
inline constexpr SettingField Ste{"STE", 0x1812, 0, 2, 3, nullptr, 0, 0};
inline constexpr SettingField Reverse{"Reverse", 0x1812, 2, 1, 2, OnOffValues, 0, 0};
// Emergency Call: off, local alert, local transmit alert, transmit alert.
inline constexpr SettingField EmergencyCall{"Emergency Call", 0x1813, 0, 2, 4, nullptr, 0, 0};
inline constexpr SettingField SqlLevel{"SQL", 0x1814, 0, 8, 10, nullptr, 5, 0};            // 0-9
inline constexpr SettingField VoxLevel{"VOX", 0x1815, 0, 8, 10, nullptr, 0, 0};            // off, 1-9
// Step: 5, 6.25, 10, 12.5, 25 kHz.
inline constexpr SettingField Step{"Step", 0x1816, 0, 8, 5, nullptr, 4, 0};
inline constexpr SettingField ManualPowerSwitch{"Manual Power Switch", 0x1818, 0, 1, 2, OnOffValues, 0, 0};
inline constexpr SettingField PowerOnPasswordSwitch{"Power-On Password Switch", 0x1818, 1, 1, 2, OnOffValues, 0, 0};
inline constexpr SettingField FrequencyMode{"Frequency Mode", 0x1818, 2, 1, 2, OnOffValues, 0, 0};
inline constexpr SettingField Radio{"Radio", 0x1818, 3, 1, 2, OnOffValues, 0, 0};
inline constexpr SettingField Roger{"Roger", 0x1820, 0, 8, 4, nullptr, 0, 0};              // off, 1-3
// APO: off, 10 minutes, 30 minutes, 1 hour, 2 hours.
inline constexpr SettingField Apo{"APO", 0x1821, 0, 8, 5, nullptr, 0, 0};
inline constexpr SettingField PriorityChannel{"Priority Channel", 0x1822, 0, 8, 100, nullptr, 0, 0}; // off, 1-99
// TOT: off, then k = 1-20 meaning k * 30 s.
inline constexpr SettingField Tot{"TOT", 0x1824, 0, 8, 21, nullptr, 1, 0};
inline constexpr SettingField ReceiveAlarmTime{"Receive Alarm Time", 0x1829, 0, 8, 11, ReceiveAlarmValues, 0, 0};
// PTT ID mode: off, at the beginning of transmission, at the end, both.
inline constexpr SettingField PttIdMode{"PTT ID", 0x1D40, 0, 2, 4, nullptr, 0, 0};
// Model selector: KVT270U01, KVT270V01, KVT270U04, KVT270U09, KVT270U10; no selection is 0xFF.
inline constexpr SettingField Model{"Model", 0x1FE0, 0, 8, 5, nullptr, 0, 0xFF};
// Band selector: one band per model, so only position 0.
inline constexpr SettingField Band{"Frequency Range", 0x1FE1, 0, 8, 1, nullptr, 0, 0xFF};

// Every list setting of the option dialog, in the order it writes them back (the power-on
// password, a text, is written between Receive Alarm Time and the password switch).
inline constexpr const SettingField *OptionFields[] = {
    &SqlLevel, &Step, &VoxLevel, &Tot, &Reverse, &Beep, &Roger, &BacklightMode, &Apo,
    &PriorityChannel, &KeyLock, &ChannelName, &BatterySave, &ScanMode, &SingleRadio, &Ste,
    &Radio, &FrequencyMode, &EmergencyCall, &ReceiveAlarmTime, &PowerOnPasswordSwitch,
    &ManualPowerSwitch,
};

inline constexpr TextField PttIdCode{"Code", 0x1D30, 16};
inline constexpr TextField Pcba{"PCBA", 0x1FD0, 16};

// Power-on password: up to six decimal digits, one digit value (0-9) per byte.
inline constexpr std::uint16_t PowerOnPasswordAddress = 0x1848;
inline constexpr int PowerOnPasswordLength = 6;
} // namespace Setting

// The value in the field's bits, shifted down to bit 0.
unsigned readSetting(const ImageBytes &image, const SettingField &field);
// Puts `value` (masked to the field's width) into the field's bits; other bits stay.
void writeSetting(ImageBytes &image, const SettingField &field, unsigned value);

// The list position that shows the stored value; the field's fallback position when the
// value has none.
int settingPosition(const ImageBytes &image, const SettingField &field);
// Stores the value of list position `position`; a position outside the list (no selection,
// -1) stores the field's no-choice value.
void setSettingPosition(ImageBytes &image, const SettingField &field, int position);

// The field's bytes up to the first 0xFF, each byte the character with that code (Latin-1).
QString readImageText(const ImageBytes &image, const TextField &field);
// Writes the low 8 bits of each character, 0xFF after the last; characters beyond the
// field's length are dropped.
void writeImageText(ImageBytes &image, const TextField &field, const QString &text);

// The digits of the power-on password: the bytes from 0x1848 while they are 0-9, at most six.
QString readPowerOnPassword(const ImageBytes &image);
// Stores up to six digits, 0xFF after the last. Returns false and leaves the image unchanged
// when `digits` holds anything but the characters 0-9 or more than six of them.
bool writePowerOnPassword(ImageBytes &image, const QString &digits);
