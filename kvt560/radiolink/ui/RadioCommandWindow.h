#pragma once
// What the radio commands (RadioCommands) ask of the main window, and nothing more: the
// port and cable chosen in its menus, the link options of the read/write dialog, the texts
// of the commands and of the current language, the overlay editors, the question about
// unsaved edits and the status bar. The window fills it in; the commands never see the
// window itself.
#include "shell/LanguageTexts.h"
#include <QMap>
#include <QString>
#include <functional>

struct RadioCommandWindow {
    // Page 0, a frequency being typed committed, every overlay hidden. False when the commit
    // failed: its notice is shown, the command stops.
    std::function<bool()> finishChannelEdit;
    // Before a read: true when the codeplug may be replaced.
    std::function<bool()> settleUnsavedEdits;
    std::function<void()> hideCallListEditor;
    // The texts of the current language, its number (1-3) and the folder of its libraries.
    std::function<LanguageTexts()> noticeTexts;
    std::function<int()> language;
    std::function<QString()> executableDir;
    // The port entries as the port menu has them now (chosen devices included), the port
    // number and whether the cable is single-head.
    std::function<QMap<int, QString>()> ports;
    std::function<int()> comPort;
    std::function<bool()> singleHead;
    // The menu item's text and the tool button's text of a read (true) or a write (false).
    std::function<QString(bool read)> commandText;
    std::function<QString(bool read)> toolButtonText;
    // The link options of the dialog, remembered with the preferences.
    std::function<bool()> fastLink;
    std::function<void(bool)> setFastLink;
    std::function<bool()> verifyAfterWrite;
    std::function<void(bool)> setVerifyAfterWrite;
    // The preferences file as read: the backups of reads go beside it.
    std::function<QString()> preferencesPath;
    std::function<void(const QString &)> setStatusText;
};
