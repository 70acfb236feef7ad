#pragma once
// The main window: menu bar, toolbar, the six pages and the status bar. Its controls show the
// codeplug document (channel table, settings, band lists) and send the user's edits to it; it
// reads myini.ini when created and writes it when closed.
//
// Pages live in the QTabWidget "pageControl"; each page is a named container later code adds
// to: page 0 "channelPage" (grid StringAlignGrid1, then the row "channelButtonRow"), page 1
// "bsSkinTabSheet2" ("basicLeftColumn", "basicRightColumn", the VOX panel "bsSkinPanel7",
// the band and password panel "bandPasswordPanel"), page 2 "dtmfPage" with the sub-page
// control "dtmfPages" ("dtmfSystemPage", "dtmfParameterPage"), page 3 "singleChannelPage",
// page 4 "sideKeyPage", page 5 "otherPage" (the band group "bandsGroup").
//
// The function settings live in the document's SettingsStore (settingsStore()); the pages
// show them through controls named by their control names (SettingsPages).
#include "common/IniFile.h"
#include "shell/LanguageTexts.h"
#include "shell/Preferences.h"
#include "codeplug/ui/FileCommandWindow.h"
#include "radiolink/ui/RadioCommandWindow.h"
#include <QMainWindow>
#include <QPointer>
#include <QUrl>
#include <functional>
#include <optional>

class CallListGrid;
class ChannelEditor;
class ChannelGrid;
class ChannelListOps;
class ChannelTable;
class CodeplugDocument;
class CodeplugFiles;
class DocumentHistory;
class QAction;
class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QMenu;
class QPushButton;
class QTabWidget;
class QToolBar;
class QToolButton;
class QWidget;
class RadioCommands;
class SettingsPages;
class SettingsStore;
class SingleChannelEditor;
class TaboutForm;
struct Marks;

class Tform1 : public QMainWindow
{
    Q_OBJECT
public:
    static constexpr int ClientWidth = 798;    // below the menu bar
    static constexpr int ClientHeight = 596;
    enum Page { ChannelPage, FunctionPage, DtmfPage, SingleChannelPage, SideKeyPage, OtherPage };

    // Reads the preferences from paths.readPath; they are written to paths.writePath when
    // the window closes.
    explicit Tform1(const PreferencesPaths &paths, QWidget *parent = nullptr);
    ~Tform1() override;

    // ---- Band settings ----
    // Sets "按键扩频" and runs its enable rule even when the state does not change (file
    // open, radio read and New set the box this way).
    void setBandChangeByKeypad(bool marked);

    // ---- Function settings ----
    SettingsStore *settingsStore() const { return m_settings; }
    SettingsPages *settingsPages() const { return m_pages; }
    CallListGrid *bsSkinStringGrid1() const;   // the DTMF call list

    // ---- Language ----
    // Loads the library executableDir()/name.dll and applies its strings to every caption,
    // list, mark and text of the program; a missing or invalid library changes nothing.
    // Returns whether a library was applied.
    bool LoadLanguage(const QString &name);
    // Texts of the current language (empty until a library is loaded: built-in defaults).
    QString LinkErrorCaption;   // caption of the radio link's notices (string 58)
    QString PortErrorText;      // the serial port cannot be opened (59)
    QString LinkErrorText;      // a radio transfer failed (60)
    QString ConfirmCaption;     // caption of the New and Clear confirmations (62)
    QString ConfirmText;        // text of the New and Clear confirmations (64)
    // The five texts above as one value, and back.
    LanguageTexts noticeTexts() const;
    void setNoticeTexts(const LanguageTexts &texts);

    // ---- New and clear ----
    // New confirmed (mode 2): the whole codeplug back to its New state.
    void newReset();
    // Clearing confirmed (mode 3): every channel emptied, the settings kept.
    void clearAllChannels();

    // ---- Preference state ----
    int comPort() const { return m_portTag; }
    int cableMode() const { return m_modeTag; }
    bool singleHead() const { return m_modeTag == Preferences::SingleHead; }
    int theme() const { return m_themeTag; }
    int language() const { return m_languageTag; }
    // "Fast link" of the read/write dialog, remembered with the other preferences.
    bool fastLink() const { return m_fastLinkChosen; }
    void setFastLink(bool on) { m_fastLinkChosen = on; }
    // "Verify after writing" of the read/write dialog, remembered likewise (on by default).
    bool verifyAfterWrite() const { return m_verifyChosen; }
    void setVerifyAfterWrite(bool on) { m_verifyChosen = on; }
    // The preference values as they stand in the menus and band lists.
    Preferences currentPreferences() const;
    // Writes myini.ini, once: when the window closes, or at the latest when it is destroyed.
    // False when it cannot be written (the old file stays whole), with the system's reason;
    // the failure goes to standard error, and closing the window also shows it.
    bool savePreferences(QString *reason = nullptr);
    // The preferences file as read (with sections of other parts, such as [ports]).
    const IniFile &preferencesFile() const { return m_prefsFile; }
    IniFile &preferencesFile() { return m_prefsFile; }   // the port menu stores [ports] entries
    class PortMenu *portMenu = nullptr;                // fills gsegs1 with devices as it opens
    const PreferencesPaths &preferencesPaths() const { return m_paths; }

    // ---- Shell ----
    void setStatusText(const QString &text);   // five blanks + text
    QString statusText() const;
    QString executableDir() const { return m_appDir; }
    void setExecutableDir(const QString &dir) { m_appDir = dir; }
    // How help files are opened; the desktop by default.
    // How the window's own notices reach the user (caption, text); Tmessage1 unless replaced.
    using Notice = std::function<void(const QString &caption, const QString &text)>;
    void setNotice(Notice notice) { m_notice = std::move(notice); }
    // Whether a Chinese font is installed (traditional or simplified); the font database
    // unless replaced. Without one a Chinese language starts in English, the choice kept.
    void setChineseFontCheck(std::function<bool(bool traditional)> check) { m_chineseFontInstalled = std::move(check); }
    using UrlOpener = std::function<bool(const QUrl &)>;
    void setHelpOpener(UrlOpener opener) { m_helpOpener = std::move(opener); }

    // The codeplug the window shows and edits.
    CodeplugDocument *document() const { return m_doc; }
    bool canUndo() const;
    bool canRedo() const;
    // Before a command that replaces the codeplug (close, New, Open, radio read): when the
    // document holds unsaved edits, asks Save / Discard / Cancel in the current language.
    // True when the command may go on (nothing to lose, discarded, or saved).
    bool settleUnsavedEdits();
    // Closes the window without the question (the program is being terminated).
    void closeWithoutQuestion();
    // How the question is asked; a message box with the three answers unless replaced.
    enum class UnsavedAnswer { Save, Discard, Cancel };
    using UnsavedQuestion = std::function<UnsavedAnswer(const LanguageTexts &texts)>;
    void setUnsavedQuestion(UnsavedQuestion question) { m_unsavedQuestion = std::move(question); }
    static UnsavedAnswer askAboutUnsavedEdits(QWidget *parent, const LanguageTexts &texts);
    ChannelTable *channelTable() const { return m_table; }
    CodeplugFiles *codeplugFiles() const { return m_files; }   // Save and Open
    // What the radio commands ask of the window, and the radio commands themselves: the read
    // and write commands go to them (the program makes them once the read/write dialog is
    // there; none means the commands do nothing).
    RadioCommandWindow radioCommandWindow();
    void setRadioCommands(RadioCommands *commands);
    // Before a radio read or write (hideAllOverlays) and a file open or save: page 0, a
    // pending frequency edit committed, the overlays hidden. False when the commit failed
    // (its notice is shown); the command should then stop.
    bool finishChannelEdit(bool hideAllOverlays);
    const Marks &marks() const;
    void setMarks(const Marks &marks);

    // ---- What the file and radio commands ask of the window's controls ----
    // The channel rows selected in the grid in their order, else its current row, else the
    // cursor's row.
    QList<int> selectedChannelRows() const;
    // The grid's current channel row, else the cursor's row.
    int currentChannelRow() const;
    // Item index of a setting's drop-down as the page shows it (in the current language);
    // nothing when the page has no such drop-down or item.
    std::optional<QString> settingItemText(const QString &name, int index) const;
    void hideFrequencyEditor();   // the overlay editor of a frequency cell
    void hideCallListEditor();    // the editor of the call list

    // The about box, made at start-up after this window.
    void setAboutForm(TaboutForm *form) { m_aboutForm = form; }


public slots:
    void COM11Click();
    void COM21Click();
    void COM31Click();
    void COM41Click();
    void N12Click();
    void N13Click();
    void sk1Click();
    void sk2Click();
    void sk3Click();
    void Chinese1Click();
    void English1Click();
    void Chinese2Click();
    void H2Click();
    void A1Click();
    void bs();                           // caption "KVT560    [" + band 1 receive range + "]"
    void bsSkinCheckRadioBox14Click();   // runs the band box's rule for its current state
    void fsef1Click();                   // New: confirm, then newReset()
    void bsSkinButton9Click();           // clear all channels: confirm, then clearAllChannels()
    void bsSkinTabSheet2Show();          // page 1 shown
    void showPage(int page);
    void undoEdit();
    void redoEdit();
    // A radio read was applied: the single-channel page loads its channel anew.
    void showReadChannel();

signals:
    // Commands that other parts carry out: Open (rsgg1), Save (segs1), read the radio
    // (gs1, "读频") and write it (N2, "写频").
    void openRequested();
    void saveRequested();
    void saveAsRequested();
    void printRequested();
    void printPreviewRequested();
    void savePdfRequested();
    // Ctrl+C and Ctrl+V on the channel grid: whole channel rows.
    void copyChannelsRequested();
    void pasteChannelsRequested();
    void openBackupRequested();
    void exportChannelsRequested();
    void importChannelsRequested();
    void readRadioRequested();
    void writeRadioRequested();
    // Load the language library of lang (1-3): at first show for the saved language and
    // when the user picks a language. The menu marks and tag are already set.
    void languageChosen(int lang);
    // The main window is shown for the first time; its start-up filling (call list, PTT ID
    // codes, transport echo counter) is done by the parts that own those controls.
    void firstShown();
    void portChanged(int port);
    void cableModeChanged(int mode);

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

    // The port menu fills the serial port submenu (gsegs1) with its items.
    friend PortMenu *attachPortMenu(Tform1 &form);

private:
    // The controls: built and laid out by this window alone; tests and the language loader
    // find them by their object names.
    TaboutForm *m_aboutForm = nullptr;   // the about box, made at start-up after this window

    // Menu bar
    QMenu *fefs1;        // File
    QAction *fsef1;      // New
    QAction *rsgg1;      // Open
    QAction *segs1;      // Save
    QAction *m_printAction = nullptr;        // Print (Ctrl+P): channels and settings on paper
    QAction *m_printPreviewAction = nullptr; // Print preview of the same pages
    QAction *m_savePdfAction = nullptr;      // Save as PDF: the same pages into a PDF file
    QAction *m_saveAsAction = nullptr;   // Save As (Ctrl+Shift+S): always asks for a name
    QAction *m_openBackupAction;      // File > Open backup...: a codeplug kept from a radio read
    QAction *m_exportChannelsAction;  // File > Export channels...: the channels as CSV
    QAction *m_importChannelsAction;  // File > Import channels...: the channels from CSV
    QAction *m_copyChannelsAction;    // Ctrl+C on the channel grid: whole channel rows
    QAction *m_pasteChannelsAction;   // Ctrl+V on the channel grid
    QAction *N1;         // separator
    QAction *E1;         // Exit
    QMenu *sgse1;        // Edit
    QAction *gs1;        // read the radio (Ctrl+R)
    QAction *N2;         // write the radio (Ctrl+W)
    QAction *m_undoAction = nullptr;   // undo the last change (Ctrl+Z), first item of the Edit menu
    QAction *m_redoAction = nullptr;   // redo it (Ctrl+Y, Ctrl+Shift+Z)
    QAction *N3;         // separator
    QAction *N4;         // show page 0
    QAction *N5;         // show page 1
    QAction *DTMF1;      // show page 2
    QAction *N6;         // separator
    QAction *N8;         // show page 3
    QAction *N9;         // show page 4
    QAction *N10;        // separator
    QAction *T1;         // show page 5
    QMenu *N7;           // Options
    QMenu *gsegs1;       // serial port submenu
    QAction *COM11;      // port 1
    QAction *COM21;      // port 2
    QAction *COM31;      // port 3
    QAction *COM41;      // port 4
    QMenu *N11;          // cable mode submenu (never visible)
    QAction *N12;        // single head
    QAction *N13;        // dual head
    QMenu *Language1;    // language submenu
    QAction *Chinese1;   // Simplified Chinese
    QAction *English1;   // English
    QAction *Chinese2;   // Traditional Chinese
    QMenu *S1;           // theme submenu
    QAction *sk1;        // theme 1 (blue)
    QAction *sk2;        // theme 2 (steel)
    QAction *sk3;        // theme 3 (coffee)
    QMenu *H1;           // Help
    QAction *H2;         // open the help file
    QAction *A1;         // about box

    // Toolbar
    QToolButton *m_readButton;    // bsSkinSpeedButton4 "读频", same as gs1
    QToolButton *m_writeButton;   // bsSkinSpeedButton5 "写频", same as N2

    // Pages
    QTabWidget *m_pageControl;          // the six pages
    QWidget *m_channelPage;             // page 0
    ChannelGrid *StringAlignGrid1;    // channel table
    ChannelEditor *m_channelEditor;     // overlay editors, keys and marks of StringAlignGrid1
    QWidget *m_channelButtonRow;        // page 0, row under the grid for the list buttons
    QPushButton *bsSkinButton9;       // clear all channels "清除信道"
    QWidget *bsSkinTabSheet2;         // page 1, function options
    QGroupBox *m_basicGroup;            // page 1, group "基本功能"
    QWidget *m_basicLeftColumn;         // page 1, the drop-downs
    QWidget *m_basicRightColumn;        // page 1, the check boxes
    QGroupBox *bsSkinPanel7;          // page 1, VOX panel
    QFrame *m_bandPasswordPanel;        // page 1, band and password panel
    QWidget *m_dtmfPage;                // page 2
    QTabWidget *m_dtmfPages;            // page 2 sub-pages
    QWidget *m_dtmfSystemPage;          // sub-page "系统"
    QWidget *m_dtmfParameterPage;       // sub-page "参数"
    QWidget *m_singleChannelPage;       // page 3
    SingleChannelEditor *m_singleChannel = nullptr;   // page 3 content: one channel, one control per field
    ChannelListOps *m_channelListOps = nullptr;     // auto add, move up / down, delete channel
    QWidget *m_sideKeyPage;             // page 4
    QWidget *m_otherPage;               // page 5

    // Band controls
    QCheckBox *bsSkinCheckRadioBox14;   // band change from the keypad "按键扩频"
    QLabel *m_bandLabel;                  // "频段" before the active band selector
    QComboBox *bsSkinComboBox22;        // active band: 0 band 2, 1 band 1
    QGroupBox *m_bandGroup;               // page 5 group "频段"
    QGroupBox *m_band1Group;              // "频段1"
    QGroupBox *m_band2Group;              // "频段2"
    QLabel *m_band1RxLabel;               // receive-range row caption, band 1
    QLabel *m_band1TxLabel;               // transmit-range row caption, band 1
    QLabel *m_band2RxLabel;               // receive-range row caption, band 2
    QLabel *m_band2TxLabel;               // transmit-range row caption, band 2
    QComboBox *bsSkinComboBox20;        // band 1 receive range
    QComboBox *bsSkinComboBox21;        // band 1 transmit range
    QComboBox *bsSkinComboBox6;         // band 2 receive range
    QComboBox *bsSkinComboBox11;        // band 2 transmit range

    QLabel *m_statusPanel;                // the one status bar panel

    // Every command of the window meets the code that serves it here, and nowhere else.
    void connectCommands();
    FileCommandWindow fileCommandWindow();
    void buildMenus();
    void buildToolBar();
    void buildUndoActions(QToolBar *bar);
    void showAppliedStep();
    void buildPages();
    void buildFunctionPage();
    void buildOtherPage();
    void buildChannelOperations();
    // The names a screen reader reads for the controls that have no caption of their own,
    // made from the captions the window shows (again after a language switch).
    void nameControls();
    void FormCreate();
    void FormShow();
    void selectPort(int port);
    void selectTheme(int theme);
    void chooseLanguage(int lang);
    void markLanguage(int lang);
    QComboBox *bandBox(int list) const;
    void bindBandBoxes();
    void showBandList(int list);
    void bandBoxChanged(int list);

    PreferencesPaths m_paths;
    IniFile m_prefsFile;
    bool m_prefsSaved = false;
    bool m_shownOnce = false;
    QString m_appDir;
    UrlOpener m_helpOpener;
    Notice m_notice;
    QString m_prefsUnreadable;   // why the preferences file could not be read: it is kept as it is
    std::function<bool(bool)> m_chineseFontInstalled;
    int m_savedLanguage = 1;   // the language written to the preferences: the user's choice
    CodeplugDocument *m_doc;
    class CodeplugPrinting *m_printing = nullptr;   // Print, Print preview, Save as PDF
    DocumentHistory *m_history = nullptr;
    ChannelTable *m_table;        // the document's channels
    SettingsStore *m_settings;    // the document's settings
    bool m_showingBands = false;  // the band drop-downs are being filled from the document
    bool m_askBeforeClosing = true;
    UnsavedQuestion m_unsavedQuestion;
    LanguageTexts m_texts;        // the texts of the current language (notices, question)
    SettingsPages *m_pages = nullptr;
    CodeplugFiles *m_files;
    QPointer<RadioCommands> m_radioCommands;

    int m_portTag = 1;       // serial port number 1-4
    int m_modeTag = 13;      // cable mode 12 / 13
    int m_themeTag = 1;      // theme 1-3
    bool m_fastLinkChosen = false;
    bool m_verifyChosen = true;
    int m_languageTag = 0;   // language 1-3 (other values: none marked, kept as read)
};
