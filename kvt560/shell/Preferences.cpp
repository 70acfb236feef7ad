#include "shell/Preferences.h"
#include "common/FirstLanguage.h"
#include "common/IniFile.h"
#include "common/InstalledLayout.h"
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {
const QString kOpen = QStringLiteral("open");

struct ListKeys {
    const char *section, *count, *item, *now;
};
constexpr ListKeys kListKeys[Preferences::ListCount] = {
    {"list1_rx", "listcount", "combo", "listnow"},
    {"list1_tx", "list2count", "com2bo", "list2now"},
    {"list2_rx", "list3count", "com3bo", "list3now"},
    {"list2_tx", "list4count", "com4bo", "list4now"},
};
} // namespace

QString Preferences::sectionName(ListId list) { return QLatin1String(kListKeys[list].section); }
QString Preferences::countKey(ListId list) { return QLatin1String(kListKeys[list].count); }
QString Preferences::nowKey(ListId list) { return QLatin1String(kListKeys[list].now); }
QString Preferences::itemKey(ListId list, int index)
{
    return QLatin1String(kListKeys[list].item) + QString::number(index);
}

Preferences Preferences::fromIni(const IniFile &ini)
{
    Preferences p;
    // A port, cable mode or theme outside its range keeps the default.
    const int com = ini.intValue(kOpen, QStringLiteral("com"), p.com);
    if (com >= 1 && com <= 4)
        p.com = com;
    const int mode = ini.intValue(kOpen, QStringLiteral("commode"), p.commode);
    if (mode == SingleHead || mode == DualHead)
        p.commode = mode;
    const int skin = ini.intValue(kOpen, QStringLiteral("skin"), p.skin);
    if (skin >= 1 && skin <= 3)
        p.skin = skin;
    p.lang = ini.intValue(kOpen, QStringLiteral("lang"), p.lang);
    p.fastLink = ini.intValue(kOpen, QStringLiteral("fastlink"), 0) == 1;
    // Only "0" turns the check after a write off: a missing or damaged value keeps it on.
    p.verify = ini.value(kOpen, QStringLiteral("verify")).value_or(QString()).trimmed() != QLatin1String("0");

    for (int l = 0; l < ListCount; ++l) {
        const auto id = ListId(l);
        BandList &list = p.lists[l];
        const QString section = sectionName(id);
        const int count = qBound(0, ini.intValue(section, countKey(id), 0), MaxListItems);
        for (int i = 0; i < count; ++i)
            list.items << ini.value(section, itemKey(id, i)).value_or(defaultRangeText());
        const int now = ini.intValue(section, nowKey(id), 0);
        list.now = (now >= 0 && now < list.items.size()) ? now : -1;
    }
    return p;
}

void Preferences::toIni(IniFile &ini) const
{
    ini.setValue(kOpen, QStringLiteral("com"), QString::number(com));
    ini.setValue(kOpen, QStringLiteral("commode"), QString::number(commode));
    ini.setValue(kOpen, QStringLiteral("skin"), QString::number(skin));
    ini.setValue(kOpen, QStringLiteral("lang"), QString::number(lang));
    // The fast link's key appears once someone chose it, so that files of users who never
    // did keep their lines exactly.
    if (fastLink || ini.value(kOpen, QStringLiteral("fastlink")).has_value())
        ini.setValue(kOpen, QStringLiteral("fastlink"), fastLink ? QStringLiteral("1") : QStringLiteral("0"));
    if (!verify || ini.value(kOpen, QStringLiteral("verify")).has_value())
        ini.setValue(kOpen, QStringLiteral("verify"), verify ? QStringLiteral("1") : QStringLiteral("0"));
    for (int l = 0; l < ListCount; ++l) {
        const auto id = ListId(l);
        const BandList &list = lists[l];
        const QString section = sectionName(id);
        ini.setValue(section, nowKey(id), QString::number(list.items.isEmpty() ? -1 : list.now));
        ini.setValue(section, countKey(id), QString::number(list.items.size()));
        for (int i = 0; i < list.items.size(); ++i)
            ini.setValue(section, itemKey(id, i), list.items.at(i));
    }
}

Preferences Preferences::load(const QString &path)
{
    IniFile ini;
    ini.load(path);
    return fromIni(ini);
}

bool Preferences::save(const QString &path, QString *reason) const
{
    IniFile ini;
    ini.load(path);
    toIni(ini);
    return ini.save(path, reason);
}

int Preferences::firstLanguage(const QLocale &locale)
{
    switch (FirstLanguage::forLocale(locale)) {
    case FirstLanguage::SimplifiedChinese: return 1;
    case FirstLanguage::TraditionalChinese: return 3;
    case FirstLanguage::English: break;
    }
    return 2;
}

PreferencesPaths PreferencesPaths::forDirectories(const QString &exeDir, const QString &userConfigDir)
{
    const QString beside = QDir(exeDir).filePath(Preferences::fileName());
    if (InstalledLayout::preferencesBesidePrograms(exeDir))
        return single(beside);
    QDir().mkpath(userConfigDir);
    const QString user = QDir(userConfigDir).filePath(Preferences::fileName());
    return {QFileInfo::exists(user) ? user : beside, user};
}

PreferencesPaths PreferencesPaths::forApplication()
{
    return forDirectories(QCoreApplication::applicationDirPath(),
                          QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation));
}
