#pragma once
// The one description of every function setting and band control of the main window: its
// control name, kind, items, Start and New values, codeplug file key, input filter, spin
// range and its place and caption on the pages. The settings store, the New reset, the
// codeplug file, the memory layout and the page builder all walk or look up this table
// instead of listing the controls again. The enable rules between settings live here too.
#include <QChar>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>
#include <functional>
#include <optional>

// The typed key of every setting the program itself refers to, one per row of the table
// (SettingsRegistry::all). The control name stays the setting's name where the outside world
// sees it: the codeplug file, the widgets' objectNames and the language libraries.
enum class SettingKey {
    None,   // a row without a key of its own (a call list entry: callListEntryName)
    AutoPowerOff,
    ScanMode,
    FrequencyStep,
    VfoMode,
    MemoryDisplay,
    SquelchLevel,
    TransmitTimeOut,
    SquelchMode,
    KeyBeep,
    KeypadLock,
    BatterySave,
    FmRadio,
    Alarm,
    VoxSensitivity,
    VoxDelay,
    NoVoxWhileReceiving,
    BandByKeypad,
    ActiveBand,
    ChangePassword,
    Password,
    DtmfToneDuration,
    DtmfToneGap,
    FirstDigitDelay,
    CarrierLeadTime,
    StarHashToneTime,
    DecodeReplies,
    DtmfSideTone,
    ShowCallerPttId,
    PttIdMode,
    PttIdStartCode,
    PttIdEndCode,
    GroupCallDigit,
    OwnId,
    AutoResetTime,
    AutoAcknowledge,
    DecodeBeep,
    DecodeWithMatchingTone,
    DecodeSwitch,
    RemoteControl,
    RemoteControlCode,
    RemoteControlType,
    SideKeyP1,
    SideKeyP2,
    SideKeyP3,
    SideKeyP4,
    SideKeyP5,
    Band1RxRange,
    Band1TxRange,
    Band2RxRange,
    Band2TxRange,
    Count
};

enum class SettingKind {
    Index,      // selected index of a drop-down list
    Check,      // check box, 0 or 1
    Spin,       // whole number of a spin box
    Text,       // text of an edit field or of a call list entry
    RangeList,  // band range drop-down: its items live in the main window, not in the store
};

// A text shown on a page: the Simplified Chinese default and the language string that
// replaces it when a library is loaded (0: the text is fixed in every language).
struct Caption {
    QString text;
    int stringId = 0;
};

// One item of a drop-down list as it reads after a language library has been loaded.
struct SettingItem {
    enum Source {
        Literal,     // text, the same in every language
        String,      // language string stringId (text is the built-in form)
        Suffixed,    // prefix followed by language string stringId (text is the built-in form)
        MarkOff,     // the off mark, language string 34 (text is the built-in form)
    };
    Source source = Literal;
    QString text;     // the form shown before any library is loaded
    int stringId = 0;
    QString prefix;   // Suffixed only
};

// Characters a text setting accepts, applied to each typed character and to whole texts.
struct TextFilter {
    QString allowed;            // every accepted character
    bool upperCaseAbcd = false; // "a" to "d" are turned into "A" to "D" before the test
    int maxLength = 0;
    int exactLength = 0;        // when non-zero, a finished text of another length falls back to Start

    // The character as it enters the field, or nothing when it is discarded.
    std::optional<QChar> accept(QChar c) const;
    // The whole text as the field would hold it, or nothing when a character is not
    // accepted or the text is too long.
    std::optional<QString> apply(const QString &text) const;
};

struct SpinRange {
    int minimum = 0;
    int maximum = 0;
    int step = 1;
    int maxChars = 0;  // characters that can be typed
    int clamp(int value) const { return value < minimum ? minimum : value > maximum ? maximum : value; }
};

struct SettingDef {
    SettingKey key = SettingKey::None;
    QString name;      // control name: the setting's name in files, widgets and libraries
    SettingKind kind = SettingKind::Check;
    QString meaning;   // what the setting means, in plain English
    QString group;     // key of its SettingGroup
    int column = 0;    // 0 left column of its group, 1 right column
    bool hidden = false;  // held and stored like the others but never shown (the alarm box)
    Caption caption;   // label or box text; empty text for a field without a label
    QVector<SettingItem> items;   // Index: the items after a language library is loaded
    QStringList builtinItems;     // Index: the items before any library, when they differ
    QVariant start;               // value when the program starts
    std::optional<QVariant> newValue;  // value set by New; nothing: New leaves it unchanged
    QString fileKey;   // codeplug line key with its trailing blank; empty: not in the file
    int fileLine = 0;  // line of the codeplug file that holds it (0: none)
    SpinRange spin;
    TextFilter filter;

    bool isValue() const { return kind != SettingKind::RangeList; }
    // Number of selectable indexes (the longer of the built-in and the library list).
    int itemCount() const;
    // True when a language load rebuilds this drop-down list.
    bool rebuiltByLanguage() const;
    // The item texts: the built-in ones without a library, else resolved through it.
    QStringList itemTexts(const std::function<QString(int)> &library = {}) const;
    // The value as it would be stored, or nothing when it cannot be: an index out of the
    // list, a check value other than 0 or 1, a text the filter refuses, a non-number.
    // Spin values are brought to the nearest bound of the range.
    std::optional<QVariant> normalised(const QVariant &value) const;
};

// A titled group box or an untitled panel that holds settings on a page.
struct SettingGroup {
    QString key;
    int page = 0;        // main window page index
    int subPage = -1;    // DTMF page: 0 "系统", 1 "参数"; -1 elsewhere
    Caption caption;     // empty text: a panel without title
    QString objectName;  // the control name of the panel or grid when it has one
    QString parent;      // key of the enclosing group, if any
};

struct SettingPage {
    int index = 0;        // main window page index
    Caption caption;      // tab text
    QVector<Caption> subPages;
};

// While the controller holds one of enablingValues the target is enabled, else disabled.
struct EnableRule {
    QString target;
    QString controller;
    QVector<int> enablingValues;
};

// When the controller holds whenValue, the target is set to forcedValue. User changes of
// the controller or the target apply the rule; a program setting the controller applies it
// only for check-box rules (onProgramSet).
struct ForcedValueRule {
    QString controller;
    int whenValue = 0;
    QString target;
    int forcedValue = 0;
    bool onProgramSet = false;
};

namespace SettingsRegistry {

// Every setting, in page order.
const QVector<SettingDef> &all();
const SettingDef *byName(const QString &name);
// The row of a key (every key but None has one) and its control name.
const SettingDef &byKey(SettingKey key);
QString name(SettingKey key);
const SettingDef *byFileKey(const QString &fileKey);
// The settings that have a codeplug line, in line order.
QVector<const SettingDef *> fileOrder();

const QVector<SettingGroup> &groups();
const SettingGroup *group(const QString &key);
const QVector<SettingPage> &pages();

const QVector<EnableRule> &enableRules();
const QVector<ForcedValueRule> &forcedValueRules();

// Object name of the element that shows a setting's caption: the check box itself, else
// the label beside the control (control name + "Label").
QString captionObjectName(const SettingDef &def);
// Object name of the box that holds a group: the named panel of an untitled group, else
// the group key + "Group" (the call list grid sits inside "callListGroup").
QString groupBoxName(const SettingGroup &group);

// Name of call list entry 0 to 9 (column 1, row entry + 1 of bsSkinStringGrid1).
QString callListEntryName(int entry);
// The power-on password of the Start values, also what a write sends for a password that is
// not six digits.
QString defaultPassword();
constexpr int CallListEntries = 10;
// The call list headers, columns 0 and 1 of row 0, and the fixed row labels.
Caption callListHeader(int column);
QString callListRowLabel(int entry);

// Every language string id the table refers to (captions and items).
QVector<int> referencedStringIds();

} // namespace SettingsRegistry
