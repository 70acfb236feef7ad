#include "FileMessages.h"

#include "base/Globals.h"

#include <QDir>

namespace {
QString native(const QString &path)
{
    return QDir::toNativeSeparators(path);
}
} // namespace

QString fileOpenFailedText(int languageIndex, const QString &path, const QString &reason)
{
    return languageText(languageIndex, "Could not open %1.\n%2", "无法打开 %1。\n%2", "無法打開 %1。\n%2")
        .arg(native(path), reason);
}

QString fileTooShortText(int languageIndex, const QString &path, qint64 size)
{
    return languageText(languageIndex,
                        "%1 is not a channel data file: it holds %2 bytes, a channel data file holds 8192.\n"
                        "Nothing was changed.",
                        "%1 不是信道数据文件：它只有 %2 字节，信道数据文件应有 8192 字节。\n未做任何更改。",
                        "%1 不是信道數據文件：它只有 %2 字節，信道數據文件應有 8192 字節。\n未做任何更改。")
        .arg(native(path))
        .arg(size);
}

QString fileSaveFailedText(int languageIndex, const QString &path, const QString &reason)
{
    return languageText(languageIndex, "Could not save %1.\n%2\nAn existing file of that name was left as it was.",
                        "无法保存 %1。\n%2\n同名的原有文件保持不变。", "無法保存 %1。\n%2\n同名的原有文件保持不變。")
        .arg(native(path), reason);
}

QString defaultFilePromptCaption(int languageIndex)
{
    return languageText(languageIndex, "Prompt", "提示", "提示");
}

QString defaultFileMissingText(int languageIndex)
{
    return languageText(languageIndex, "Cound not found default file", "没找到默认文件", "沒找到默認文件");
}

QString defaultFileUnreadableText(int languageIndex, const QString &path, const QString &reason)
{
    return languageText(languageIndex, "Could not read the default file %1.\n%2",
                        "无法读取默认文件 %1。\n%2", "無法讀取默認文件 %1。\n%2")
        .arg(native(path), reason);
}

QString openDialogCaption(int languageIndex)
{
    return languageText(languageIndex, "Open", "打开", "打開");
}

QString saveAsDialogCaption(int languageIndex)
{
    return languageText(languageIndex, "Save As", "另存为", "另存為");
}

QString allFilesFilter(int languageIndex)
{
    return languageText(languageIndex, "All Files (*)", "所有文件 (*)", "所有檔案 (*)");
}

QString csvFilesFilter(int languageIndex)
{
    return languageText(languageIndex, "CSV Files (*.csv)", "CSV 文件 (*.csv)", "CSV 檔案 (*.csv)");
}

QString importRefusedText(int languageIndex, const QString &path, const QString &refusal)
{
    return languageText(languageIndex, "The channels of %1 were not imported.\n%2\nNothing was changed.",
                        "未导入 %1 中的信道。\n%2\n未做任何更改。", "未匯入 %1 中的信道。\n%2\n未做任何更改。")
        .arg(native(path), refusal);
}

QString noBackupsText(int languageIndex, const QString &folder)
{
    return languageText(languageIndex,
                        "There is no backup yet. A backup of every read from the radio is kept in %1.",
                        "还没有备份。每次从对讲机读取后，备份都保存在 %1 中。",
                        "還沒有備份。每次從對講機讀取後，備份都保存在 %1 中。")
        .arg(native(folder));
}

QString saveChangesText(int languageIndex, const QString &title)
{
    return languageText(languageIndex, "The channel data in %1 has been changed.\nDo you want to save the changes?",
                        "%1 中的信道数据已更改。\n是否保存更改？", "%1 中的信道數據已更改。\n是否保存更改？")
        .arg(title);
}

QString untitledText(int languageIndex)
{
    return languageText(languageIndex, "Untitled", "无标题", "無標題");
}

QString saveButtonText(int languageIndex)
{
    return languageText(languageIndex, "Save", "保存", "保存");
}

QString discardButtonText(int languageIndex)
{
    return languageText(languageIndex, "Discard", "不保存", "不保存");
}

QString cancelButtonText(int languageIndex)
{
    return languageText(languageIndex, "Cancel", "取消", "取消");
}
