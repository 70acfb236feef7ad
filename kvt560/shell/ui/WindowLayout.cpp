// Construction of the main window: menu bar, toolbar, the six pages and what lies on them.
// The controls keep their names as member names and objectNames.
#include "shell/ui/Tform1.h"
#include "channels/ChannelListOps.h"
#include "channels/ui/ChannelEditor.h"
#include "channels/ui/ChannelGrid.h"
#include "channels/ui/ChannelListButtons.h"
#include "channels/ui/SingleChannelEditor.h"
#include "codeplug/CodeplugDocument.h"
#include "channels/ToneList.h"
#include "settings/SettingsRegistry.h"
#include "settings/SettingsStore.h"
#include "settings/ui/SettingsPages.h"
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStyle>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>


namespace {

QAction *namedAction(QMenu *menu, const char *name, const QString &caption)
{
    QAction *a = menu->addAction(caption);
    a->setObjectName(QLatin1String(name));
    return a;
}

QAction *namedSeparator(QMenu *menu, const char *name)
{
    QAction *a = menu->addSeparator();
    a->setObjectName(QLatin1String(name));
    return a;
}

QMenu *namedMenu(QWidget *parentMenu, const char *name, const QString &caption)
{
    auto *m = new QMenu(caption, parentMenu);
    m->setObjectName(QLatin1String(name));
    m->menuAction()->setObjectName(QLatin1String(name) + QStringLiteral("Action"));
    return m;
}

QComboBox *rangeBox(QWidget *parent, const char *name)
{
    auto *box = new QComboBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setEditable(false);   // the user only selects, never types
    box->setMinimumWidth(140);
    return box;
}

QLabel *namedLabel(QWidget *parent, const char *name, const QString &text)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(QLatin1String(name));
    return l;
}
} // namespace

// ---------------------------------------------------------------------------------------
// Construction

void Tform1::buildMenus()
{
    QMenuBar *bar = menuBar();

    fefs1 = namedMenu(bar, "fefs1", QStringLiteral("文件(&F)"));
    fsef1 = namedAction(fefs1, "fsef1", QStringLiteral("新建(&N)"));
    rsgg1 = namedAction(fefs1, "rsgg1", QStringLiteral("打开(&O)"));
    segs1 = namedAction(fefs1, "segs1", QStringLiteral("保存(&S)"));
    m_saveAsAction = namedAction(fefs1, "saveAsAction", QStringLiteral("另存为(&A)..."));
    // The desktop's keys for the file commands, beside the read and write keys.
    fsef1->setShortcut(QKeySequence::New);
    rsgg1->setShortcut(QKeySequence::Open);
    segs1->setShortcut(QKeySequence::Save);
    m_saveAsAction->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)});
    namedSeparator(fefs1, "printSeparator");
    m_printAction = namedAction(fefs1, "printAction", QStringLiteral("打印(&P)..."));
    m_printPreviewAction = namedAction(fefs1, "printPreviewAction", QStringLiteral("打印预览(&V)"));
    m_savePdfAction = namedAction(fefs1, "savePdfAction", QStringLiteral("另存为 PDF(&D)..."));
    m_printAction->setShortcut(QKeySequence::Print);
    namedSeparator(fefs1, "backupSeparator");
    m_openBackupAction = namedAction(fefs1, "openBackupAction", QStringLiteral("打开备份(&B)"));
    m_exportChannelsAction = namedAction(fefs1, "exportChannelsAction", QStringLiteral("导出信道(&X)"));
    m_importChannelsAction = namedAction(fefs1, "importChannelsAction", QStringLiteral("导入信道(&I)"));
    N1 = namedSeparator(fefs1, "N1");
    E1 = namedAction(fefs1, "E1", QStringLiteral("退出(&E)"));
    fsef1->setIcon(style()->standardIcon(QStyle::SP_FileIcon));
    rsgg1->setIcon(style()->standardIcon(QStyle::SP_DialogOpenButton));
    segs1->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    bar->addMenu(fefs1);

    sgse1 = namedMenu(bar, "sgse1", QStringLiteral("编辑(&P)"));
    gs1 = namedAction(sgse1, "gs1", QStringLiteral("频率读出(&R)"));
    gs1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
    N2 = namedAction(sgse1, "N2", QStringLiteral("频率写入(&W)"));
    N2->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_W));
    N3 = namedSeparator(sgse1, "N3");
    N4 = namedAction(sgse1, "N4", QStringLiteral("信道编辑(&E)"));
    N5 = namedAction(sgse1, "N5", QStringLiteral("功能选项(&Y)"));
    DTMF1 = namedAction(sgse1, "DTMF1", QStringLiteral("DTMF"));
    N6 = namedSeparator(sgse1, "N6");
    N8 = namedAction(sgse1, "N8", QStringLiteral("信道"));
    N9 = namedAction(sgse1, "N9", QStringLiteral("侧键设定"));
    N10 = namedSeparator(sgse1, "N10");
    T1 = namedAction(sgse1, "T1", QStringLiteral("其它功能(&T)"));
    const std::pair<QAction *, int> pageItems[] = {{N4, ChannelPage}, {N5, FunctionPage}, {DTMF1, DtmfPage},
                                                   {N8, SingleChannelPage}, {N9, SideKeyPage}, {T1, OtherPage}};
    for (const auto &[action, page] : pageItems)
        connect(action, &QAction::triggered, this, [this, p = page] { showPage(p); });
    bar->addMenu(sgse1);

    N7 = namedMenu(bar, "N7", QStringLiteral("选项"));
    gsegs1 = namedMenu(N7, "gsegs1", QStringLiteral("通信端口(&C)"));
    COM11 = namedAction(gsegs1, "COM11", QStringLiteral("COM(&1)"));
    COM21 = namedAction(gsegs1, "COM21", QStringLiteral("COM(&2)"));
    COM31 = namedAction(gsegs1, "COM31", QStringLiteral("COM(&3)"));
    COM41 = namedAction(gsegs1, "COM41", QStringLiteral("COM(&4)"));
    N7->addMenu(gsegs1);

    N11 = namedMenu(N7, "N11", QStringLiteral("通信方式"));
    N12 = namedAction(N11, "N12", QStringLiteral("单头通信"));
    N13 = namedAction(N11, "N13", QStringLiteral("双头通信"));
    N7->addMenu(N11);
    N11->menuAction()->setVisible(false);   // the cable mode comes from the preferences only

    Language1 = namedMenu(N7, "Language1", QStringLiteral("Language"));
    Chinese1 = namedAction(Language1, "Chinese1", QStringLiteral("中文"));
    English1 = namedAction(Language1, "English1", QStringLiteral("English"));
    Chinese2 = namedAction(Language1, "Chinese2", QStringLiteral("中文(繁體)"));
    N7->addMenu(Language1);

    S1 = namedMenu(N7, "S1", QStringLiteral("皮肤(&S)"));
    sk1 = namedAction(S1, "sk1", QStringLiteral("蓝色一族"));
    sk2 = namedAction(S1, "sk2", QStringLiteral("钢板"));
    sk3 = namedAction(S1, "sk3", QStringLiteral("咖啡"));
    N7->addMenu(S1);
    bar->addMenu(N7);

    // The handlers set the marks themselves (a chosen item stays marked when clicked again).
    for (QAction *a : {COM11, COM21, COM31, COM41, N12, N13, Chinese1, English1, Chinese2, sk1, sk2, sk3})
        a->setCheckable(true);

    H1 = namedMenu(bar, "H1", QStringLiteral("帮助(&H)"));
    H2 = namedAction(H1, "H2", QStringLiteral("帮助(&H)..."));
    H2->setShortcut(QKeySequence::HelpContents);
    A1 = namedAction(H1, "A1", QStringLiteral("关于(&A)..."));
    bar->addMenu(H1);
}

void Tform1::buildToolBar()
{
    QToolBar *bar = addToolBar(QStringLiteral("toolBar"));
    bar->setObjectName(QStringLiteral("toolBar"));
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setContextMenuPolicy(Qt::PreventContextMenu);
    bar->setIconSize(QSize(22, 22));
    bar->addAction(fsef1);
    bar->addAction(rsgg1);
    bar->addAction(segs1);
    bar->addSeparator();

    auto captioned = [bar](const char *name, const QString &text, QAction *same) {
        auto *b = new QToolButton(bar);
        b->setObjectName(QLatin1String(name));
        b->setText(text);
        b->setToolButtonStyle(Qt::ToolButtonTextOnly);
        b->setMinimumWidth(56);
        QObject::connect(b, &QToolButton::clicked, same, &QAction::trigger);
        bar->addWidget(b);
        return b;
    };
    m_readButton = captioned("bsSkinSpeedButton4", QStringLiteral("读频"), gs1);
    m_writeButton = captioned("bsSkinSpeedButton5", QStringLiteral("写频"), N2);
    buildUndoActions(bar);
}

void Tform1::buildPages()
{
    m_pageControl = new QTabWidget(this);
    m_pageControl->setObjectName(QStringLiteral("pageControl"));
    m_pageControl->setDocumentMode(false);
    setCentralWidget(m_pageControl);

    // Page 0: the channel table with a row for the list buttons below it.
    m_channelPage = new QWidget(m_pageControl);
    m_channelPage->setObjectName(QStringLiteral("channelPage"));
    auto *channelLayout = new QVBoxLayout(m_channelPage);
    channelLayout->setContentsMargins(4, 4, 4, 4);
    channelLayout->setSpacing(4);
    StringAlignGrid1 = new ChannelGrid(m_table, m_channelPage);
    channelLayout->addWidget(StringAlignGrid1, 1);
    m_channelEditor = new ChannelEditor(StringAlignGrid1);
    // Ctrl+C and Ctrl+V on the grid itself copy and paste whole channel rows; the overlay
    // editors keep their own keys.
    const auto rowsAction = [this](const char *name, QKeySequence::StandardKey key) {
        auto *action = new QAction(StringAlignGrid1);
        action->setObjectName(QLatin1String(name));
        action->setShortcut(key);
        action->setShortcutContext(Qt::WidgetShortcut);
        StringAlignGrid1->addAction(action);
        return action;
    };
    m_copyChannelsAction = rowsAction("copyChannelsAction", QKeySequence::Copy);
    m_pasteChannelsAction = rowsAction("pasteChannelsAction", QKeySequence::Paste);
    connect(m_channelEditor, &ChannelEditor::singleChannelRequested, this, [this] { showPage(SingleChannelPage); });
    m_channelButtonRow = new QWidget(m_channelPage);
    m_channelButtonRow->setObjectName(QStringLiteral("channelButtonRow"));
    auto *buttons = new QHBoxLayout(m_channelButtonRow);
    buttons->setContentsMargins(0, 0, 0, 0);
    buttons->setAlignment(Qt::AlignLeft);   // the list buttons side by side, as wide as their captions
    bsSkinButton9 = new QPushButton(QStringLiteral("清除信道"), m_channelButtonRow);
    bsSkinButton9->setMinimumWidth(90);
    bsSkinButton9->setObjectName(QStringLiteral("bsSkinButton9"));
    buttons->addWidget(bsSkinButton9);
    channelLayout->addWidget(m_channelButtonRow);
    m_pageControl->addTab(m_channelPage, QStringLiteral("信道编辑"));

    buildFunctionPage();

    // Page 2: DTMF with its two sub-pages.
    m_dtmfPage = new QWidget(m_pageControl);
    m_dtmfPage->setObjectName(QStringLiteral("dtmfPage"));
    auto *dtmfLayout = new QVBoxLayout(m_dtmfPage);
    dtmfLayout->setContentsMargins(4, 4, 4, 4);
    m_dtmfPages = new QTabWidget(m_dtmfPage);
    m_dtmfPages->setObjectName(QStringLiteral("dtmfPages"));
    m_dtmfSystemPage = new QWidget(m_dtmfPages);
    m_dtmfSystemPage->setObjectName(QStringLiteral("dtmfSystemPage"));
    m_dtmfParameterPage = new QWidget(m_dtmfPages);
    m_dtmfParameterPage->setObjectName(QStringLiteral("dtmfParameterPage"));
    m_dtmfPages->addTab(m_dtmfSystemPage, QStringLiteral("系统"));
    m_dtmfPages->addTab(m_dtmfParameterPage, QStringLiteral("参数"));
    dtmfLayout->addWidget(m_dtmfPages);
    m_pageControl->addTab(m_dtmfPage, QStringLiteral("DTMF"));

    m_singleChannelPage = new QWidget(m_pageControl);
    m_singleChannelPage->setObjectName(QStringLiteral("singleChannelPage"));
    m_pageControl->addTab(m_singleChannelPage, QStringLiteral("信道"));

    m_sideKeyPage = new QWidget(m_pageControl);
    m_sideKeyPage->setObjectName(QStringLiteral("sideKeyPage"));
    m_pageControl->addTab(m_sideKeyPage, QStringLiteral("侧键设定"));

    buildOtherPage();
    buildChannelOperations();

    connect(m_pageControl, &QTabWidget::currentChanged, this, [this](int index) {
        if (index == FunctionPage)
            bsSkinTabSheet2Show();
        if (index == ChannelPage)
            m_channelEditor->bsSkinTabSheet1Show();
    });
}

void Tform1::buildChannelOperations()
{
    m_channelListOps = new ChannelListOps(m_table, &m_channelEditor->cursor(), this);
    m_channelListOps->setObjectName(QStringLiteral("channelListOps"));
    m_channelListOps->setStepIndexSource([this] { return m_settings->number(SettingKey::FrequencyStep); });
    addChannelListButtons(m_channelButtonRow, m_channelListOps);

    m_singleChannel = new SingleChannelEditor(m_table, &m_channelEditor->cursor(), ToneList::instance(), m_singleChannelPage);
    auto *single = new QVBoxLayout(m_singleChannelPage);
    single->setContentsMargins(0, 0, 0, 0);
    single->addWidget(m_singleChannel);
    connect(m_pageControl, &QTabWidget::currentChanged, m_singleChannel,
            [this](int index) { m_singleChannel->setPageActive(index == SingleChannelPage); });
    connect(this, &Tform1::cableModeChanged, m_singleChannel,
            [this](int mode) { m_singleChannel->setSingleHead(mode == Preferences::SingleHead); });
    connect(m_singleChannel, &SingleChannelEditor::channelSelected, m_channelEditor,
            [this](int row) { m_channelEditor->moveSelection(StringAlignGrid1->currentColumn(), row); });
    connect(m_channelEditor, &ChannelEditor::currentChannelChanged, m_singleChannel, &SingleChannelEditor::setChannelNumber);
    connect(m_channelEditor, &ChannelEditor::singleChannelRequested, m_singleChannel, &SingleChannelEditor::setChannelNumber);
}

void Tform1::buildFunctionPage()
{
    bsSkinTabSheet2 = new QWidget(m_pageControl);
    bsSkinTabSheet2->setObjectName(QStringLiteral("bsSkinTabSheet2"));
    auto *grid = new QGridLayout(bsSkinTabSheet2);
    grid->setContentsMargins(8, 8, 8, 8);
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(8);

    // Left: the basic functions, a column of drop-downs and a column of check boxes.
    m_basicGroup = new QGroupBox(QStringLiteral("基本功能"), bsSkinTabSheet2);
    m_basicGroup->setObjectName(QStringLiteral("basicGroup"));
    auto *basicLayout = new QHBoxLayout(m_basicGroup);
    m_basicLeftColumn = new QWidget(m_basicGroup);
    m_basicLeftColumn->setObjectName(QStringLiteral("basicLeftColumn"));
    new QGridLayout(m_basicLeftColumn);
    m_basicRightColumn = new QWidget(m_basicGroup);
    m_basicRightColumn->setObjectName(QStringLiteral("basicRightColumn"));
    new QVBoxLayout(m_basicRightColumn);
    basicLayout->addWidget(m_basicLeftColumn, 1);   // the drop-downs take the room the boxes leave
    basicLayout->addWidget(m_basicRightColumn, 0);
    grid->addWidget(m_basicGroup, 0, 0, 2, 1);

    // Right: the VOX panel above the band and password panel.
    bsSkinPanel7 = new QGroupBox(QStringLiteral("VOX"), bsSkinTabSheet2);
    bsSkinPanel7->setObjectName(QStringLiteral("bsSkinPanel7"));
    new QGridLayout(bsSkinPanel7);
    grid->addWidget(bsSkinPanel7, 0, 1);

    m_bandPasswordPanel = new QFrame(bsSkinTabSheet2);
    m_bandPasswordPanel->setObjectName(QStringLiteral("bandPasswordPanel"));
    m_bandPasswordPanel->setFrameShape(QFrame::StyledPanel);
    auto *panel = new QGridLayout(m_bandPasswordPanel);
    bsSkinCheckRadioBox14 = new QCheckBox(QStringLiteral("按键扩频"), m_bandPasswordPanel);
    bsSkinCheckRadioBox14->setObjectName(QStringLiteral("bsSkinCheckRadioBox14"));
    m_bandLabel = namedLabel(m_bandPasswordPanel, "bsSkinComboBox22Label", QStringLiteral("频段"));
    // Items, value and enabled state come from the settings store (SettingsPages).
    bsSkinComboBox22 = new QComboBox(m_bandPasswordPanel);
    bsSkinComboBox22->setObjectName(QStringLiteral("bsSkinComboBox22"));
    // Rows 0-1: band; the password controls follow.
    m_bandLabel->setBuddy(bsSkinComboBox22);
    panel->addWidget(bsSkinCheckRadioBox14, 0, 0, 1, 2);
    panel->addWidget(m_bandLabel, 1, 0);
    panel->addWidget(bsSkinComboBox22, 1, 1);
    panel->setColumnStretch(1, 1);
    grid->addWidget(m_bandPasswordPanel, 1, 1);
    grid->setColumnStretch(0, 3);
    grid->setColumnStretch(1, 2);
    grid->setRowStretch(2, 1);

    m_pageControl->addTab(bsSkinTabSheet2, QStringLiteral("功能选项"));
}

void Tform1::buildOtherPage()
{
    m_otherPage = new QWidget(m_pageControl);
    m_otherPage->setObjectName(QStringLiteral("otherPage"));
    auto *pageLayout = new QVBoxLayout(m_otherPage);
    pageLayout->setContentsMargins(8, 8, 8, 8);

    m_bandGroup = new QGroupBox(QStringLiteral("频段"), m_otherPage);
    m_bandGroup->setObjectName(QStringLiteral("bandsGroup"));
    auto *bands = new QHBoxLayout(m_bandGroup);
    bands->setSpacing(16);

    // Each row caption is named after its drop-down ("bsSkinComboBox20Label").
    auto bandBox = [this](const char *name, const QString &title, QLabel *&rxLabel, QComboBox *&rx,
                          const char *rxBox, QLabel *&txLabel, QComboBox *&tx, const char *txBox) {
        auto *g = new QGroupBox(title, m_bandGroup);
        g->setObjectName(QLatin1String(name));
        auto *l = new QGridLayout(g);
        rxLabel = new QLabel(QStringLiteral("接收频段"), g);
        rxLabel->setObjectName(QLatin1String(rxBox) + QStringLiteral("Label"));
        txLabel = new QLabel(QStringLiteral("发射频段"), g);
        txLabel->setObjectName(QLatin1String(txBox) + QStringLiteral("Label"));
        rx = rangeBox(g, rxBox);
        tx = rangeBox(g, txBox);
        rxLabel->setBuddy(rx);
        txLabel->setBuddy(tx);
        l->addWidget(rxLabel, 0, 0);
        l->addWidget(rx, 0, 1);
        l->addWidget(txLabel, 1, 0);
        l->addWidget(tx, 1, 1);
        l->setColumnStretch(1, 1);
        return g;
    };
    m_band1Group = bandBox("band1Group", QStringLiteral("频段1"), m_band1RxLabel, bsSkinComboBox20, "bsSkinComboBox20",
                         m_band1TxLabel, bsSkinComboBox21, "bsSkinComboBox21");
    m_band2Group = bandBox("band2Group", QStringLiteral("频段2"), m_band2RxLabel, bsSkinComboBox6, "bsSkinComboBox6",
                         m_band2TxLabel, bsSkinComboBox11, "bsSkinComboBox11");
    bands->addWidget(m_band1Group);
    bands->addWidget(m_band2Group);

    pageLayout->addWidget(m_bandGroup);
    pageLayout->addStretch();
    m_pageControl->addTab(m_otherPage, QStringLiteral("其它功能"));
}

void Tform1::nameControls()
{
    // The two band groups hold the same two row captions: each list says its band too.
    const std::pair<QComboBox *, std::pair<QGroupBox *, QLabel *>> bandLists[] = {
        {bsSkinComboBox20, {m_band1Group, m_band1RxLabel}}, {bsSkinComboBox21, {m_band1Group, m_band1TxLabel}},
        {bsSkinComboBox6, {m_band2Group, m_band2RxLabel}}, {bsSkinComboBox11, {m_band2Group, m_band2TxLabel}}};
    // The label carries the name too: some platforms read a drop-down by its label.
    for (const auto &[list, caption] : bandLists) {
        const QString name = caption.first->title() + QLatin1Char(' ') + caption.second->text();
        list->setAccessibleName(name);
        caption.second->setAccessibleName(name);
    }
    StringAlignGrid1->setAccessibleName(m_pageControl->tabText(ChannelPage));
    m_pages->nameControls();
}
