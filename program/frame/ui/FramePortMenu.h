#pragma once
// The Port menu of the main window (common/ui/PortMenu.h): the entries COM1 … COM8 keep the
// captions of the resource library and stand for their devices through the [Ports] section of
// Program.ini. A chosen device is mapped to the marked entry (COM1, marked then, when none
// is), and written to Program.ini at once; a failed write is told to the user.
class CMainFrame;
class PortMenu;

PortMenu *attachPortMenu(CMainFrame &frame);
