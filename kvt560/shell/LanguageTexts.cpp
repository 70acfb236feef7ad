#include "shell/LanguageTexts.h"

#include "settings/SettingsRegistry.h"
#include "shell/LanguageElements.h"
#include "shell/LanguageNames.h"
#include "channels/ToneList.h"

LanguageTexts LanguageTexts::builtIn()
{
    LanguageTexts t;
    t.marks = Marks::forLanguage(1);
    t.toneOffWord = ToneList::defaultOffWord();
    t.LinkErrorCaption = QStringLiteral("通信错误");
    t.PortErrorText = QStringLiteral("无法打开串口，请检查编程线和端口设置。");
    t.LinkErrorText = QStringLiteral("与对讲机通信失败，请检查连接后重试。");
    t.ConfirmCaption = QStringLiteral("警告");
    t.ConfirmText = QStringLiteral("所有信道数据将被清除，是否继续？");
    t.SaveQuestionText = QStringLiteral("信道和设置已修改，是否保存？");
    t.SaveButtonText = QStringLiteral("保存");
    t.DiscardButtonText = QStringLiteral("不保存");
    t.CancelButtonText = QStringLiteral("取消");
    t.VerifyFailedText = QStringLiteral("对讲机中的数据与写入的不一致：");
    t.VerifyPassedText = QStringLiteral("校验通过：对讲机中的数据与写入的一致。");
    t.VerifyingText = QStringLiteral("正在校验对讲机中的数据……");
    t.MoreDifferencesText = QStringLiteral("……另有 %1 处不同");
    t.NothingChangedText = QStringLiteral("未作任何更改。");
    t.NothingPastedText = QStringLiteral("未粘贴任何内容。");
    t.BackupFailedText = QStringLiteral("无法写入本次读频的备份（%1）。");
    t.VerifyFailedCaption = QStringLiteral("写入校验失败");
    t.VerifyAdviceText = QStringLiteral("请再写一次；如果仍是这些信道不同，说明对讲机不接受这些值。");
    t.VerifyFailedStatus = QStringLiteral("校验失败：对讲机中的数据与写入的不一致。");
    t.StopWriteQuestion = QStringLiteral("对讲机将只写入一部分。停止写入吗？");
    t.ReadStoppedText = QStringLiteral("读取已停止，没有任何改变。");
    t.WriteStoppedBeforeText = QStringLiteral("写入在第一块之前停止，对讲机没有改变。");
    t.WriteStoppedText = QStringLiteral("写入在 %2 块中的第 %1 块后停止，对讲机只写入了一部分。");
    t.CheckStoppedText = QStringLiteral("校验已停止。对讲机已写入，但没有读回校验。");
    t.TransferPortText = QStringLiteral("串口：%1（%2）");
    t.TransferNoDeviceText = QStringLiteral("串口：%1（无串口设备）");
    t.help.title = QStringLiteral("帮助");
    t.help.back = QStringLiteral("后退");
    t.help.forward = QStringLiteral("前进");
    t.help.home = QStringLiteral("目录");
    t.help.find = QStringLiteral("查找");
    t.help.findNext = QStringLiteral("下一个");
    t.help.findPrevious = QStringLiteral("上一个");
    t.help.notFound = QStringLiteral("未找到");
    t.help.close = QStringLiteral("关闭");
    return t;
}

LanguageTexts LanguageTexts::forLanguage(int lang, const QString &directory)
{
    LanguageTexts t = builtIn();
    if (!language::isKnown(lang))
        return t;
    LanguageLibrary library;
    if (library.load(LanguageLibrary::pathOf(directory, language::libraryName(lang)))) {
        t.apply(library);
    } else {
        t.marks = Marks::forLanguage(lang);
        t.toneOffWord = t.marks.off;
    }
    return t;
}

void LanguageTexts::apply(const LanguageLibrary &library)
{
    m_library = library;
    for (const LanguageElement &e : LanguageElements::all()) {
        if (!library.contains(e.id))
            continue;
        const QString text = QString(e.format).replace(QLatin1String("%1"), library.text(e.id));
        switch (e.kind) {
        case LanguageElement::MarkText:
            marks.set(e.mark, text);
            break;
        case LanguageElement::ToneListOff:
            toneOffWord = text;
            break;
        case LanguageElement::NoticeText: {
            static const std::pair<const char *, QString LanguageTexts::*> targets[] = {
                {"LinkErrorCaption", &LanguageTexts::LinkErrorCaption},
                {"PortErrorText", &LanguageTexts::PortErrorText},
                {"LinkErrorText", &LanguageTexts::LinkErrorText},
                {"ConfirmCaption", &LanguageTexts::ConfirmCaption},
                {"ConfirmText", &LanguageTexts::ConfirmText},
                {"SaveQuestionText", &LanguageTexts::SaveQuestionText},
                {"SaveButtonText", &LanguageTexts::SaveButtonText},
                {"DiscardButtonText", &LanguageTexts::DiscardButtonText},
                {"CancelButtonText", &LanguageTexts::CancelButtonText},
                {"VerifyFailedText", &LanguageTexts::VerifyFailedText},
                {"VerifyPassedText", &LanguageTexts::VerifyPassedText},
                {"VerifyingText", &LanguageTexts::VerifyingText},
                {"MoreDifferencesText", &LanguageTexts::MoreDifferencesText},
                {"NothingChangedText", &LanguageTexts::NothingChangedText},
                {"NothingPastedText", &LanguageTexts::NothingPastedText},
                {"BackupFailedText", &LanguageTexts::BackupFailedText},
                {"VerifyFailedCaption", &LanguageTexts::VerifyFailedCaption},
                {"VerifyAdviceText", &LanguageTexts::VerifyAdviceText},
                {"VerifyFailedStatus", &LanguageTexts::VerifyFailedStatus},
                {"StopWriteQuestion", &LanguageTexts::StopWriteQuestion},
                {"ReadStoppedText", &LanguageTexts::ReadStoppedText},
                {"WriteStoppedBeforeText", &LanguageTexts::WriteStoppedBeforeText},
                {"WriteStoppedText", &LanguageTexts::WriteStoppedText},
                {"CheckStoppedText", &LanguageTexts::CheckStoppedText},
                {"TransferPortText", &LanguageTexts::TransferPortText},
                {"TransferNoDeviceText", &LanguageTexts::TransferNoDeviceText},
            };
            for (const auto &[name, member] : targets)
                if (e.target == QLatin1String(name))
                    this->*member = text;
            static const std::pair<const char *, QString HelpTexts::*> helpTargets[] = {
                {"HelpTitle", &HelpTexts::title},         {"HelpBack", &HelpTexts::back},
                {"HelpForward", &HelpTexts::forward},     {"HelpContents", &HelpTexts::home},
                {"HelpFind", &HelpTexts::find},           {"HelpFindNext", &HelpTexts::findNext},
                {"HelpFindPrevious", &HelpTexts::findPrevious}, {"HelpNotFound", &HelpTexts::notFound},
                {"HelpClose", &HelpTexts::close},
            };
            for (const auto &[name, member] : helpTargets)
                if (e.target == QLatin1String(name))
                    help.*member = text;
            break;
        }
        default:
            break;
        }
    }
}

QString LanguageTexts::itemText(const QString &name, int index) const
{
    const SettingDef *def = SettingsRegistry::byName(name);
    if (!def)
        return QString();
    if (!m_library.isLoaded() || !def->rebuiltByLanguage())
        return def->itemTexts().value(index);
    const LanguageLibrary &library = m_library;
    // A string the library lacks keeps its built-in item, as the loader keeps the list.
    const QStringList builtIn = def->itemTexts();
    const QStringList translated = def->itemTexts([&library](int id) { return library.text(id); });
    if (index < 0 || index >= translated.size())
        return QString();
    return translated.at(index).isEmpty() ? builtIn.value(index) : translated.at(index);
}

QString LanguageTexts::captionText(const Caption &caption) const
{
    const QString text = caption.stringId != 0 && m_library.contains(caption.stringId) ? m_library.text(caption.stringId)
                                                                                       : caption.text;
    return LanguageElements::withoutMnemonic(text);
}

QString LanguageTexts::channelHeader(int column, const QString &builtIn) const
{
    for (const LanguageElement &e : LanguageElements::all())
        if (e.kind == LanguageElement::ChannelHeader && e.column == column && m_library.contains(e.id))
            return QString(e.format).replace(QLatin1String("%1"), m_library.text(e.id));
    return builtIn;
}
