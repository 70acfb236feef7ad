#pragma once
// Opens the Option, PTT ID and PCBA dialogs from the main window's commands.
class CMainFrame;

// Program -> Option opens COptionDlg, Program -> PTTID CPttIdDlg and Setting -> Embed
// CPcbaDlg, each modal over the main window.
void connectSettingDialogs(CMainFrame *frame);
