#pragma once
// The folder a file dialog starts in: the one the user last chose a file in, else the
// documents folder, else home. Never the application folder (it belongs to the program, or
// to the system when installed) nor the backups folder, which only Open backup shows.
#include <QString>

namespace FileDialogFolders {

// Whether folder exists and lies outside the application folder and the backups folder.
bool fitsAsStart(const QString &folder, const QString &appDirectory);

// The first of lastFolder and the documents folder that fits as a start; else home.
QString startFolder(const QString &lastFolder, const QString &appDirectory);

} // namespace FileDialogFolders
