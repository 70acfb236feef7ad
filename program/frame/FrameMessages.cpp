#include "FrameMessages.h"

#include "model/AppGlobals.h"

#include <QDir>

QString HelpFileMissingText(int languageIndex, const QString &path)
{
    return LanguageText(languageIndex, "Could not find the help file %1", "找不到帮助文件 %1", "找不到幫助文件 %1")
        .arg(QDir::toNativeSeparators(path));
}

QString HelpOpenFailedText(int languageIndex, const QString &path)
{
    return LanguageText(languageIndex, "Could not open the help file %1. Is a viewer for it installed?",
                        "无法打开帮助文件 %1。是否安装了它的查看程序？", "無法打開幫助文件 %1。是否安裝了它的查看程序？")
        .arg(QDir::toNativeSeparators(path));
}

QString LanguageNotSavedText(int languageIndex, const QString &iniPath, const QString &reason)
{
    const QString text =
        LanguageText(languageIndex, "Could not save the language choice in %1. The language stays as it is.",
                     "无法将语言设置保存到 %1，语言保持不变。", "無法將語言設置保存到 %1，語言保持不變。")
            .arg(QDir::toNativeSeparators(iniPath));
    return reason.isEmpty() ? text : text + QLatin1Char('\n') + reason;
}

QString HelpFileName(int languageIndex)
{
    switch (languageIndex) {
    case LanguageSimplifiedChinese:
        return QStringLiteral("chs.chm");
    case LanguageTraditionalChinese:
        return QStringLiteral("cht.chm");
    default:
        return QStringLiteral("eng.chm");
    }
}

QString LanguageValue(int position)
{
    switch (position) {
    case 1:
        return QStringLiteral("Chs");
    case 2:
        return QStringLiteral("Cht");
    default:
        return QStringLiteral("Eng");
    }
}
