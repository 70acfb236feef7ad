#pragma once
// The words and list mappings of the Option, PTT ID and PCBA dialogs, without widgets.
//
// Each drop-down list of the dialogs is a ListOption: the template and control id that give
// its label, the setting field of the image it edits (SettingFields.h) and the set of words
// it offers. The entries depend on the user-interface language (0 English, 1 Simplified
// Chinese, 2 Traditional Chinese, any other value English); the position of the chosen entry
// maps to the stored value through the field. The power-on password, the PTT ID code and the
// PCBA text are texts, read and stored here with the input filters the dialogs apply.
//
// shownSettings() lists every field with its label and the entry shown for the current image,
// in the words of a language, for a textual dump of the settings.
#include "model/RadioImage.h"

#include <QList>
#include <QString>
#include <QStringList>

struct SettingField;

// The word sets of the drop-down lists.
enum class OptionWords {
    Sql,              // "0" ... "9"
    Vox,              // off, "1" ... "9"
    Tot,              // off, "30s" ... "600s"
    Step,             // "5KHz" ... "25KHz"
    OnOff,            // on, off
    Roger,            // off, "1", "2", "3"
    Backlight,        // on, off, auto
    Apo,              // off, "10M", "30M", "1H", "2H"
    PriorityChannel,  // off, "1" ... "99"
    KeyLock,          // auto, manual
    ScanMode,         // carrier, time
    Ste,              // off, 120 and 180 degree phase shift
    EmergencyCall,    // off, local alert, local transmit alert, transmit alert
    ReceiveAlarmTime, // off, "3s" ... "240s", auto, continuous
    PttIdMode,        // off, begin, end, both
};

struct ListOption {
    int dialogId;              // template of the dialog (ResId::OptionDialog, ResId::PttIdDialog)
    int controlId;             // id of the drop-down list in the template; its label has the same id
    const char *objectName;    // objectName of the list in the dialog
    const SettingField *field; // the image field it edits
    OptionWords words;
};

namespace OptionIds {
// Option dialog (template 156)
constexpr int Sql = 1081;
constexpr int Vox = 1086;
constexpr int Tot = 1083;
constexpr int Step = 1103;
constexpr int Reverse = 1104;
constexpr int Beep = 1088;
constexpr int Roger = 1105;
constexpr int BacklightMode = 1113;
constexpr int Apo = 1106;
constexpr int PriorityChannel = 1107;
constexpr int KeyLock = 1108;
constexpr int ChannelName = 1099;
constexpr int BatterySave = 1100;
constexpr int ScanMode = 1109;
constexpr int Radio = 1101;
constexpr int SingleRadio = 1110;
constexpr int Ste = 1111;
constexpr int FrequencyMode = 1112;
constexpr int EmergencyCall = 1097;
constexpr int ReceiveAlarmTime = 1117;
constexpr int PowerOnPassword = 1118; // text box
constexpr int PowerOnPasswordSwitch = 1114;
constexpr int ManualPowerSwitch = 1116;
// PTT ID dialog (template 164)
constexpr int PttIdDisplay = 1097;
constexpr int PttIdMode = 1090;
constexpr int PttIdCode = 1096; // text box
// PCBA dialog (template 166)
constexpr int PcbaText = 1092;  // text box
} // namespace OptionIds

// The lists of the Option dialog in the order they are laid out (the password box stands
// between Receive Alarm Time and the password switch).
const QList<ListOption> &optionDialogLists();
// The same lists in the order the dialog writes them back when it closes.
const QList<ListOption> &optionWriteBackOrder();
// The lists of the PTT ID dialog: Display, then PTT ID.
const QList<ListOption> &pttIdDialogLists();

// The entries of a word set in a language.
QStringList optionEntries(OptionWords words, int languageIndex);
// The label of a list or text box from the current resource library.
QString optionLabel(int dialogId, int controlId);
inline QString optionLabel(const ListOption &option) { return optionLabel(option.dialogId, option.controlId); }

// The position shown for the value in the image; the field's fallback position when the
// value has no entry.
int shownPosition(const ImageBytes &image, const ListOption &option);
// Stores the value of a list position; no selection (-1) stores the field's no-choice value.
void storePosition(ImageBytes &image, const ListOption &option, int position);

// Power-on password: at most six decimal digits.
constexpr int PowerOnPasswordMaxLength = 6;
QString powerOnPasswordText(const ImageBytes &image);
// Keeps only the characters 0-9, at most six of them.
QString filterPowerOnPassword(const QString &input);
// Stores the digits of `text` (after filtering), 0xFF after the last.
void storePowerOnPassword(ImageBytes &image, const QString &text);

// PTT ID code: up to 16 of 0-9, A-D, # and *; small a-d become capitals.
constexpr int PttIdCodeMaxLength = 16;
QString pttIdCodeText(const ImageBytes &image); // as stored, small letters shown as capitals
QString filterPttIdCode(const QString &input);
void storePttIdCode(ImageBytes &image, const QString &text); // low 8 bits of each character, 0xFF after the last

// PCBA text: up to 16 ASCII letters and digits, letters as capitals.
constexpr int PcbaMaxLength = 16;
QString pcbaText(const ImageBytes &image); // as stored, small letters shown as capitals
QString filterPcbaText(const QString &input);
void storePcbaText(ImageBytes &image, const QString &text); // all 16 bytes 0xFF, then the characters

// One line of a settings dump.
struct ShownSetting {
    QString dialog; // caption of the dialog holding it ("Option", "PTT ID", "PCBA")
    QString label;  // label of the control ("SQL")
    QString text;   // the entry or text shown for the current image ("5")
};
// Every field of the three dialogs as the dialogs would show it for the current image: the
// Option dialog's controls in layout order, then Display, PTT ID and Code, then PCBA.
// Entries are in the words of `languageIndex`; labels and captions come from the current
// resource library.
QList<ShownSetting> shownSettings(const ImageBytes &image, int languageIndex);
