#include "shell/ui/Tform1.h"
#include "shell/ui/FormPortMenu.h"
#include "shell/ui/CodeplugPrinting.h"
#include "channels/ChannelListOps.h"
#include "channels/ChannelTable.h"
#include "channels/ui/ChannelEditor.h"
#include "channels/ui/ChannelGrid.h"
#include "channels/ui/ChannelListButtons.h"
#include "channels/ui/ConversionNotice.h"
#include "channels/ui/SingleChannelEditor.h"
#include "codeplug/CodeplugDocument.h"
#include "codeplug/CodeplugFile.h"
#include "codeplug/ui/CodeplugFiles.h"
#include "codeplug/ui/DocumentHistory.h"
#include "radiolink/SerialTransport.h"
#include "radiolink/ui/RadioCommands.h"
#include "channels/ToneList.h"
#include "settings/BandRanges.h"
#include "settings/SettingsRegistry.h"
#include "settings/SettingsStore.h"
#include "settings/ui/CallListGrid.h"
#include "settings/ui/SettingsPages.h"
#include "shell/LanguageNames.h"
#include "shell/LanguageTexts.h"
#include "common/ui/ChineseFonts.h"
#include "common/ui/HelpWindow.h"
#include "shell/ui/TaboutForm.h"
#include "shell/ui/Tmessage1.h"
#include "shell/ui/Themes.h"
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSpinBox>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QUndoStack>
#include <QVBoxLayout>
#include <algorithm>


namespace {
const QString kFiveBlanks = QStringLiteral("     ");
const QString kProductLine = QStringLiteral("DORVAK 对讲机编程软件");
} // namespace


Tform1::Tform1(const PreferencesPaths &prefsPaths, QWidget *parent)
    : QMainWindow(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                          | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint)
    , m_paths(prefsPaths)
    , m_appDir(QCoreApplication::applicationDirPath())
    // The manual opens in the program's own help window: no web browser is needed.
    , m_helpOpener([this](const QUrl &url) {
        HelpWindow *help = HelpWindow::instance(this);
        help->setTexts(m_texts.help);
        return help->showManual(url.toLocalFile());
    })
    , m_notice(&showNotice)
{
    setObjectName(QStringLiteral("Tform1"));
    setWindowTitle(QStringLiteral("RD4400[*]"));   // "[*]": the mark of unsaved changes
    setWindowIcon(QIcon(TaboutForm::picture(64)));

    m_doc = new CodeplugDocument(this);
    m_table = m_doc->channels();
    m_settings = m_doc->settings();

    // Built-in texts until a language library gives its own.
    setNoticeTexts(LanguageTexts::builtIn());

    buildMenus();
    buildToolBar();
    buildPages();

    SettingsPageHosts hosts;
    hosts.basicLeft = m_basicLeftColumn;
    hosts.basicRight = m_basicRightColumn;
    hosts.voxPanel = bsSkinPanel7;
    hosts.bandPasswordPanel = m_bandPasswordPanel;
    hosts.dtmfSystem = m_dtmfSystemPage;
    hosts.dtmfParameter = m_dtmfParameterPage;
    hosts.sideKeys = m_sideKeyPage;
    m_pages = new SettingsPages(m_settings, hosts, this);
    nameControls();

    // The language menu items load their library at once; the saved language loads at
    // first show.
    connect(this, &Tform1::languageChosen, this,
            [this](int lang) { LoadLanguage(language::libraryName(lang)); });

    m_statusPanel = new QLabel(this);
    m_statusPanel->setObjectName(QStringLiteral("statusPanel"));
    statusBar()->addWidget(m_statusPanel, 1);
    statusBar()->setSizeGripEnabled(false);
    setStatusText(kProductLine);

    // The confirmation and notice dialog of the program (Tmessage1::instance()).
    new Tmessage1(this);

    installConversionNotice(m_table, this);
    m_files = new CodeplugFiles(m_doc, fileCommandWindow(), this);
    connectCommands();

    FormCreate();
    portMenu = attachPortMenu(*this);
    // What start-up put into the controls is where the user's editing begins.
    m_doc->resetHistory();

    // The client area below the menu bar is fixed (measured once the theme has styled the
    // menu bar); the window cannot be resized or maximised.
    setFixedSize(ClientWidth, ClientHeight + menuBar()->sizeHint().height());
}

Tform1::~Tform1()
{
    // FormDestroy: the preferences are written even when the run ends without a close.
    savePreferences();
    // The document and its history go after the menus; they report to nobody any more.
    qApp->removeEventFilter(this);
    disconnect(m_doc, nullptr, this, nullptr);
    disconnect(m_history->stack(), nullptr, this, nullptr);
    // The views go before the channel table they show.
    delete takeCentralWidget();
}

// ---------------------------------------------------------------------------------------
// Start-up, first show and exit

void Tform1::FormCreate()
{
    m_channelEditor->cursor().CurRow = 1;
    m_channelEditor->cursor().CurCol = 1;
    m_channelEditor->cursor().SkipToggle = false;

    // A missing file leaves every default. One that is there but cannot be read is never
    // written over: its other sections would be lost with it.
    QString unreadable;
    if (!m_prefsFile.load(m_paths.readPath, &unreadable) && QFileInfo::exists(m_paths.readPath)
        && m_paths.readPath == m_paths.writePath)
        m_prefsUnreadable = unreadable.isEmpty() ? QStringLiteral("cannot be read") : unreadable;
    const Preferences p = Preferences::fromIni(m_prefsFile);

    selectPort(p.com);
    if (p.commode == Preferences::SingleHead)
        N12Click();
    else
        N13Click();
    selectTheme(p.skin);
    m_fastLinkChosen = p.fastLink;
    m_verifyChosen = p.verify;
    // The library itself is loaded at first show. A first start (no preferences of the user
    // yet, so they are read from the shipped file) speaks the locale's language.
    const int lang = m_paths.readPath != m_paths.writePath ? Preferences::firstLanguage(QLocale()) : p.lang;
    m_savedLanguage = lang;
    m_languageTag = lang;
    markLanguage(lang);

    m_doc->setBandLists(p.lists);
    bindBandBoxes();

    // From here on a new band selection updates the caption; the start-up caption stays.
    for (QComboBox *box : {bsSkinComboBox20, bsSkinComboBox6, bsSkinComboBox11})
        connect(box, &QComboBox::currentIndexChanged, this, &Tform1::bs);
    if (auto *squelchMode = qobject_cast<QComboBox *>(m_pages->control(SettingsRegistry::name(SettingKey::SquelchMode))))
        connect(squelchMode, &QComboBox::currentIndexChanged, this, &Tform1::bs);
}

void Tform1::FormShow()
{
    const bool edited = m_doc->isModified();
    // 1. The call list and the PTT ID codes hold their Start values from the settings
    //    store. 4. The transport's echo counter belongs to the radio link: it acts on
    //    firstShown.
    emit firstShown();
    // 2. The "more" column.
    m_table->fillMoreColumn();
    // 3. Page 0, and on the DTMF page the sub-page "系统".
    m_pageControl->setCurrentIndex(ChannelPage);
    m_dtmfPages->setCurrentIndex(0);
    // 5. The saved language; any other number loads nothing. Chinese without a Chinese font
    // would show empty boxes: English then, with a word on the fonts, the choice kept.
    const bool noChineseFont = (m_languageTag == 1 || m_languageTag == 3) && m_chineseFontInstalled
        && !m_chineseFontInstalled(m_languageTag == 3);
    if (noChineseFont) {
        m_languageTag = 2;
        markLanguage(2);
    }
    if (language::isKnown(m_languageTag))
        emit languageChosen(m_languageTag);
    if (noChineseFont && m_notice)
        m_notice(QStringLiteral("KVT560"), ChineseFonts::missingText());
    if (!edited)
        m_doc->resetHistory();
}

void Tform1::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (m_shownOnce)
        return;
    m_shownOnce = true;
    if (QScreen *screen = this->screen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    FormShow();
}

void Tform1::closeEvent(QCloseEvent *event)
{
    if (m_askBeforeClosing && !settleUnsavedEdits()) {
        event->ignore();
        return;
    }
    QString reason;
    if (!savePreferences(&reason))   // FormDestroy
        m_notice(QStringLiteral("KVT560"), CodeplugFile::saveFailedText(m_paths.writePath, reason));
    event->accept();
}

Preferences Tform1::currentPreferences() const
{
    Preferences p;
    p.com = m_portTag;
    p.commode = m_modeTag;
    p.skin = m_themeTag;
    p.lang = m_savedLanguage;
    p.fastLink = m_fastLinkChosen;
    p.verify = m_verifyChosen;
    p.lists = m_doc->bandLists();
    return p;
}

bool Tform1::savePreferences(QString *reason)
{
    if (m_prefsSaved)
        return true;
    if (!m_prefsUnreadable.isEmpty()) {
        qWarning("KVT560: %s", qPrintable(CodeplugFile::saveFailedText(m_paths.writePath, m_prefsUnreadable)));
        if (reason)
            *reason = m_prefsUnreadable;
        return false;
    }
    currentPreferences().toIni(m_prefsFile);
    QString why;
    const bool ok = m_prefsFile.save(m_paths.writePath, &why);
    if (!ok)
        qWarning("KVT560: %s", qPrintable(CodeplugFile::saveFailedText(m_paths.writePath, why)));
    if (reason)
        *reason = why;
    m_prefsSaved = ok;
    return ok;
}

// ---------------------------------------------------------------------------------------
// Shell

void Tform1::setStatusText(const QString &text)
{
    m_statusPanel->setText(kFiveBlanks + text);
}

QString Tform1::statusText() const
{
    return m_statusPanel->text();
}

bool Tform1::finishChannelEdit(bool hideAllOverlays)
{
    showPage(ChannelPage);
    return m_channelEditor->commitPendingEdit(hideAllOverlays);
}

QList<int> Tform1::selectedChannelRows() const
{
    QList<int> rows = StringAlignGrid1->selectedRows();
    if (rows.isEmpty())
        rows.append(currentChannelRow());
    return rows;
}

int Tform1::currentChannelRow() const
{
    return StringAlignGrid1->currentRow() >= 1 ? StringAlignGrid1->currentRow() : m_channelEditor->cursor().CurRow;
}

std::optional<QString> Tform1::settingItemText(const QString &name, int index) const
{
    const auto *box = m_pages ? qobject_cast<QComboBox *>(m_pages->control(name)) : nullptr;
    if (box && index >= 0 && index < box->count())
        return box->itemText(index);
    return std::nullopt;
}

void Tform1::hideFrequencyEditor()
{
    m_channelEditor->bsSkinEdit1->hide();
}

void Tform1::hideCallListEditor()
{
    bsSkinStringGrid1()->hideEditor();
}

const Marks &Tform1::marks() const
{
    return m_table->marks();
}

void Tform1::setMarks(const Marks &m)
{
    m_table->setMarks(m);
}

// ---------------------------------------------------------------------------------------
// Function settings, New and clear

CallListGrid *Tform1::bsSkinStringGrid1() const
{
    return m_pages->callList();
}

void Tform1::fsef1Click()
{
    if (!settleUnsavedEdits())
        return;
    bsSkinStringGrid1()->hideEditor();
    m_channelEditor->ComboBox1->hide();
    if (Tmessage1::instance()->ask(ConfirmCaption, ConfirmText, 2))
        newReset();
}

void Tform1::bsSkinButton9Click()
{
    if (Tmessage1::instance()->ask(ConfirmCaption, ConfirmText, 3))
        clearAllChannels();
}

void Tform1::newReset()
{
    // 1. The frequency overlay editor loses its text.
    m_channelEditor->bsSkinEdit1->clear();
    // 2-3. Every setting with a New value, the call list included; check-box rules run.
    // 4. Every channel empty.
    m_doc->newCodeplug();
    // 5. Selection on column 1 of channel 1.
    m_channelEditor->moveSelection(1, 1);
    // 6. The single-channel page on channel 1.
    m_singleChannel->bsSkinSpinEdit20->setValue(1);
}

void Tform1::showReadChannel()
{
    m_singleChannel->bsSkinTabSheet10Show();
}

void Tform1::clearAllChannels()
{
    m_doc->clearChannels();
    m_channelEditor->moveSelection(1, 1);
    m_channelEditor->ComboBox1->hide();
    m_channelEditor->bsSkinEdit1->hide();
}

// ---------------------------------------------------------------------------------------
// Commands

void Tform1::connectCommands()
{
    // The menu items, tool buttons and grid keys emit the window's command signals.
    const std::pair<QAction *, void (Tform1::*)()> requests[] = {
        {rsgg1, &Tform1::openRequested},
        {segs1, &Tform1::saveRequested},
        {m_saveAsAction, &Tform1::saveAsRequested},
        {m_printAction, &Tform1::printRequested},
        {m_printPreviewAction, &Tform1::printPreviewRequested},
        {m_savePdfAction, &Tform1::savePdfRequested},
        {m_openBackupAction, &Tform1::openBackupRequested},
        {m_exportChannelsAction, &Tform1::exportChannelsRequested},
        {m_importChannelsAction, &Tform1::importChannelsRequested},
        {m_copyChannelsAction, &Tform1::copyChannelsRequested},
        {m_pasteChannelsAction, &Tform1::pasteChannelsRequested},
        {gs1, &Tform1::readRadioRequested},
        {N2, &Tform1::writeRadioRequested},
    };
    for (const auto &[action, request] : requests)
        connect(action, &QAction::triggered, this, request);

    // File commands: Open, Save, Open backup, the channel export and import, copy and paste.
    connect(this, &Tform1::openRequested, m_files, &CodeplugFiles::rsgg1Click);
    connect(this, &Tform1::saveRequested, m_files, &CodeplugFiles::segs1Click);
    connect(this, &Tform1::saveAsRequested, m_files, [this] { m_files->saveAs(); });
    m_printing = new CodeplugPrinting(this, StringAlignGrid1, m_doc, fileCommandWindow(), this);
    connect(this, &Tform1::printRequested, m_printing, &CodeplugPrinting::print);
    connect(this, &Tform1::printPreviewRequested, m_printing, &CodeplugPrinting::preview);
    connect(this, &Tform1::savePdfRequested, m_printing, &CodeplugPrinting::savePdf);
    connect(this, &Tform1::openBackupRequested, m_files, &CodeplugFiles::openBackup);
    connect(this, &Tform1::exportChannelsRequested, m_files, &CodeplugFiles::exportChannels);
    connect(this, &Tform1::importChannelsRequested, m_files, &CodeplugFiles::importChannels);
    connect(this, &Tform1::copyChannelsRequested, m_files, &CodeplugFiles::copyChannels);
    connect(this, &Tform1::pasteChannelsRequested, m_files, &CodeplugFiles::pasteChannels);

    // Radio commands: read and write, once the program has handed them over.
    connect(this, &Tform1::readRadioRequested, this, [this] {
        if (m_radioCommands)
            m_radioCommands->gs1Click();
    });
    connect(this, &Tform1::writeRadioRequested, this, [this] {
        if (m_radioCommands)
            m_radioCommands->N2Click();
    });

    // The window's own commands: New, Exit, undo and redo, clearing the channels.
    connect(fsef1, &QAction::triggered, this, &Tform1::fsef1Click);
    connect(E1, &QAction::triggered, this, &QWidget::close);   // AdvGlowButton4Click
    connect(m_undoAction, &QAction::triggered, this, &Tform1::undoEdit);
    connect(m_redoAction, &QAction::triggered, this, &Tform1::redoEdit);
    connect(bsSkinButton9, &QPushButton::clicked, this, &Tform1::bsSkinButton9Click);

    // The list operations move the editor's selection, close its overlays and hold the
    // document's steps together while auto add runs.
    connect(m_channelListOps, &ChannelListOps::selectionMoveRequested, m_channelEditor, &ChannelEditor::moveSelection);
    connect(m_channelListOps, &ChannelListOps::overlaysHideRequested, m_channelEditor, &ChannelEditor::hideOverlays);
    connect(m_channelListOps, &ChannelListOps::autoAddHeld, m_doc, &CodeplugDocument::setHolding);

    // Options and help.
    connect(COM11, &QAction::triggered, this, &Tform1::COM11Click);
    connect(COM21, &QAction::triggered, this, &Tform1::COM21Click);
    connect(COM31, &QAction::triggered, this, &Tform1::COM31Click);
    connect(COM41, &QAction::triggered, this, &Tform1::COM41Click);
    connect(N12, &QAction::triggered, this, &Tform1::N12Click);
    connect(N13, &QAction::triggered, this, &Tform1::N13Click);
    connect(Chinese1, &QAction::triggered, this, &Tform1::Chinese1Click);
    connect(English1, &QAction::triggered, this, &Tform1::English1Click);
    connect(Chinese2, &QAction::triggered, this, &Tform1::Chinese2Click);
    connect(sk1, &QAction::triggered, this, &Tform1::sk1Click);
    connect(sk2, &QAction::triggered, this, &Tform1::sk2Click);
    connect(sk3, &QAction::triggered, this, &Tform1::sk3Click);
    connect(H2, &QAction::triggered, this, &Tform1::H2Click);
    connect(A1, &QAction::triggered, this, &Tform1::A1Click);
}

FileCommandWindow Tform1::fileCommandWindow()
{
    using Command = FileCommandWindow::Command;
    FileCommandWindow w;
    w.dialogParent = this;
    w.commandText = [this](Command command) {
        switch (command) {
        case Command::OpenBackup: return m_openBackupAction->text();
        case Command::ImportChannels: return m_importChannelsAction->text();
        case Command::ExportChannels: return m_exportChannelsAction->text();
        }
        return QString();
    };
    w.selectedChannelRows = [this] { return selectedChannelRows(); };
    w.finishChannelEdit = [this](bool hideAllOverlays) { return finishChannelEdit(hideAllOverlays); };
    w.hideFrequencyEditor = [this] { hideFrequencyEditor(); };
    w.settleUnsavedEdits = [this] { return settleUnsavedEdits(); };
    w.noticeTexts = [this] { return noticeTexts(); };
    w.settingItemText = [this](const QString &name, int index) { return settingItemText(name, index); };
    w.showCaption = [this] { bs(); };
    // The folder last used goes into myini.ini with the other preferences.
    w.lastFolder = [this] { return m_prefsFile.value(QStringLiteral("folders"), QStringLiteral("last")).value_or(QString()); };
    w.setLastFolder = [this](const QString &folder) {
        m_prefsFile.setValue(QStringLiteral("folders"), QStringLiteral("last"), folder);
    };
    w.applicationFolder = [this] { return executableDir(); };
    return w;
}

RadioCommandWindow Tform1::radioCommandWindow()
{
    RadioCommandWindow w;
    w.finishChannelEdit = [this] { return finishChannelEdit(true); };
    w.settleUnsavedEdits = [this] { return settleUnsavedEdits(); };
    w.hideCallListEditor = [this] { hideCallListEditor(); };
    w.noticeTexts = [this] { return noticeTexts(); };
    w.language = [this] { return language(); };
    w.executableDir = [this] { return executableDir(); };
    w.ports = [this] { return SerialTransport::portsOf(preferencesFile()); };
    w.comPort = [this] { return comPort(); };
    w.singleHead = [this] { return singleHead(); };
    w.commandText = [this](bool read) { return (read ? gs1 : N2)->text(); };
    w.toolButtonText = [this](bool read) { return (read ? m_readButton : m_writeButton)->text(); };
    w.fastLink = [this] { return fastLink(); };
    w.setFastLink = [this](bool on) { setFastLink(on); };
    w.verifyAfterWrite = [this] { return verifyAfterWrite(); };
    w.setVerifyAfterWrite = [this](bool on) { setVerifyAfterWrite(on); };
    w.preferencesPath = [this] { return m_paths.readPath; };
    w.setStatusText = [this](const QString &text) { setStatusText(text); };
    return w;
}

void Tform1::setRadioCommands(RadioCommands *commands)
{
    if (m_radioCommands)
        disconnect(m_radioCommands, &RadioCommands::readApplied, this, &Tform1::showReadChannel);
    m_radioCommands = commands;
    if (commands)
        connect(commands, &RadioCommands::readApplied, this, &Tform1::showReadChannel);
}
