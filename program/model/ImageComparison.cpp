#include "model/ImageComparison.h"

#include "base/ResourceLibrary.h"
#include "base/Globals.h"
#include "model/RadioImage.h"
#include "model/ChannelCodec.h"
#include "model/GridRules.h"
#include "model/MemoryImage.h"
#include "model/OptionLists.h"
#include "model/SettingFields.h"

#include <QSet>
#include <QStringList>

namespace {

// The fields of a channel by grid column (1-9), in the three languages.
QString channelFieldName(int column)
{
    static const char *const names[][3] = {
        {"", "", ""},
        {"receive frequency", "接收频率", "接收頻率"},
        {"transmit frequency", "发射频率", "發射頻率"},
        {"receive tone", "接收亚音", "接收亞音"},
        {"transmit tone", "发射亚音", "發射亞音"},
        {"busy lock", "繁忙锁定", "繁忙鎖定"},
        {"power", "功率", "功率"},
        {"scan add", "扫描添加", "掃描添加"},
        {"bandwidth", "带宽", "帶寬"},
        {"name", "名称", "名稱"},
    };
    const auto &n = names[column];
    return languageText(LanguageIndex, n[0], n[1], n[2]);
}

struct Shown {
    QString label;
    QString text;
    int address;
    int length;
};

// Every setting the dialogs and selectors show, with the bytes it lives in.
QList<Shown> settingsShown(const ImageBytes &image)
{
    QList<Shown> shown;
    const auto addList = [&shown, &image](const ListOption &option) {
        QString label = optionLabel(option);
        if (label.isEmpty())
            label = QLatin1String(option.field->label);
        const QStringList entries = optionEntries(option.words, LanguageIndex);
        shown.append({label, entries.value(shownPosition(image, option)), option.field->address, 1});
    };
    for (const ListOption &option : optionDialogLists())
        addList(option);
    for (const ListOption &option : pttIdDialogLists())
        addList(option);
    const auto label = [](int dialog, int control, const char *fallback) {
        const QString text = optionLabel(dialog, control);
        return text.isEmpty() ? QString::fromLatin1(fallback) : text;
    };
    shown.append({label(ResId::OptionDialog, OptionIds::PowerOnPassword, "Power-On Password"), powerOnPasswordText(image),
                  Setting::PowerOnPasswordAddress, Setting::PowerOnPasswordLength});
    shown.append({label(ResId::PttIdDialog, OptionIds::PttIdCode, "Code"), pttIdCodeText(image), Setting::PttIdCode.address,
                  Setting::PttIdCode.length});
    shown.append({label(ResId::PcbaDialog, OptionIds::PcbaText, "PCBA"), pcbaText(image), Setting::Pcba.address,
                  Setting::Pcba.length});
    shown.append({languageText(LanguageIndex, "Model", "机型", "機型"),
                  GridRules::radioModelNames().value(GridRules::modelIndexFromByte(image[ImageMap::ModelIndex])),
                  ImageMap::ModelIndex, 1});
    return shown;
}

QList<ChannelTexts> channels(const ImageBytes &image)
{
    QList<ChannelTexts> all;
    for (int n = 1; n <= ImageMap::ChannelCount; ++n)
        all.append(LoadChannel(image, n));
    return all;
}

QString hex(int value, int digits)
{
    return QStringLiteral("0x") + QStringLiteral("%1").arg(value, digits, 16, QLatin1Char('0')).toUpper();
}

QString shownText(const QString &text)
{
    return text.isEmpty() ? languageText(LanguageIndex, "(none)", "（无）", "（無）") : text;
}

QString emptyChannelText()
{
    return languageText(LanguageIndex, "empty", "空", "空");
}

// "a in first, b in second"
QString bothValues(const QString &a, const QString &firstName, const QString &b, const QString &secondName)
{
    return languageText(LanguageIndex, "%1 in %2, %3 in %4", "%1（%2），%3（%4）", "%1（%2），%3（%4）")
        .arg(a, firstName, b, secondName);
}

QString channelText(int number, const QString &what)
{
    return languageText(LanguageIndex, "Channel %1: %2", "信道 %1：%2", "信道 %1：%2").arg(number).arg(what);
}

} // namespace

QString ImageDifference::detail() const
{
    return languageText(LanguageIndex, "block %1", "数据块 %1", "數據塊 %1").arg(hex(address & ~7, 4));
}

QList<QPair<int, int>> writtenRanges()
{
    return {{0x0000, 0x1D4F}, {0x1FD0, 0x1FEF}};
}

QList<ImageDifference> compareImages(const QByteArray &first, const QByteArray &second, const QString &firstName,
                                     const QString &secondName, const QList<QPair<int, int>> &rangesIn)
{
    const QList<QPair<int, int>> ranges = rangesIn.isEmpty() ? QList<QPair<int, int>>{{0, int(RadioImageSize) - 1}} : rangesIn;
    auto byteAt = [](const QByteArray &bytes, int address) {
        return address < bytes.size() ? std::uint8_t(bytes.at(address)) : std::uint8_t(0xFF);
    };
    QList<int> differing;
    for (const auto &range : ranges)
        for (int a = range.first; a <= range.second && a < int(RadioImageSize); ++a)
            if (byteAt(first, a) != byteAt(second, a))
                differing.append(a);
    QList<ImageDifference> result;
    if (differing.isEmpty())
        return result;
    const QSet<int> differs(differing.begin(), differing.end());
    QSet<int> explained;
    auto firstDiffering = [&differs](int address, int length) {
        for (int a = address; a < address + length; ++a)
            if (differs.contains(a))
                return a;
        return -1;
    };
    auto pair = [&](const QString &a, const QString &b) {
        return bothValues(shownText(a), firstName, shownText(b), secondName);
    };

    // Images shorter than a whole one read as 0xFF beyond their end.
    const ImageBytes firstImage = imageFromBytes(first);
    const ImageBytes secondImage = imageFromBytes(second);
    const QList<ChannelTexts> a = channels(firstImage);
    const QList<ChannelTexts> b = channels(secondImage);
    for (int n = 1; n <= ImageMap::ChannelCount; ++n) {
        const int record = ImageMap::ChannelRecords + (n - 1) * ImageMap::ChannelRecordSize;
        const int name = ImageMap::ChannelNames + (n - 1) * ImageMap::ChannelNameSize;
        const int recordDiff = firstDiffering(record, 13);
        const int nameDiff = firstDiffering(name, ImageMap::ChannelNameLength);
        if (recordDiff < 0 && nameDiff < 0)
            continue;
        const ChannelTexts &x = a.at(n - 1);
        const ChannelTexts &y = b.at(n - 1);
        if (x.rxFreq.isEmpty() != y.rxFreq.isEmpty()) {
            if (recordDiff >= 0) {
                result.append({channelText(n, bothValues(x.rxFreq.isEmpty() ? emptyChannelText() : x.rxFreq, firstName,
                                                         y.rxFreq.isEmpty() ? emptyChannelText() : y.rxFreq,
                                                         secondName)),
                               recordDiff});
                for (int i = 0; i < 13; ++i)
                    explained.insert(record + i);
                for (int i = 0; i < ImageMap::ChannelNameLength; ++i)
                    explained.insert(name + i);
            }
            continue;
        }
        for (int c = ChannelTexts::FirstColumn; c <= ChannelTexts::LastColumn; ++c) {
            if (x.text(c) == y.text(c))
                continue;
            const bool isName = c == ChannelTexts::Name;
            result.append({channelText(n, channelFieldName(c) + QLatin1Char(' ') + pair(x.text(c), y.text(c))),
                           isName ? (nameDiff >= 0 ? nameDiff : name) : (recordDiff >= 0 ? recordDiff : record)});
            if (isName)
                for (int i = 0; i < ImageMap::ChannelNameLength; ++i)
                    explained.insert(name + i);
            else
                for (int i = 0; i < 13; ++i)
                    explained.insert(record + i);
        }
    }

    const QList<Shown> sa = settingsShown(firstImage);
    const QList<Shown> sb = settingsShown(secondImage);
    for (int i = 0; i < sa.size() && i < sb.size(); ++i) {
        const int diff = firstDiffering(sa.at(i).address, sa.at(i).length);
        if (diff < 0 || sa.at(i).text == sb.at(i).text)
            continue;
        result.append({languageText(LanguageIndex, "Setting %1: %2 / %3", "设置 %1：%2 / %3", "設置 %1：%2 / %3")
                           .arg(sa.at(i).label, shownText(sa.at(i).text), shownText(sb.at(i).text)),
                       diff});
        for (int k = 0; k < sa.at(i).length; ++k)
            explained.insert(sa.at(i).address + k);
    }

    for (int address : std::as_const(differing))
        if (!explained.contains(address))
            result.append({languageText(LanguageIndex, "Memory at %1: %2", "存储地址 %1：%2", "存儲地址 %1：%2")
                               .arg(hex(address, 4), bothValues(hex(byteAt(first, address), 2), firstName,
                                                                hex(byteAt(second, address), 2), secondName)),
                           address});
    return result;
}

QString notVerifiedHeading(int languageIndex)
{
    return languageText(languageIndex, "The radio does not hold what was written:", "对讲机中的数据与写入的不一致：",
                        "對講機中的數據與寫入的不一致：");
}

QString writtenImageName(int languageIndex)
{
    return languageText(languageIndex, "the file", "文件", "文件");
}

QString radioMemoryName(int languageIndex)
{
    return languageText(languageIndex, "the radio", "对讲机", "對講機");
}

QString notVerifiedText(int languageIndex, const QList<Difference> &differences, int shown)
{
    return differenceNotice({notVerifiedHeading(languageIndex),
                             languageText(languageIndex, "and %1 more", "另有 %1 处不同", "另有 %1 處不同"),
                             notVerifiedAdvice(languageIndex)},
                            differences, shown);
}

QString notVerifiedCaption(int languageIndex)
{
    return languageText(languageIndex, "The check after writing failed", "写入校验失败", "寫入校驗失敗");
}

QString notVerifiedAdvice(int languageIndex)
{
    return languageText(languageIndex,
                        "Write again; if the same channels differ, the radio did not accept those values.",
                        "请再写一次；如果仍是这些信道不同，说明对讲机不接受这些值。",
                        "請再寫一次；如果仍是這些頻道不同，表示對講機不接受這些值。");
}

QString writtenAndCheckedText(int languageIndex)
{
    return languageText(languageIndex, "Written and checked", "已写入并校验", "已寫入並校驗");
}
