#pragma once
// An application folder laid out by an installation (the Debian package, `cmake --install`)
// holds a marker file beside the programs. Such a folder belongs to the system: the programs
// never write into it, even when they could (run as root, or from a staging folder), and
// keep their preferences in the user's configuration folder instead. The build's own folder
// (build/bin) has no marker, so a developer's preferences stay beside the programs.
#include <QString>

namespace InstalledLayout {

// The marker's file name.
QString markerName();

// Whether appDirectory holds the marker.
bool isInstalled(const QString &appDirectory);

// Whether the programs may write their preferences into appDirectory: it is not an installed
// folder, and a file can really be created there (a probe beats permission bits: a read-only
// mount or an ACL tells the truth only on a real attempt).
bool preferencesBesidePrograms(const QString &appDirectory);

} // namespace InstalledLayout
