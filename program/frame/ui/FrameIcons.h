#pragma once
// The program's built-in images: the application and document icons and the toolbar images,
// drawn in code so that they need no image files.
#include <QIcon>

QIcon applicationIcon();
QIcon documentIcon();
// The toolbar image of a command, a null icon for a command without one.
QIcon commandIcon(int commandId);
