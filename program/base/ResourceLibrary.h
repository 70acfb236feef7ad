#pragma once
// A resource library: every text of Program's user interface in one language, under numeric
// ids (menus, accelerators, the toolbar layout, dialog texts and strings), and the lookups
// that complete it from a fallback library. ResourceParser reads the files; ResourceStore
// keeps the library installed at start-up. The libraries are
// UTF-8 text files shipped beside the program (Eng.dll, Chs.dll, Cht.dll); their format is
// described in resources/README.md. The English library is also compiled into the program
// and serves as the fallback for any resource a loaded library lacks.
#include "ResourceParser.h"

#include <QByteArray>
#include <QList>
#include <QString>

// Resource and command ids used by the frame.
namespace ResId {
// Resources
constexpr int MainMenu = 128;         // menu, accelerator table and toolbar of the main window
constexpr int DocumentString = 128;   // document template strings, separated by line breaks
constexpr int AboutDialog = 100;
constexpr int FormDialog = 101;
constexpr int ReadWriteDialog = 133;
constexpr int OptionDialog = 156;
constexpr int LanguageDialog = 162;
constexpr int PttIdDialog = 164;
constexpr int PcbaDialog = 166;
constexpr int AppTitle = 57344;       // application title
constexpr int IdleMessage = 57345;    // status-bar text when no prompt is shown
constexpr int IndicatorCaps = 59137;
constexpr int IndicatorNum = 59138;
constexpr int IndicatorScroll = 59139;
// Commands
constexpr int FileNew = 57600;
constexpr int FileOpen = 57601;
constexpr int FileSave = 57603;
constexpr int FileSaveAs = 57604;
constexpr int FilePrintSetup = 57606;
constexpr int FilePrint = 57607;
constexpr int FilePrintPreview = 57609;
constexpr int AppAbout = 57664;
constexpr int AppExit = 57665;
constexpr int EditUndo = 57643;
constexpr int EditRedo = 57644;
constexpr int NextPane = 57680;
constexpr int PrevPane = 57681;
constexpr int ViewToolbar = 59392;
constexpr int ViewStatusBar = 59393;
constexpr int Option = 32784;
constexpr int Read = 32785;
constexpr int Write = 32786;
constexpr int Com1 = 32787;           // Com1 + n - 1 is "COMn", n = 1..8
constexpr int Com8 = 32794;
constexpr int Embed = 32796;
constexpr int Language = 32797;
constexpr int Help = 32798;
constexpr int PttId = 32799;
constexpr int ExportChannels = 32800;  // File: the channels into a CSV file
constexpr int ImportChannels = 32801;  // File: the channels from a CSV file
constexpr int OpenBackup = 32802;      // File: a backup of an earlier radio read
// Standard dialog buttons
constexpr int IdOk = 1;
constexpr int IdCancel = 2;
} // namespace ResId

class ResourceLibrary
{
public:
    // Reads and parses a library file. On failure the library is left empty and *error says
    // what is wrong (file and line).
    bool loadFile(const QString &path, QString *error = nullptr);
    bool parse(const QByteArray &utf8, const QString &sourceName, QString *error = nullptr);
    bool isEmpty() const;

    // The name given on the library line, e.g. "English".
    QString name() const { return m_data.name; }

    // Lookups fall back to the fallback library (the built-in English one) when this library
    // lacks the resource.
    void setFallback(const ResourceLibrary *fallback) { m_fallback = fallback; }

    bool hasString(int id) const;
    QString string(int id) const;
    // A command prompt "status text\ntooltip" split into its two parts.
    QString promptText(int commandId) const;
    QString tipText(int commandId) const;

    QList<MenuEntry> menu(int id) const;
    // The caption of the item with a command id anywhere in menu `menuId`; empty when absent.
    QString menuItemText(int menuId, int commandId) const;
    QList<AcceleratorEntry> accelerators(int id) const;
    QList<int> toolbar(int id) const;  // command ids in order, 0 for a separator

    bool hasDialog(int id) const;
    DialogResource dialog(int id) const;  // own entries, completed from the fallback
    QString dialogCaption(int dialogId) const;
    QString controlText(int dialogId, int controlId) const;
    QString labelText(int dialogId, int controlId) const;
    QString staticText(int dialogId, int number) const;

    QList<int> stringIds() const;
    QList<int> dialogIds() const;
    QList<int> menuIds() const;

private:
    ResourceData m_data;
    const ResourceLibrary *m_fallback = nullptr;
};

// A menu or button caption as plain text: without its mnemonic mark ("&Open..." and
// "打开(&O)..." give "Open" and "打开"), its accelerator text and trailing dots.
QString plainCaption(QString caption);

// The English library compiled into the program (ResourceStore.cpp).
const ResourceLibrary &builtInResources();

// The library of the current language, the source of every resource after start-up. Until a
// library is installed it is empty and every lookup falls back to the built-in English one.
const ResourceLibrary &resources();
void installResources(const ResourceLibrary &library);
