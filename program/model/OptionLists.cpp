#include "OptionLists.h"

#include "base/Globals.h"
#include "SettingFields.h"
#include "base/ResourceLibrary.h"

namespace {

// A word in the three languages: English, Simplified Chinese, Traditional Chinese.
struct Word {
    const char16_t *english;
    const char16_t *simplified;
    const char16_t *traditional;
};

QString pick(const Word &word, int languageIndex)
{
    switch (languageIndex) {
    case LanguageSimplifiedChinese:
        return QString::fromUtf16(word.simplified);
    case LanguageTraditionalChinese:
        return QString::fromUtf16(word.traditional);
    default:
        return QString::fromUtf16(word.english);
    }
}

QStringList pick(std::initializer_list<Word> words, int languageIndex)
{
    QStringList entries;
    for (const Word &w : words)
        entries << pick(w, languageIndex);
    return entries;
}

constexpr Word Off{u"Off", u"关", u"關"};
constexpr Word On{u"On", u"开", u"開"};
constexpr Word Auto{u"Auto", u"自动", u"自動"};

// The off word followed by the numbers first ... last, each written with `suffix`.
QStringList offThenNumbers(int languageIndex, int first, int last, int step, const QString &suffix = {})
{
    QStringList entries{pick(Off, languageIndex)};
    for (int n = first; n <= last; n += step)
        entries << QString::number(n) + suffix;
    return entries;
}

ListOption list(int dialogId, int controlId, const char *objectName, const SettingField &field, OptionWords words)
{
    return ListOption{dialogId, controlId, objectName, &field, words};
}

bool isAsciiDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }
bool isAsciiUpper(QChar c) { return c >= QLatin1Char('A') && c <= QLatin1Char('Z'); }
bool isAsciiLower(QChar c) { return c >= QLatin1Char('a') && c <= QLatin1Char('z'); }

QChar asciiUpper(QChar c) { return isAsciiLower(c) ? QChar(c.unicode() - 'a' + 'A') : c; }

QString asciiUpper(QString text)
{
    for (QChar &c : text)
        c = asciiUpper(c);
    return text;
}

QString entryAt(const QStringList &entries, int position)
{
    return position >= 0 && position < entries.size() ? entries.at(position) : QString();
}

} // namespace

const QList<ListOption> &optionDialogLists()
{
    using namespace Setting;
    namespace Id = OptionIds;
    constexpr int D = ResId::OptionDialog;
    static const QList<ListOption> lists{
        list(D, Id::Sql, "sqlList", SqlLevel, OptionWords::Sql),
        list(D, Id::Vox, "voxList", VoxLevel, OptionWords::Vox),
        list(D, Id::Tot, "totList", Tot, OptionWords::Tot),
        list(D, Id::Step, "stepList", Step, OptionWords::Step),
        list(D, Id::Reverse, "reverseList", Reverse, OptionWords::OnOff),
        list(D, Id::Beep, "beepList", Beep, OptionWords::OnOff),
        list(D, Id::Roger, "rogerList", Roger, OptionWords::Roger),
        list(D, Id::BacklightMode, "backlightModeList", BacklightMode, OptionWords::Backlight),
        list(D, Id::Apo, "apoList", Apo, OptionWords::Apo),
        list(D, Id::PriorityChannel, "priorityChannelList", PriorityChannel, OptionWords::PriorityChannel),
        list(D, Id::KeyLock, "keyLockList", KeyLock, OptionWords::KeyLock),
        list(D, Id::ChannelName, "channelNameList", ChannelName, OptionWords::OnOff),
        list(D, Id::BatterySave, "batterySaveList", BatterySave, OptionWords::OnOff),
        list(D, Id::ScanMode, "scanModeList", ScanMode, OptionWords::ScanMode),
        list(D, Id::Radio, "radioList", Radio, OptionWords::OnOff),
        list(D, Id::SingleRadio, "singleRadioList", SingleRadio, OptionWords::OnOff),
        list(D, Id::Ste, "steList", Ste, OptionWords::Ste),
        list(D, Id::FrequencyMode, "frequencyModeList", FrequencyMode, OptionWords::OnOff),
        list(D, Id::EmergencyCall, "emergencyCallList", EmergencyCall, OptionWords::EmergencyCall),
        list(D, Id::ReceiveAlarmTime, "receiveAlarmTimeList", ReceiveAlarmTime, OptionWords::ReceiveAlarmTime),
        list(D, Id::PowerOnPasswordSwitch, "powerOnPasswordSwitchList", PowerOnPasswordSwitch, OptionWords::OnOff),
        list(D, Id::ManualPowerSwitch, "manualPowerSwitchList", ManualPowerSwitch, OptionWords::OnOff),
    };
    return lists;
}

const QList<ListOption> &optionWriteBackOrder()
{
    // The field table keeps the write-back order; pair each field with its list.
    static const QList<ListOption> ordered = [] {
        QList<ListOption> result;
        for (const SettingField *field : Setting::OptionFields)
            for (const ListOption &option : optionDialogLists())
                if (option.field == field)
                    result << option;
        return result;
    }();
    return ordered;
}

const QList<ListOption> &pttIdDialogLists()
{
    static const QList<ListOption> lists{
        list(ResId::PttIdDialog, OptionIds::PttIdDisplay, "displayList", Setting::PttIdDisplay, OptionWords::OnOff),
        list(ResId::PttIdDialog, OptionIds::PttIdMode, "pttIdList", Setting::PttIdMode, OptionWords::PttIdMode),
    };
    return lists;
}

QStringList optionEntries(OptionWords words, int lang)
{
    switch (words) {
    case OptionWords::Sql: {
        QStringList entries;
        for (int n = 0; n <= 9; ++n)
            entries << QString::number(n);
        return entries;
    }
    case OptionWords::Vox:
        return offThenNumbers(lang, 1, 9, 1);
    case OptionWords::Tot:
        return offThenNumbers(lang, 30, 600, 30, QStringLiteral("s"));
    case OptionWords::Step:
        return {QStringLiteral("5KHz"), QStringLiteral("6.25KHz"), QStringLiteral("10KHz"),
                QStringLiteral("12.5KHz"), QStringLiteral("25KHz")};
    case OptionWords::OnOff:
        return pick({On, Off}, lang);
    case OptionWords::Roger:
        return offThenNumbers(lang, 1, 3, 1);
    case OptionWords::Backlight:
        return pick({On, Off, Auto}, lang);
    case OptionWords::Apo:
        return QStringList{pick(Off, lang)} + QStringList{QStringLiteral("10M"), QStringLiteral("30M"),
                                                          QStringLiteral("1H"), QStringLiteral("2H")};
    case OptionWords::PriorityChannel:
        return offThenNumbers(lang, 1, 99, 1);
    case OptionWords::KeyLock:
        return pick({Auto, {u"Manual", u"手动", u"手動"}}, lang);
    case OptionWords::ScanMode:
        return pick({{u"CO", u"载波", u"載波"}, {u"TO", u"时间", u"時間"}}, lang);
    case OptionWords::Ste:
        return pick({Off,
                     {u"120 phase shift", u"120度相位偏移", u"120度相位偏移"},
                     {u"180 phase shift", u"180度相位偏移", u"180度相位偏移"}},
                    lang);
    case OptionWords::EmergencyCall:
        return pick({Off,
                     {u"Local Alert", u"本地报警", u"本地報警"},
                     {u"Local Tx Alert", u"本地发射报警", u"本地發射報警"},
                     {u"Tx Alert", u"发射报警", u"發射報警"}},
                    lang);
    case OptionWords::ReceiveAlarmTime: {
        QStringList entries{pick(Off, lang)};
        for (int seconds : {3, 5, 10, 20, 30, 60, 120, 240})
            entries << QString::number(seconds) + QLatin1Char('s');
        entries << pick(Auto, lang) << pick(Word{u"Continue", u"连续", u"連續"}, lang);
        return entries;
    }
    case OptionWords::PttIdMode:
        return pick({{u"Off", u"关", u"關閉"},
                     {u"Begin", u"开始发射", u"開始"},
                     {u"End", u"结束发射", u"結束"},
                     {u"Both", u"两者", u"兩者"}},
                    lang);
    }
    return {};
}

QString optionLabel(int dialogId, int controlId)
{
    return resources().labelText(dialogId, controlId);
}

int shownPosition(const ImageBytes &image, const ListOption &option)
{
    return settingPosition(image, *option.field);
}

void storePosition(ImageBytes &image, const ListOption &option, int position)
{
    setSettingPosition(image, *option.field, position);
}

QString powerOnPasswordText(const ImageBytes &image)
{
    return readPowerOnPassword(image);
}

QString filterPowerOnPassword(const QString &input)
{
    QString digits;
    for (QChar c : input)
        if (isAsciiDigit(c) && digits.size() < PowerOnPasswordMaxLength)
            digits.append(c);
    return digits;
}

void storePowerOnPassword(ImageBytes &image, const QString &text)
{
    writePowerOnPassword(image, filterPowerOnPassword(text));
}

QString pttIdCodeText(const ImageBytes &image)
{
    return asciiUpper(readImageText(image, Setting::PttIdCode));
}

QString filterPttIdCode(const QString &input)
{
    QString code;
    for (QChar c : input) {
        const QChar upper = asciiUpper(c);
        const bool allowed = isAsciiDigit(upper) || (upper >= QLatin1Char('A') && upper <= QLatin1Char('D'))
                             || upper == QLatin1Char('#') || upper == QLatin1Char('*');
        if (allowed && code.size() < PttIdCodeMaxLength)
            code.append(upper);
    }
    return code;
}

void storePttIdCode(ImageBytes &image, const QString &text)
{
    writeImageText(image, Setting::PttIdCode, text);
}

QString pcbaText(const ImageBytes &image)
{
    return asciiUpper(readImageText(image, Setting::Pcba));
}

QString filterPcbaText(const QString &input)
{
    QString text;
    for (QChar c : input) {
        const QChar upper = asciiUpper(c);
        if ((isAsciiDigit(upper) || isAsciiUpper(upper)) && text.size() < PcbaMaxLength)
            text.append(upper);
    }
    return text;
}

void storePcbaText(ImageBytes &image, const QString &text)
{
    writeImageText(image, Setting::Pcba, text);
}

QList<ShownSetting> shownSettings(const ImageBytes &image, int languageIndex)
{
    QList<ShownSetting> shown;
    const ResourceLibrary &res = resources();
    const auto addList = [&](const ListOption &option) {
        shown.append({res.dialogCaption(option.dialogId), optionLabel(option),
                      entryAt(optionEntries(option.words, languageIndex), shownPosition(image, option))});
    };
    const QString optionCaption = res.dialogCaption(ResId::OptionDialog);
    for (const ListOption &option : optionDialogLists()) {
        if (option.controlId == OptionIds::PowerOnPasswordSwitch)
            shown.append({optionCaption, optionLabel(ResId::OptionDialog, OptionIds::PowerOnPassword),
                          powerOnPasswordText(image)});
        addList(option);
    }
    for (const ListOption &option : pttIdDialogLists())
        addList(option);
    shown.append({res.dialogCaption(ResId::PttIdDialog), optionLabel(ResId::PttIdDialog, OptionIds::PttIdCode),
                  pttIdCodeText(image)});
    shown.append({res.dialogCaption(ResId::PcbaDialog), optionLabel(ResId::PcbaDialog, OptionIds::PcbaText),
                  pcbaText(image)});
    return shown;
}
