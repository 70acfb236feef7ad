#include "CMainFrame.h"

#include "CAboutDlg.h"
#include "CLanguageDlg.h"
#include "FrameIcons.h"
#include "LockKeyState.h"
#include "FramePortMenu.h"
#include "base/Globals.h"
#include "frame/FrameMessages.h"
#include "base/ProgramIni.h"
#include "base/ResourceLibrary.h"
#include "common/ui/HelpWindow.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileInfo>
#include <QKeySequence>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QProcess>
#include <QScreen>
#include <QShowEvent>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTimer>
#include <QToolBar>
#include <QUrl>

namespace {

// Object names of the command actions, for tests and style sheets.
const char *actionName(int id)
{
    switch (id) {
    case ResId::FileNew: return "actionNew";
    case ResId::FileOpen: return "actionOpen";
    case ResId::FileSave: return "actionSave";
    case ResId::FileSaveAs: return "actionSaveAs";
    case ResId::ExportChannels: return "actionExportChannels";
    case ResId::ImportChannels: return "actionImportChannels";
    case ResId::OpenBackup: return "actionOpenBackup";
    case ResId::FilePrint: return "actionPrint";
    case ResId::FilePrintPreview: return "actionPrintPreview";
    case ResId::FilePrintSetup: return "actionPrintSetup";
    case ResId::AppExit: return "actionExit";
    case ResId::EditUndo: return "actionUndo";
    case ResId::EditRedo: return "actionRedo";
    case ResId::Read: return "actionRead";
    case ResId::Write: return "actionWrite";
    case ResId::PttId: return "actionPttId";
    case ResId::Option: return "actionOption";
    case ResId::Embed: return "actionEmbed";
    case ResId::Language: return "actionLanguage";
    case ResId::ViewToolbar: return "actionToolbar";
    case ResId::ViewStatusBar: return "actionStatusBar";
    case ResId::AppAbout: return "actionAbout";
    case ResId::Help: return "actionHelp";
    case ResId::NextPane: return "actionNextPane";
    case ResId::PrevPane: return "actionPrevPane";
    default: return nullptr;
    }
}

const int KnownCommands[] = {
    ResId::FileNew, ResId::FileOpen, ResId::FileSave, ResId::FileSaveAs, ResId::ExportChannels,
    ResId::ImportChannels, ResId::OpenBackup, ResId::FilePrint,
    ResId::FilePrintPreview, ResId::FilePrintSetup, ResId::AppExit, ResId::EditUndo, ResId::EditRedo, ResId::Read, ResId::Write,
    ResId::PttId, ResId::Option, ResId::Embed, ResId::Language, ResId::Com1, ResId::Com1 + 1,
    ResId::Com1 + 2, ResId::Com1 + 3, ResId::Com1 + 4, ResId::Com1 + 5, ResId::Com1 + 6, ResId::Com8,
    ResId::ViewToolbar, ResId::ViewStatusBar, ResId::AppAbout, ResId::Help, ResId::NextPane,
    ResId::PrevPane,
};

QString portNameOf(int commandId)
{
    return QStringLiteral("COM%1").arg(commandId - ResId::Com1 + 1);
}

} // namespace

CMainFrame::CMainFrame(QWidget *parent)
    : QMainWindow(parent)
{
    setObjectName(QStringLiteral("CMainFrame"));
    // The title shows a mark while the document holds unsaved changes (setWindowModified).
    setWindowTitle(resources().string(ResId::AppTitle) + QStringLiteral("[*]"));
    setWindowIcon(applicationIcon());
    resize(800, 600);

    restartProgram = [] {
        const QString program = AppDirectory + QFileInfo(QCoreApplication::applicationFilePath()).fileName();
        return QProcess::startDetached(program, {}, AppDirectory);
    };
    quitProgram = [] { QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection); };
    // The manual opens in the program's own help window: no web browser is needed.
    openUrl = [this](const QUrl &url) {
        HelpWindow *help = HelpWindow::instance(this);
        help->setTexts(helpTexts(LanguageIndex));
        return help->showManual(url.toLocalFile());
    };
    showMessage = [this](const QString &text) {
        QMessageBox::warning(this, resources().string(ResId::AppTitle), text);
    };

    createActions();
    buildMenus();
    buildToolBar();
    buildStatusBar();
    setCentralWidget(new QWidget(this));
    updatePortChecks();
    attachPortMenu(*this);   // devices and their presence beside the COM entries
}

CMainFrame::~CMainFrame()
{
    delete m_lockKeys;
}

QAction *CMainFrame::action(int commandId) const
{
    return m_actions.value(commandId);
}

QLabel *CMainFrame::indicator(int indicatorId) const
{
    return m_indicators.value(indicatorId);
}

void CMainFrame::setView(QWidget *view)
{
    setCentralWidget(view);
}

void CMainFrame::createActions()
{
    const ResourceLibrary &res = resources();
    auto make = [this, &res](int id) {
        auto *a = new QAction(this);
        if (const char *name = actionName(id))
            a->setObjectName(QLatin1String(name));
        else if (id >= ResId::Com1 && id <= ResId::Com8)
            a->setObjectName(QStringLiteral("actionCom%1").arg(id - ResId::Com1 + 1));
        else
            a->setObjectName(QStringLiteral("action%1").arg(id));
        a->setData(id);
        a->setStatusTip(res.promptText(id));
        a->setToolTip(res.tipText(id));
        connect(a, &QAction::triggered, this, [this, id] { dispatch(id); });
        m_actions.insert(id, a);
        return a;
    };
    for (int id : KnownCommands)
        make(id);
    // Commands that only a translator's library knows still get an action and a signal.
    std::function<void(const QList<MenuEntry> &)> addUnknown = [&](const QList<MenuEntry> &entries) {
        for (const MenuEntry &e : entries) {
            if (e.kind == MenuEntry::Item && !m_actions.contains(e.id))
                make(e.id);
            addUnknown(e.children);
        }
    };
    addUnknown(res.menu(ResId::MainMenu));

    for (int id = ResId::Com1; id <= ResId::Com8; ++id)
        m_actions.value(id)->setCheckable(true);
    m_actions.value(ResId::ViewToolbar)->setCheckable(true);
    m_actions.value(ResId::ViewStatusBar)->setCheckable(true);
    m_actions.value(ResId::AppExit)->setMenuRole(QAction::QuitRole);
    m_actions.value(ResId::AppAbout)->setMenuRole(QAction::AboutRole);

    for (const AcceleratorEntry &acc : res.accelerators(ResId::MainMenu)) {
        QAction *a = m_actions.value(acc.command);
        if (!a)
            a = make(acc.command);
        const QKeySequence keys = QKeySequence::fromString(acc.keys, QKeySequence::PortableText);
        if (keys.isEmpty())
            continue;
        QList<QKeySequence> all = a->shortcuts();
        all.append(keys);
        a->setShortcuts(all);
        a->setShortcutContext(Qt::WindowShortcut);
        addAction(a);  // accelerators work whether or not the command is in a menu
    }
    // The desktop's own keys for the file and undo commands, beside those of the library
    // (Redo is Ctrl+Y and Ctrl+Shift+Z, Save As Ctrl+Shift+S).
    const std::pair<int, QKeySequence::StandardKey> standardKeys[] = {
        {ResId::FileNew, QKeySequence::New},    {ResId::FileOpen, QKeySequence::Open},
        {ResId::FileSave, QKeySequence::Save},  {ResId::FileSaveAs, QKeySequence::SaveAs},
        {ResId::EditUndo, QKeySequence::Undo},  {ResId::EditRedo, QKeySequence::Redo},
    };
    for (const auto &[command, standard] : standardKeys) {
        QAction *a = m_actions.value(command);
        if (!a)
            continue;
        QList<QKeySequence> all = a->shortcuts();
        QList<QKeySequence> wanted = QKeySequence::keyBindings(standard);
        // Not every desktop binds Save As; Ctrl+Shift+S is what users try.
        if (standard == QKeySequence::SaveAs)
            wanted.append(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
        for (const QKeySequence &keys : std::as_const(wanted))
            if (!all.contains(keys))
                all.append(keys);
        a->setShortcuts(all);
        a->setShortcutContext(Qt::WindowShortcut);
        addAction(a);
    }
    // F1 opens the manual, as everywhere on the desktop.
    if (QAction *help = m_actions.value(ResId::Help)) {
        help->setShortcuts(help->shortcuts() << QKeySequence(QKeySequence::HelpContents));
        help->setShortcutContext(Qt::WindowShortcut);
        addAction(help);
    }
}

void CMainFrame::buildMenus()
{
    // Object names of the top-level menus, by a command they hold.
    const auto popupName = [](const MenuEntry &popup) -> QString {
        static const QList<QPair<int, const char *>> names{
            {ResId::FileNew, "menuFile"}, {ResId::EditUndo, "menuEdit"}, {ResId::Read, "menuProgram"},
            {ResId::Language, "menuSetting"}, {ResId::Com1, "menuPort"}, {ResId::ViewToolbar, "menuView"},
            {ResId::AppAbout, "menuHelp"}};
        for (const MenuEntry &e : popup.children)
            for (const auto &[id, name] : names)
                if (e.kind == MenuEntry::Item && e.id == id)
                    return QLatin1String(name);
        return QString();
    };
    std::function<void(QMenu *, const QList<MenuEntry> &)> fill = [&](QMenu *menu, const QList<MenuEntry> &entries) {
        for (const MenuEntry &e : entries) {
            switch (e.kind) {
            case MenuEntry::Separator:
                menu->addSeparator();
                break;
            case MenuEntry::Popup:
                fill(menu->addMenu(e.text), e.children);
                break;
            case MenuEntry::Item: {
                QAction *a = m_actions.value(e.id);
                a->setText(e.text.section(QLatin1Char('\t'), 0, 0));
                menu->addAction(a);
                break;
            }
            }
        }
    };
    const QList<MenuEntry> top = resources().menu(ResId::MainMenu);
    for (const MenuEntry &e : top) {
        if (e.kind == MenuEntry::Popup) {
            QMenu *menu = menuBar()->addMenu(e.text);
            menu->setObjectName(popupName(e));
            fill(menu, e.children);
            connect(menu, &QMenu::aboutToShow, this, &CMainFrame::updatePortChecks);
        } else if (e.kind == MenuEntry::Item) {
            QAction *a = m_actions.value(e.id);
            a->setText(e.text.section(QLatin1Char('\t'), 0, 0));
            menuBar()->addAction(a);
        }
    }
    // Commands without a caption in the menu (the pane commands) are named by their tooltip.
    for (QAction *a : std::as_const(m_actions)) {
        if (a->text().isEmpty())
            a->setText(a->toolTip());
    }
}

void CMainFrame::buildToolBar()
{
    m_toolBar = new QToolBar(this);
    m_toolBar->setObjectName(QStringLiteral("toolBar"));
    m_toolBar->setWindowTitle(resources().tipText(ResId::ViewToolbar));
    m_toolBar->setMovable(true);
    m_toolBar->setFloatable(true);
    m_toolBar->setAllowedAreas(Qt::AllToolBarAreas);
    m_toolBar->setIconSize(QSize(16, 16));
    m_toolBar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    for (int id : resources().toolbar(ResId::MainMenu)) {
        if (id == 0) {
            m_toolBar->addSeparator();
            continue;
        }
        QAction *a = m_actions.value(id);
        if (!a)
            continue;
        if (a->icon().isNull())
            a->setIcon(commandIcon(id));
        m_toolBar->addAction(a);
    }
    addToolBar(Qt::TopToolBarArea, m_toolBar);
    QAction *toggle = m_actions.value(ResId::ViewToolbar);
    toggle->setChecked(true);
    connect(m_toolBar, &QToolBar::visibilityChanged, toggle, &QAction::setChecked);
}

void CMainFrame::buildStatusBar()
{
    QStatusBar *bar = statusBar();
    bar->setObjectName(QStringLiteral("statusBar"));
    const struct {
        int id;
        const char *name;
    } indicators[] = {{ResId::IndicatorCaps, "indicatorCaps"},
                      {ResId::IndicatorNum, "indicatorNum"},
                      {ResId::IndicatorScroll, "indicatorScroll"}};
    for (const auto &ind : indicators) {
        auto *label = new QLabel(bar);
        label->setObjectName(QLatin1String(ind.name));
        label->setAlignment(Qt::AlignCenter);
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        const QString text = resources().string(ind.id);
        label->setMinimumWidth(label->fontMetrics().horizontalAdvance(text) + 12);
        bar->addPermanentWidget(label);
        m_indicators.insert(ind.id, label);
    }
    m_lockKeys = new LockKeyState;
    updateIndicators();
    if (m_lockKeys->isKnown()) {
        m_indicatorTimer = new QTimer(this);
        m_indicatorTimer->setInterval(250);
        connect(m_indicatorTimer, &QTimer::timeout, this, &CMainFrame::updateIndicators);
        m_indicatorTimer->start();
    }
    bar->showMessage(resources().string(ResId::IdleMessage));

    QAction *toggle = m_actions.value(ResId::ViewStatusBar);
    toggle->setChecked(true);
}

void CMainFrame::updateIndicators()
{
    const struct {
        int id;
        LockKeyState::Key key;
    } map[] = {{ResId::IndicatorCaps, LockKeyState::CapsLock},
               {ResId::IndicatorNum, LockKeyState::NumLock},
               {ResId::IndicatorScroll, LockKeyState::ScrollLock}};
    for (const auto &m : map) {
        QLabel *label = m_indicators.value(m.id);
        const QString text = resources().string(m.id);
        const std::optional<bool> on = m_lockKeys->state(m.key);
        if (!on) {
            // State unknown: the indicator shows its text greyed.
            label->setText(text);
            label->setEnabled(false);
        } else {
            // Known state: the text shows while the lock is on, the pane is blank while off.
            label->setText(*on ? text : QString());
            label->setEnabled(true);
        }
    }
}

void CMainFrame::updatePortChecks()
{
    for (int id = ResId::Com1; id <= ResId::Com8; ++id)
        m_actions.value(id)->setChecked(PortName == portNameOf(id));
}

void CMainFrame::dispatch(int commandId)
{
    emit commandTriggered(commandId);
    if (commandId >= ResId::Com1 && commandId <= ResId::Com8) {
        onPort(commandId - ResId::Com1 + 1);
        return;
    }
    switch (commandId) {
    case ResId::FileNew: emit newRequested(); break;
    case ResId::FileOpen: emit openRequested(); break;
    case ResId::FileSave: emit saveRequested(); break;
    case ResId::FileSaveAs: emit saveAsRequested(); break;
    case ResId::ExportChannels: emit exportChannelsRequested(); break;
    case ResId::ImportChannels: emit importChannelsRequested(); break;
    case ResId::OpenBackup: emit openBackupRequested(); break;
    case ResId::FilePrint: emit printRequested(); break;
    case ResId::FilePrintPreview: emit printPreviewRequested(); break;
    case ResId::FilePrintSetup: emit printSetupRequested(); break;
    case ResId::Read: emit readRequested(); break;
    case ResId::Write: emit writeRequested(); break;
    case ResId::Option: emit optionRequested(); break;
    case ResId::PttId: emit pttIdRequested(); break;
    case ResId::Embed: emit embedRequested(); break;
    case ResId::EditUndo: emit undoRequested(); break;
    case ResId::EditRedo: emit redoRequested(); break;
    case ResId::Language: onLanguage(); break;
    case ResId::Help: onHelp(); break;
    case ResId::AppAbout: onAppAbout(); break;
    case ResId::AppExit: close(); break;
    case ResId::ViewToolbar: m_toolBar->setVisible(m_actions.value(commandId)->isChecked()); break;
    case ResId::ViewStatusBar: statusBar()->setVisible(m_actions.value(commandId)->isChecked()); break;
    case ResId::NextPane:
    case ResId::PrevPane: focusView(); break;
    default: break;
    }
}

void CMainFrame::focusView()
{
    // The frame has one pane, the form view: both pane commands activate it.
    if (QWidget *view = centralWidget())
        view->setFocus(Qt::OtherFocusReason);
}

void CMainFrame::onPort(int number)
{
    if (number < 1 || number > 8)
        return;
    PortName = QStringLiteral("COM%1").arg(number);
    updatePortChecks();
}

void CMainFrame::onLanguage()
{
    CLanguageDlg dlg(this);
    if (dlg.exec() != QDialog::Accepted)
        return;
    const int position = dlg.selectedPosition();
    if (position == LanguageIndex)
        return;
    // The restart ends this instance: unsaved changes are offered for saving first.
    if (queryClose && !queryClose())
        return;
    const ProgramIni ini(AppDirectory);
    QString reason;
    const bool saved = ini.write(QStringLiteral("Setup"), QStringLiteral("COM"), PortName, &reason)
                       && ini.write(QStringLiteral("Setup"), QStringLiteral("Language"), languageValue(position), &reason);
    if (!saved) {
        // A restart would come back in the old language: say so and keep running.
        showMessage(languageNotSavedText(LanguageIndex, ini.path(), reason));
        return;
    }
    m_closeConfirmed = true;
    restartProgram();  // the running instance quits even when the new one fails to start
    quitProgram();
}

void CMainFrame::onHelp()
{
    const QStringList files = helpFiles(LanguageIndex);
    for (const QString &file : files) {
        const QString path = AppDirectory + file;
        if (QFileInfo(path).isFile()) {
            if (!openUrl(QUrl::fromLocalFile(path)))
                showMessage(helpOpenFailedText(LanguageIndex, path));
            return;
        }
    }
    showMessage(helpFileMissingText(LanguageIndex, AppDirectory + files.constFirst()));
}

void CMainFrame::onAppAbout()
{
    CAboutDlg dlg(this);
    dlg.exec();
}

bool CMainFrame::event(QEvent *event)
{
    if (event->type() == QEvent::StatusTip && static_cast<QStatusTipEvent *>(event)->tip().isEmpty()) {
        // No prompt to show: the message pane returns to its idle text.
        statusBar()->showMessage(resources().string(ResId::IdleMessage));
        return true;
    }
    return QMainWindow::event(event);
}

void CMainFrame::closeEvent(QCloseEvent *event)
{
    if (!m_closeConfirmed && queryClose && !queryClose()) {
        event->ignore();
        return;
    }
    m_closeConfirmed = true;
    QMainWindow::closeEvent(event);
}

void CMainFrame::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (event->spontaneous())
        return;
    if (QScreen *s = screen()) {
        QRect r = frameGeometry();
        r.moveCenter(s->availableGeometry().center());
        move(r.topLeft());
    }
}
