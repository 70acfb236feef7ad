#include "shell/ui/Tform1.h"
#include "shell/ui/FormPortMenu.h"
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
    , paths(prefsPaths)
    , appDir(QCoreApplication::applicationDirPath())
    // The manual opens in the program's own help window: no web browser is needed.
    , helpOpener([this](const QUrl &url) {
        HelpWindow *help = HelpWindow::instance(this);
        help->setTexts(texts.help);
        return help->showManual(url.toLocalFile());
    })
{
    setObjectName(QStringLiteral("Tform1"));
    setWindowTitle(QStringLiteral("RD4400[*]"));   // "[*]": the mark of unsaved changes
    setWindowIcon(QIcon(TaboutForm::picture(64)));

    doc = new CodeplugDocument(this);
    table = doc->channels();
    settings = doc->settings();

    // Built-in texts until a language library gives its own.
    setNoticeTexts(LanguageTexts::builtIn());

    buildMenus();
    buildToolBar();
    buildPages();

    SettingsPageHosts hosts;
    hosts.basicLeft = basicLeftColumn;
    hosts.basicRight = basicRightColumn;
    hosts.voxPanel = bsSkinPanel7;
    hosts.bandPasswordPanel = bandPasswordPanel;
    hosts.dtmfSystem = dtmfSystemPage;
    hosts.dtmfParameter = dtmfParameterPage;
    hosts.sideKeys = sideKeyPage;
    pages = new SettingsPages(settings, hosts, this);

    // The language menu items load their library at once; the saved language loads at
    // first show.
    connect(this, &Tform1::languageChosen, this,
            [this](int lang) { LoadLanguage(language::libraryName(lang)); });

    statusPanel = new QLabel(this);
    statusPanel->setObjectName(QStringLiteral("statusPanel"));
    statusBar()->addWidget(statusPanel, 1);
    statusBar()->setSizeGripEnabled(false);
    setStatusText(kProductLine);

    // The confirmation and notice dialog of the program (Tmessage1::instance()).
    new Tmessage1(this);

    installConversionNotice(table, this);
    files = new CodeplugFiles(doc, fileCommandWindow(), this);
    connectCommands();

    FormCreate();
    portMenu = attachPortMenu(*this);
    // What start-up put into the controls is where the user's editing begins.
    doc->resetHistory();

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
    disconnect(doc, nullptr, this, nullptr);
    disconnect(history->stack(), nullptr, this, nullptr);
    // The views go before the channel table they show.
    delete takeCentralWidget();
}

// ---------------------------------------------------------------------------------------
// Start-up, first show and exit

void Tform1::FormCreate()
{
    channelEditor->cursor().CurRow = 1;
    channelEditor->cursor().CurCol = 1;
    channelEditor->cursor().SkipToggle = false;

    prefsFile.load(paths.readPath);   // a missing file leaves every default
    const Preferences p = Preferences::fromIni(prefsFile);

    selectPort(p.com);
    if (p.commode == Preferences::SingleHead)
        N12Click();
    else
        N13Click();
    selectTheme(p.skin);
    fastLinkChosen = p.fastLink;
    verifyChosen = p.verify;
    // The library itself is loaded at first show.
    languageTag = p.lang;
    markLanguage(p.lang);

    doc->setBandLists(p.lists);
    bindBandBoxes();

    // From here on a new band selection updates the caption; the start-up caption stays.
    for (QComboBox *box : {bsSkinComboBox20, bsSkinComboBox6, bsSkinComboBox11})
        connect(box, &QComboBox::currentIndexChanged, this, &Tform1::bs);
    if (auto *squelchMode = qobject_cast<QComboBox *>(pages->control(SettingsRegistry::name(SettingKey::SquelchMode))))
        connect(squelchMode, &QComboBox::currentIndexChanged, this, &Tform1::bs);
}

void Tform1::FormShow()
{
    const bool edited = doc->isModified();
    // 1. The call list and the PTT ID codes hold their Start values from the settings
    //    store. 4. The transport's echo counter belongs to the radio link: it acts on
    //    firstShown.
    emit firstShown();
    // 2. The "more" column.
    table->fillMoreColumn();
    // 3. Page 0, and on the DTMF page the sub-page "系统".
    pageControl->setCurrentIndex(ChannelPage);
    dtmfPages->setCurrentIndex(0);
    // 5. The saved language; any other number loads nothing.
    if (language::isKnown(languageTag))
        emit languageChosen(languageTag);
    if (!edited)
        doc->resetHistory();
}

void Tform1::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (shownOnce)
        return;
    shownOnce = true;
    if (QScreen *screen = this->screen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    FormShow();
}

void Tform1::closeEvent(QCloseEvent *event)
{
    if (askBeforeClosing && !settleUnsavedEdits()) {
        event->ignore();
        return;
    }
    QString reason;
    if (!savePreferences(&reason))   // FormDestroy
        showNotice(QStringLiteral("KVT560"), CodeplugFile::saveFailedText(paths.writePath, reason));
    event->accept();
}

Preferences Tform1::currentPreferences() const
{
    Preferences p;
    p.com = portTag;
    p.commode = modeTag;
    p.skin = themeTag;
    p.lang = languageTag;
    p.fastLink = fastLinkChosen;
    p.verify = verifyChosen;
    p.lists = doc->bandLists();
    return p;
}

bool Tform1::savePreferences(QString *reason)
{
    if (prefsSaved)
        return true;
    currentPreferences().toIni(prefsFile);
    QString why;
    const bool ok = prefsFile.save(paths.writePath, &why);
    if (!ok)
        qWarning("KVT560: %s", qPrintable(CodeplugFile::saveFailedText(paths.writePath, why)));
    if (reason)
        *reason = why;
    prefsSaved = ok;
    return ok;
}

// ---------------------------------------------------------------------------------------
// Shell

void Tform1::setStatusText(const QString &text)
{
    statusPanel->setText(kFiveBlanks + text);
}

QString Tform1::statusText() const
{
    return statusPanel->text();
}

bool Tform1::finishChannelEdit(bool hideAllOverlays)
{
    showPage(ChannelPage);
    return channelEditor->commitPendingEdit(hideAllOverlays);
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
    return StringAlignGrid1->currentRow() >= 1 ? StringAlignGrid1->currentRow() : channelEditor->cursor().CurRow;
}

std::optional<QString> Tform1::settingItemText(const QString &name, int index) const
{
    const auto *box = pages ? qobject_cast<QComboBox *>(pages->control(name)) : nullptr;
    if (box && index >= 0 && index < box->count())
        return box->itemText(index);
    return std::nullopt;
}

void Tform1::hideFrequencyEditor()
{
    channelEditor->bsSkinEdit1->hide();
}

void Tform1::hideCallListEditor()
{
    bsSkinStringGrid1()->hideEditor();
}

const Marks &Tform1::marks() const
{
    return table->marks();
}

void Tform1::setMarks(const Marks &m)
{
    table->setMarks(m);
}

// ---------------------------------------------------------------------------------------
// Function settings, New and clear

CallListGrid *Tform1::bsSkinStringGrid1() const
{
    return pages->callList();
}

void Tform1::fsef1Click()
{
    if (!settleUnsavedEdits())
        return;
    bsSkinStringGrid1()->hideEditor();
    channelEditor->ComboBox1->hide();
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
    channelEditor->bsSkinEdit1->clear();
    // 2-3. Every setting with a New value, the call list included; check-box rules run.
    // 4. Every channel empty.
    doc->newCodeplug();
    // 5. Selection on column 1 of channel 1.
    channelEditor->moveSelection(1, 1);
    // 6. The single-channel page on channel 1.
    singleChannel->bsSkinSpinEdit20->setValue(1);
}

void Tform1::showReadChannel()
{
    singleChannel->bsSkinTabSheet10Show();
}

void Tform1::clearAllChannels()
{
    doc->clearChannels();
    channelEditor->moveSelection(1, 1);
    channelEditor->ComboBox1->hide();
    channelEditor->bsSkinEdit1->hide();
}

// ---------------------------------------------------------------------------------------
// Commands

void Tform1::connectCommands()
{
    // The menu items, tool buttons and grid keys emit the window's command signals.
    const std::pair<QAction *, void (Tform1::*)()> requests[] = {
        {rsgg1, &Tform1::openRequested},
        {segs1, &Tform1::saveRequested},
        {saveAsAction, &Tform1::saveAsRequested},
        {openBackupAction, &Tform1::openBackupRequested},
        {exportChannelsAction, &Tform1::exportChannelsRequested},
        {importChannelsAction, &Tform1::importChannelsRequested},
        {copyChannelsAction, &Tform1::copyChannelsRequested},
        {pasteChannelsAction, &Tform1::pasteChannelsRequested},
        {gs1, &Tform1::readRadioRequested},
        {N2, &Tform1::writeRadioRequested},
    };
    for (const auto &[action, request] : requests)
        connect(action, &QAction::triggered, this, request);

    // File commands: Open, Save, Open backup, the channel export and import, copy and paste.
    connect(this, &Tform1::openRequested, files, &CodeplugFiles::rsgg1Click);
    connect(this, &Tform1::saveRequested, files, &CodeplugFiles::segs1Click);
    connect(this, &Tform1::saveAsRequested, files, [this] { files->saveAs(); });
    connect(this, &Tform1::openBackupRequested, files, &CodeplugFiles::openBackup);
    connect(this, &Tform1::exportChannelsRequested, files, &CodeplugFiles::exportChannels);
    connect(this, &Tform1::importChannelsRequested, files, &CodeplugFiles::importChannels);
    connect(this, &Tform1::copyChannelsRequested, files, &CodeplugFiles::copyChannels);
    connect(this, &Tform1::pasteChannelsRequested, files, &CodeplugFiles::pasteChannels);

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
    connect(undoAction, &QAction::triggered, this, &Tform1::undoEdit);
    connect(redoAction, &QAction::triggered, this, &Tform1::redoEdit);
    connect(bsSkinButton9, &QPushButton::clicked, this, &Tform1::bsSkinButton9Click);

    // The list operations move the editor's selection, close its overlays and hold the
    // document's steps together while auto add runs.
    connect(channelListOps, &ChannelListOps::selectionMoveRequested, channelEditor, &ChannelEditor::moveSelection);
    connect(channelListOps, &ChannelListOps::overlaysHideRequested, channelEditor, &ChannelEditor::hideOverlays);
    connect(channelListOps, &ChannelListOps::autoAddHeld, doc, &CodeplugDocument::setHolding);

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
        case Command::OpenBackup: return openBackupAction->text();
        case Command::ImportChannels: return importChannelsAction->text();
        case Command::ExportChannels: return exportChannelsAction->text();
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
    w.toolButtonText = [this](bool read) { return (read ? readButton : writeButton)->text(); };
    w.fastLink = [this] { return fastLink(); };
    w.setFastLink = [this](bool on) { setFastLink(on); };
    w.verifyAfterWrite = [this] { return verifyAfterWrite(); };
    w.setVerifyAfterWrite = [this](bool on) { setVerifyAfterWrite(on); };
    w.preferencesPath = [this] { return paths.readPath; };
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
