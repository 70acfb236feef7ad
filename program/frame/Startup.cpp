#include "Startup.h"

#include "FrameMessages.h"
#include "base/Globals.h"
#include "base/ProgramIni.h"
#include "base/ResourceLibrary.h"

#include "common/FirstLanguage.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <cstdio>

int languageIndexFor(const QString &languageValue)
{
    if (languageValue.compare(QLatin1String("Chs"), Qt::CaseInsensitive) == 0)
        return LanguageSimplifiedChinese;
    if (languageValue.compare(QLatin1String("Cht"), Qt::CaseInsensitive) == 0)
        return LanguageTraditionalChinese;
    return LanguageEnglish;
}

QString loadLanguageFailText(int languageIndex)
{
    switch (languageIndex) {
    case LanguageSimplifiedChinese:
        return QStringLiteral("加载语言链接库失败");
    case LanguageTraditionalChinese:
        return QStringLiteral("加載語言庫?接庫失敗");
    default:
        return QStringLiteral("Load language DLL fail");
    }
}

QString findResourceLibrary(const QString &appDirectory, const QString &languageValue)
{
    if (languageValue.isEmpty() || languageValue.contains(QLatin1Char('/'))
        || languageValue.contains(QLatin1Char('\\')))
        return QString();
    const QString fileName = languageValue + QStringLiteral(".dll");
    const QDir dir(appDirectory);
    const QFileInfo exact(dir.filePath(fileName));
    if (exact.isFile())
        return exact.filePath();
    const QFileInfoList entries = dir.entryInfoList(QDir::Files | QDir::Hidden, QDir::Name);
    for (const QFileInfo &fi : entries) {
        if (fi.fileName().compare(fileName, Qt::CaseInsensitive) == 0)
            return fi.filePath();
    }
    return QString();
}

QString applicationDirectory()
{
    QString dir = QCoreApplication::applicationDirPath();
    if (!dir.endsWith(QLatin1Char('/')))
        dir += QLatin1Char('/');
    return dir;
}

bool loadLanguageSetup(const QString &appDirectory, QString *failText, QString *detail, const QString &languageOverride)
{
    AppDirectory = appDirectory;
    if (!AppDirectory.endsWith(QLatin1Char('/')))
        AppDirectory += QLatin1Char('/');
    const ProgramIni ini(AppDirectory);
    const QString language =
        languageOverride.isEmpty() ? ini.read(QStringLiteral("Setup"), QStringLiteral("Language")) : languageOverride;
    PortName = ini.read(QStringLiteral("Setup"), QStringLiteral("COM"));
    LanguageIndex = static_cast<std::uint8_t>(languageIndexFor(language));

    const QString path = findResourceLibrary(AppDirectory, language);
    ResourceLibrary library;
    QString why;
    if (path.isEmpty()) {
        why = language.isEmpty() ? QStringLiteral("%1: no Language value in section Setup").arg(ini.path())
                                 : QStringLiteral("no resource library %1.dll in %2").arg(language, AppDirectory);
    } else if (library.loadFile(path, &why)) {
        installResources(library);
        return true;
    }
    if (failText)
        *failText = loadLanguageFailText(LanguageIndex);
    if (detail)
        *detail = why;
    return false;
}

QString startFirstLanguage(const QString &appDirectory, const QLocale &locale)
{
    const ProgramIni ini(appDirectory);
    const QString section = QStringLiteral("Setup");
    const QString key = QStringLiteral("Language");
    if (!ini.usesUserFile() || !ini.readUser(section, key).isEmpty())
        return QString();
    // The positions of the language dialog: English, Simplified, Traditional.
    const QString value = languageValue(int(FirstLanguage::forLocale(locale)));
    QString reason;
    if (!ini.write(section, key, value, &reason)) {
        std::fprintf(stderr, "Program: could not write the first language: %s\n", qPrintable(reason));
        return QString();
    }
    return value;
}

QString versionLine()
{
    return QStringLiteral("KVT270 " PROGRAM_VERSION);
}
