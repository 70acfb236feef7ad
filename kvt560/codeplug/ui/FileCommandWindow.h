#pragma once
// What the file commands (CodeplugFiles) ask of the main window, and nothing more: the texts
// of their menu items, the rows the user selected, the overlay editors and the question about
// unsaved edits. The window fills it in; the commands never see the window itself.
#include "shell/LanguageTexts.h"
#include <QList>
#include <QString>
#include <functional>
#include <optional>

class QWidget;

struct FileCommandWindow {
    enum class Command { OpenBackup, ImportChannels, ExportChannels };

    // The parent of the file dialogs.
    QWidget *dialogParent = nullptr;
    // The menu item's text of a command (its dialog's title).
    std::function<QString(Command)> commandText;
    // The channel rows selected in the grid in their order, else the current row.
    std::function<QList<int>()> selectedChannelRows;
    // Page 0, a frequency being typed committed, the overlays hidden (all of them when the
    // argument is true). False when the commit failed: its notice is shown, the command stops.
    std::function<bool(bool hideAllOverlays)> finishChannelEdit;
    std::function<void()> hideFrequencyEditor;
    // Before a command that replaces the codeplug: true when it may go on.
    std::function<bool()> settleUnsavedEdits;
    // The texts of the current language.
    std::function<LanguageTexts()> noticeTexts;
    // Item index of a setting's drop-down as the page shows it; nothing without such an item.
    std::function<std::optional<QString>(const QString &name, int index)> settingItemText;
    // The caption shows the band lists anew (after a file was read in).
    std::function<void()> showCaption;
    // The folder the user last chose a file in, kept with the preferences, and the program's
    // own folder: the file dialogs start from the first and never in the second.
    std::function<QString()> lastFolder;
    std::function<void(const QString &folder)> setLastFolder;
    std::function<QString()> applicationFolder;
};
