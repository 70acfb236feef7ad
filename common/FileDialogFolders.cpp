#include "common/FileDialogFolders.h"

#include "common/Backups.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

// The same folder, or one inside it (links resolved).
bool within(const QString &folder, const QString &outer)
{
    if (outer.isEmpty())
        return false;
    const QString a = QFileInfo(folder).canonicalFilePath();
    const QString b = QFileInfo(outer).canonicalFilePath();
    return !a.isEmpty() && !b.isEmpty() && (a == b || a.startsWith(b + QLatin1Char('/')));
}

} // namespace

bool FileDialogFolders::fitsAsStart(const QString &folder, const QString &appDirectory)
{
    return !folder.isEmpty() && QFileInfo(folder).isDir() && !within(folder, appDirectory)
        && !within(folder, Backups::folder());
}

QString FileDialogFolders::startFolder(const QString &lastFolder, const QString &appDirectory)
{
    for (const QString &folder : {lastFolder, QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)})
        if (fitsAsStart(folder, appDirectory))
            return folder;
    return QDir::homePath();
}
