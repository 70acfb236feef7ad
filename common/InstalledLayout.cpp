#include "common/InstalledLayout.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>

QString InstalledLayout::markerName()
{
    return QStringLiteral("installed-layout");
}

bool InstalledLayout::isInstalled(const QString &appDirectory)
{
    return QFileInfo(QDir(appDirectory).filePath(markerName())).isFile();
}

bool InstalledLayout::preferencesBesidePrograms(const QString &appDirectory)
{
    if (!QFileInfo(appDirectory).isDir() || isInstalled(appDirectory))
        return false;
    QTemporaryFile probe(QDir(appDirectory).filePath(QStringLiteral(".write-probe-XXXXXX")));
    return probe.open();
}
