#include "FrameMessages.h"

#include "base/Globals.h"

#include <QDir>

QString helpFileMissingText(int languageIndex, const QString &path)
{
    return languageText(languageIndex, "Could not find the help file %1", "找不到帮助文件 %1", "找不到幫助文件 %1")
        .arg(QDir::toNativeSeparators(path));
}

QString helpOpenFailedText(int languageIndex, const QString &path)
{
    return languageText(languageIndex, "Could not open the help file %1. Is a viewer for it installed?",
                        "无法打开帮助文件 %1。是否安装了它的查看程序？", "無法打開幫助文件 %1。是否安裝了它的查看程序？")
        .arg(QDir::toNativeSeparators(path));
}

HelpTexts helpTexts(int languageIndex)
{
    HelpTexts t;
    t.title = languageText(languageIndex, "Help", "帮助", "說明");
    t.back = languageText(languageIndex, "Back", "后退", "上一頁");
    t.forward = languageText(languageIndex, "Forward", "前进", "下一頁");
    t.home = languageText(languageIndex, "Contents", "目录", "目錄");
    t.find = languageText(languageIndex, "Find", "查找", "尋找");
    t.findNext = languageText(languageIndex, "Next", "下一个", "下一個");
    t.findPrevious = languageText(languageIndex, "Previous", "上一个", "上一個");
    t.notFound = languageText(languageIndex, "Not found", "未找到", "找不到");
    t.close = languageText(languageIndex, "Close", "关闭", "關閉");
    return t;
}

QString languageNotSavedText(int languageIndex, const QString &iniPath, const QString &reason)
{
    const QString text =
        languageText(languageIndex, "Could not save the language choice in %1. The language stays as it is.",
                     "无法将语言设置保存到 %1，语言保持不变。", "無法將語言設置保存到 %1，語言保持不變。")
            .arg(QDir::toNativeSeparators(iniPath));
    return reason.isEmpty() ? text : text + QLatin1Char('\n') + reason;
}

QStringList helpFiles(int languageIndex)
{
    switch (languageIndex) {
    case LanguageSimplifiedChinese:
        return {QStringLiteral("help/chs.html")};
    case LanguageTraditionalChinese:
        return {QStringLiteral("help/cht.html"), QStringLiteral("help/chs.html")};
    default:
        return {QStringLiteral("help/eng.html")};
    }
}

QString languageValue(int position)
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
