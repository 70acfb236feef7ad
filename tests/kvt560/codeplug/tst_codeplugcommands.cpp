// Save and Open in the main window: the commands from the menu and the toolbar, the file
// dialogs, applying a file to the band lists, settings and channels, and the files that
// change nothing.
#include "Controls.h"
#include "SmallDisk.h"
#include "TestRegistry.h"
#include "channels/ChannelTable.h"
#include "channels/ui/ChannelEditor.h"
#include "channels/ui/ChannelGrid.h"
#include "channels/Marks.h"
#include "codeplug/CodeplugDocument.h"
#include "codeplug/CodeplugFile.h"
#include "codeplug/CsvChannels.h"
#include "channels/ToneList.h"
#include "codeplug/ui/CodeplugFiles.h"
#include "settings/SettingsStore.h"
#include "common/IniFile.h"
#include "shell/Preferences.h"
#include "shell/ui/Tform1.h"
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <memory>

namespace {

void fillChannel(ChannelTable *t, int row, const QString &freq, const Marks &m)
{
    const QStringList columns{freq, m.off, freq, QStringLiteral("D023N"), m.low, m.narrow, m.on, m.on, m.off,
                              QStringLiteral("R%1").arg(row)};
    for (int c = 1; c <= 10; ++c)
        t->setCell(ChannelTable::Grid1, c, row, columns.at(c - 1));
    const QStringList attributes{m.on, m.on, m.off, QStringLiteral("0"), QStringLiteral("53"), m.compander, m.on};
    for (int a = 1; a <= 7; ++a)
        t->setCell(ChannelTable::Grid2, a, row, attributes.at(a - 1));
}

// The centre of cell (column, row) in the grid's viewport, scrolled into view first.
QPoint cellPoint(ChannelGrid *grid, int column, int row)
{
    grid->scrollTo(grid->model()->index(row - 1, column));
    return grid->cellRect(column, row).center();
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeAll(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// Everything opening a file may change, to compare before and after.
struct EditorState {
    SettingsValues settings;
    ChannelCells channels;
    QStringList band1Rx;
    int band1RxNow;
    QString caption;
    explicit EditorState(const Tform1 &f)
        : settings(f.settingsStore()->snapshot())
        , channels(f.channelTable()->cells())
        , band1RxNow(control<QComboBox>(f, "bsSkinComboBox20")->currentIndex())
        , caption(f.windowTitle())
    {
        for (int i = 0; i < control<QComboBox>(f, "bsSkinComboBox20")->count(); ++i)
            band1Rx << control<QComboBox>(f, "bsSkinComboBox20")->itemText(i);
    }
    bool operator==(const EditorState &o) const
    {
        return settings == o.settings && channels == o.channels && band1Rx == o.band1Rx && band1RxNow == o.band1RxNow
               && caption == o.caption;
    }
};

} // namespace

class TestCodeplugCommands : public QObject
{
    Q_OBJECT
    QTemporaryDir dir;
    QStringList notices;

    QString iniPath() const { return dir.filePath(QStringLiteral("myini.ini")); }

    // A main window whose dialogs answer with the given names and whose notices are kept.
    std::unique_ptr<Tform1> window(const QString &openName = {}, const QString &saveName = {})
    {
        auto form = std::make_unique<Tform1>(PreferencesPaths::single(iniPath()));
        CodeplugFiles *files = form->codeplugFiles();
        files->setOpenFileChooser([openName](QWidget *) { return openName; });
        files->setSaveFileChooser([saveName](QWidget *) { return saveName; });
        files->setNotifier([this](const QString &text) { notices << text; });
        // Edits not saved are given up when a file is opened (tst_undo covers the question).
        form->setUnsavedQuestion([](const LanguageTexts &) { return Tform1::UnsavedAnswer::Discard; });
        control<QComboBox>(*form, "bsSkinComboBox20")->addItems({QStringLiteral("400-470MHz"), QStringLiteral("350-390MHz")});
        control<QComboBox>(*form, "bsSkinComboBox20")->setCurrentIndex(0);
        control<QComboBox>(*form, "bsSkinComboBox6")->addItems({QStringLiteral("136-174MHz")});
        control<QComboBox>(*form, "bsSkinComboBox6")->setCurrentIndex(0);
        return form;
    }

private slots:
    // Save asks for a name only while the codeplug has no file: after Open or a first save,
    // Ctrl+S writes into that file; Save As (Ctrl+Shift+S) always asks; New, a backup and a
    // radio read leave the codeplug without a file again.
    void saveGoesIntoTheOpenedFile()
    {
        const QString first = dir.filePath(QStringLiteral("first.k56"));
        const QString second = dir.filePath(QStringLiteral("second.k56"));
        auto form = window();
        CodeplugFiles *files = form->codeplugFiles();
        int asked = 0;
        QString answer = first;
        files->setSaveFileChooser([&](QWidget *) { ++asked; return answer; });
        form->show();
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        fillChannel(form->channelTable(), 4, QStringLiteral("438.50000"), form->channelTable()->marks());

        QTest::keyClick(form.get(), Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(asked, 1);
        QVERIFY(QFileInfo::exists(first));
        fillChannel(form->channelTable(), 5, QStringLiteral("439.50000"), form->channelTable()->marks());
        QTest::keyClick(form.get(), Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(asked, 1);
        QVERIFY(!form->document()->isModified());
        QVERIFY(readAll(first).contains("439.50000"));

        answer = second;
        QTest::keyClick(form.get(), Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(asked, 2);
        QCOMPARE(form->document()->filePath(), second);

        form->document()->newCodeplug();
        control<QAction>(*form, "segs1")->trigger();
        QCOMPARE(asked, 3);
    }

    // File > Export channels, then Import channels into an emptied table: the same channels
    // come back, as one step; a file with a refused line changes nothing and names the line.
    void exportThenImportChannels()
    {
        auto form = window();
        const QString csv = dir.filePath(QStringLiteral("channels.csv"));
        CodeplugFiles *files = form->codeplugFiles();
        files->setCsvSaveChooser([csv](QWidget *) { return csv; });
        files->setCsvOpenChooser([csv](QWidget *) { return csv; });
        const Marks marks = form->channelTable()->marks();
        fillChannel(form->channelTable(), 1, QStringLiteral("438.50000"), marks);
        fillChannel(form->channelTable(), 128, QStringLiteral("136.00625"), marks);
        form->channelTable()->setCell(ChannelTable::Grid1, 3, 128, QStringLiteral("146.00625"));
        const ChannelCells before = form->channelTable()->cells();

        control<QAction>(*form, "exportChannelsAction")->trigger();
        QVERIFY2(notices.isEmpty(), qPrintable(notices.join('\n')));
        QVERIFY(readAll(csv).startsWith("Location,Name,Frequency,"));
        form->document()->clearChannels();
        QVERIFY(form->channelTable()->cells() != before);

        QSignalSpy steps(form->document(), &CodeplugDocument::stepRecorded);
        control<QAction>(*form, "importChannelsAction")->trigger();
        QVERIFY2(notices.isEmpty(), qPrintable(notices.join('\n')));
        QCOMPARE(form->channelTable()->cells(), before);
        QCOMPARE(steps.count(), 1);

        writeAll(csv, readAll(csv) + "129,X,440.000000,,,,,,,,,,FM,,,High\r\n");
        form->document()->clearChannels();
        const ChannelCells empty = form->channelTable()->cells();
        control<QAction>(*form, "importChannelsAction")->trigger();
        QCOMPARE(notices.size(), 1);
        QVERIFY2(notices.first().contains(QStringLiteral("Line 4: the location 129 is not a channel from 1 to 128.")),
                 qPrintable(notices.first()));
        QCOMPARE(form->channelTable()->cells(), empty);
    }

    // Ctrl+C on channel 5 of the grid, Ctrl+V on channel 9: channel 9 becomes channel 5, as
    // one step; text that is not channel rows is refused and changes nothing.
    void copyThenPasteChannel()
    {
        auto form = window();
        fillChannel(form->channelTable(), 5, QStringLiteral("438.50000"), form->channelTable()->marks());
        form->show();
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        ChannelGrid *grid = control<ChannelGrid>(*form, "StringAlignGrid1");
        grid->setCurrentCell(1, 5);
        grid->setFocus();
        QTest::keyClick(grid, Qt::Key_C, Qt::ControlModifier);
        QVERIFY(QGuiApplication::clipboard()->text().startsWith(QStringLiteral("5\tR5\t438.500000\t")));

        grid->setCurrentCell(1, 9);
        QSignalSpy steps(form->document(), &CodeplugDocument::stepRecorded);
        QTest::keyClick(grid, Qt::Key_V, Qt::ControlModifier);
        QVERIFY2(notices.isEmpty(), qPrintable(notices.join('\n')));
        for (int c = 1; c <= 10; ++c)
            QCOMPARE(form->channelTable()->cell(ChannelTable::Grid1, c, 9), form->channelTable()->cell(ChannelTable::Grid1, c, 5));
        for (int a = 1; a <= 7; ++a)
            QCOMPARE(form->channelTable()->cell(ChannelTable::Grid2, a, 9), form->channelTable()->cell(ChannelTable::Grid2, a, 5));
        QCOMPARE(steps.count(), 1);

        const ChannelCells before = form->channelTable()->cells();
        QGuiApplication::clipboard()->setText(QStringLiteral("just some words"));
        grid->setCurrentCell(1, 12);
        QTest::keyClick(grid, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(notices.size(), 1);
        QCOMPARE(form->channelTable()->cells(), before);
    }

    // A paste while channel 10's receive frequency is open in its overlay: the overlay closes
    // with the paste and never writes back the text it showed before, not when another cell
    // is clicked either. The same for the alias overlay and an undo.
    void outsideChangeClosesTheOpenOverlay()
    {
        auto form = window();
        ChannelTable *t = form->channelTable();
        const Marks marks = t->marks();
        fillChannel(t, 10, QStringLiteral("438.50000"), marks);
        for (int row = 20; row <= 22; ++row)
            fillChannel(t, row, QStringLiteral("43%1.12500").arg(row - 14), marks);
        form->show();
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        ChannelGrid *grid = control<ChannelGrid>(*form, "StringAlignGrid1");
        QGuiApplication::clipboard()->setText(CsvChannels::copyText(t->cells(), {20, 21, 22}, ToneList::instance()));

        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cellPoint(grid, 1, 10));
        QLineEdit *frequency = control<ChannelEditor>(*form, "channelEditor")->bsSkinEdit1;
        QVERIFY(frequency->isVisible());
        QCOMPARE(frequency->text(), QStringLiteral("438.50000"));
        QTest::keyClick(grid, Qt::Key_V, Qt::ControlModifier);
        QVERIFY2(notices.isEmpty(), qPrintable(notices.join('\n')));
        QVERIFY(!frequency->isVisible());
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cellPoint(grid, 1, 30));
        for (int c = 1; c <= 10; ++c)
            QCOMPARE(t->cell(ChannelTable::Grid1, c, 10), t->cell(ChannelTable::Grid1, c, 20));

        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cellPoint(grid, ChannelTable::AliasColumn, 21));
        QLineEdit *alias = control<ChannelEditor>(*form, "channelEditor")->bsSkinEdit7;
        QVERIFY(alias->isVisible());
        QTest::keyClicks(grid, QStringLiteral("A"));
        QTest::keyClicks(alias, QStringLiteral("B"));
        QCOMPARE(t->cell(ChannelTable::Grid1, ChannelTable::AliasColumn, 21), QStringLiteral("AB"));
        control<QAction>(*form, "undoAction")->trigger();
        QCOMPARE(t->cell(ChannelTable::Grid1, ChannelTable::AliasColumn, 21), QStringLiteral("R21"));
        QVERIFY(!alias->isVisible());
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cellPoint(grid, 1, 30));
        QCOMPARE(t->cell(ChannelTable::Grid1, ChannelTable::AliasColumn, 21), QStringLiteral("R21"));
    }

    // Rows are selected by the channel-number column: a click, Shift and Ctrl with a click,
    // a drag, Shift+Down and Ctrl+A. The clicked row becomes the current one without any
    // mark flipping; Ctrl+C copies the selected rows and Ctrl+V pastes from the first one.
    void rowsSelectedByTheNumberColumn()
    {
        auto form = window();
        ChannelTable *t = form->channelTable();
        const Marks marks = t->marks();
        for (int row : {10, 11, 12})
            fillChannel(t, row, QStringLiteral("43%1.12500").arg(row - 5), marks);
        form->show();
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        ChannelGrid *grid = control<ChannelGrid>(*form, "StringAlignGrid1");
        grid->setCurrentCell(ChannelTable::PowerColumn, 3);
        const ChannelCells before = t->cells();

        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cellPoint(grid, 0, 10));
        QCOMPARE(grid->selectedRows(), QList<int>{10});
        QCOMPARE(grid->currentRow(), 10);
        QCOMPARE(t->cells(), before);   // the power mark of channel 10 stayed as it was
        QVERIFY(grid->selectionModel()->isRowSelected(9, {}));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::ShiftModifier, cellPoint(grid, 0, 12));
        QCOMPARE(grid->selectedRows(), (QList<int>{10, 11, 12}));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::ControlModifier, cellPoint(grid, 0, 11));
        QCOMPARE(grid->selectedRows(), (QList<int>{10, 12}));
        QCOMPARE(t->cells(), before);

        grid->setFocus();
        QTest::keyClick(grid, Qt::Key_C, Qt::ControlModifier);
        const QStringList copied = QGuiApplication::clipboard()->text().split(QStringLiteral("\n"), Qt::SkipEmptyParts);
        QVERIFY2(copied.size() >= 2 && copied.at(copied.size() - 2).startsWith(QStringLiteral("10\t"))
                     && copied.last().startsWith(QStringLiteral("12\t")),
                 qPrintable(copied.join('|')));

        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cellPoint(grid, 0, 30));
        QTest::keyClick(grid, Qt::Key_V, Qt::ControlModifier);
        QVERIFY2(notices.isEmpty(), qPrintable(notices.join('\n')));
        for (int c = 1; c <= 10; ++c) {
            QCOMPARE(t->cell(ChannelTable::Grid1, c, 30), t->cell(ChannelTable::Grid1, c, 10));
            QCOMPARE(t->cell(ChannelTable::Grid1, c, 31), t->cell(ChannelTable::Grid1, c, 12));
        }
        QVERIFY(t->isEmptyChannel(2) && t->isEmptyChannel(32));

        QTest::keyClick(grid, Qt::Key_Down, Qt::ShiftModifier);
        QCOMPARE(grid->selectedRows(), (QList<int>{30, 31}));
        QTest::keyClick(grid, Qt::Key_Down);
        QVERIFY(grid->selectedRows().isEmpty());

        QTest::mousePress(grid->viewport(), Qt::LeftButton, {}, cellPoint(grid, 0, 5));
        QTest::mouseMove(grid->viewport(), cellPoint(grid, 0, 8));
        QTest::mouseRelease(grid->viewport(), Qt::LeftButton, {}, cellPoint(grid, 0, 8));
        QCOMPARE(grid->selectedRows(), (QList<int>{5, 6, 7, 8}));

        QTest::keyClick(grid, Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(grid->selectedRows().size(), int(ChannelTable::ChannelCount));
        // A press on a channel cell ends the selection.
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cellPoint(grid, 1, 6));
        QVERIFY(grid->selectedRows().isEmpty());
    }

    // File > Open backup replaces the editor as Open does: over unsaved edits it asks first,
    // Cancel stops before the dialog, Discard goes on and opens the chosen backup.
    void openBackupAsksFirst()
    {
        const QString backup = dir.filePath(QStringLiteral("KVT560-2026-12-10T14-03-22.k56"));
        auto source = window(QString(), backup);
        fillChannel(source->channelTable(), 7, QStringLiteral("436.12500"), source->channelTable()->marks());
        QVERIFY(source->codeplugFiles()->saveTo(backup));

        auto form = window();
        int asked = 0, chosen = 0;
        Tform1::UnsavedAnswer answer = Tform1::UnsavedAnswer::Cancel;
        form->setUnsavedQuestion([&](const LanguageTexts &) { ++asked; return answer; });
        form->codeplugFiles()->setBackupFileChooser([&](QWidget *) { ++chosen; return backup; });
        fillChannel(form->channelTable(), 3, QStringLiteral("438.50000"), form->channelTable()->marks());
        const ChannelCells edited = form->channelTable()->cells();
        control<QAction>(*form, "openBackupAction")->trigger();
        QCOMPARE(asked, 1);
        QCOMPARE(chosen, 0);
        QCOMPARE(form->channelTable()->cells(), edited);

        answer = Tform1::UnsavedAnswer::Discard;
        control<QAction>(*form, "openBackupAction")->trigger();
        QCOMPARE(asked, 2);
        QCOMPARE(chosen, 1);
        QVERIFY2(notices.isEmpty(), qPrintable(notices.join('\n')));
        QCOMPARE(form->channelTable()->cell(ChannelTable::Grid1, 1, 7), QStringLiteral("436.12500"));
        QVERIFY(form->channelTable()->cell(ChannelTable::Grid1, 1, 3).isEmpty());
        QVERIFY(!form->document()->isModified());
    }

    void init()
    {
        notices.clear();
        QFile::remove(iniPath());
    }

    void saveThenOpenFromMenuAndToolbar()
    {
        const QString stem = dir.filePath(QStringLiteral("plug"));
        auto form = window(stem + QStringLiteral(".k56"), stem);
        SettingsStore *store = form->settingsStore();
        QVERIFY(store->setValue(QStringLiteral("bsSkinComboBox1"), 13));   // APO 13H
        QVERIFY(store->setValue(QStringLiteral("bsSkinComboBox10"), 0));
        QVERIFY(store->setValue(QStringLiteral("bsSkinSpinEdit17"), 150));
        QVERIFY(store->setValue(QStringLiteral("bsSkinEdit3"), QStringLiteral("999")));
        QVERIFY(store->setValue(QStringLiteral("bsSkinStringGrid1:4"), QStringLiteral("A#")));
        control<QComboBox>(*form, "bsSkinComboBox20")->setCurrentIndex(1);
        control<QCheckBox>(*form, "bsSkinCheckRadioBox14")->setChecked(true);
        control<QComboBox>(*form, "bsSkinComboBox22")->setCurrentIndex(0);   // band 2
        fillChannel(form->channelTable(), 1, QStringLiteral("438.50000"), Marks::forLanguage(1));
        fillChannel(form->channelTable(), 128, QStringLiteral("350.00625"), Marks::forLanguage(1));
        const EditorState saved(*form);
        const SettingsValues savedSettings = form->codeplugFiles()->currentContent().settings;   // with the band controls

        control<QAction>(*form, "segs1")->trigger();
        QVERIFY(notices.isEmpty());
        QVERIFY2(QFile::exists(stem + QStringLiteral(".k56")), "the extension is appended");
        QCOMPARE(readAll(stem + QStringLiteral(".k56")), CodeplugFile::write(form->codeplugFiles()->currentContent()));

        // Everything changed, then opened through the toolbar button.
        store->resetToNew();
        QVERIFY(store->setValue(QStringLiteral("bsSkinComboBox1"), 2));
        form->channelTable()->emptyAll();
        control<QComboBox>(*form, "bsSkinComboBox20")->setCurrentIndex(0);
        control<QCheckBox>(*form, "bsSkinCheckRadioBox14")->setChecked(false);
        QVERIFY(!(EditorState(*form) == saved));
        auto *bar = form->findChild<QToolBar *>(QStringLiteral("toolBar"));
        auto *openButton = qobject_cast<QToolButton *>(bar->widgetForAction(control<QAction>(*form, "rsgg1")));
        QVERIFY(openButton);
        openButton->click();

        QVERIFY(notices.isEmpty());
        const EditorState opened(*form);
        QVERIFY(opened.settings == savedSettings);
        QVERIFY(opened.channels == saved.channels);
        QCOMPARE(opened.band1Rx, saved.band1Rx);
        QCOMPARE(opened.band1RxNow, 1);
        QVERIFY(control<QCheckBox>(*form, "bsSkinCheckRadioBox14")->isChecked());
        QCOMPARE(control<QComboBox>(*form, "bsSkinComboBox22")->currentIndex(), 0);
        QVERIFY(control<QComboBox>(*form, "bsSkinComboBox22")->isEnabled());
        QCOMPARE(form->windowTitle(), QStringLiteral("KVT560    [350-390MHz][*]"));
        QCOMPARE(control<QTabWidget>(*form, "pageControl")->currentIndex(), int(Tform1::ChannelPage));
    }

    void typedFrequencyIsCommittedBeforeSaving()
    {
        const QString path = dir.filePath(QStringLiteral("typed.k56"));
        auto form = window({}, path);
        form->show();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        ChannelGrid *grid = control<ChannelGrid>(*form, "StringAlignGrid1");
        QLineEdit *freq = control<ChannelEditor>(*form, "channelEditor")->bsSkinEdit1;
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->cellRect(1, 3).center());
        QTest::keyClicks(grid, QStringLiteral("4"));
        QTest::keyClicks(freq, QStringLiteral("39.1"));
        form->showPage(Tform1::DtmfPage);
        control<QAction>(*form, "segs1")->trigger();
        QCOMPARE(control<QTabWidget>(*form, "pageControl")->currentIndex(), int(Tform1::ChannelPage));
        QVERIFY(freq->isHidden());
        const QStringList lines = CodeplugFile::decodeLines(readAll(path));
        QVERIFY2(lines.value(61).startsWith(QStringLiteral("CH003 | 439.10000 | ")), qPrintable(lines.value(61)));
    }

    void openAppendsUnknownRangesKeptAtExit()
    {
        Codeplug c;
        c.bandRanges = QStringList{"136-174MHz", QString(), "136-174MHz", QString()};
        const QString path = dir.filePath(QStringLiteral("vhf.k56"));
        writeAll(path, CodeplugFile::write(c));
        {
            auto form = window(path);
            control<QAction>(*form, "rsgg1")->trigger();
            QCOMPARE(control<QComboBox>(*form, "bsSkinComboBox20")->count(), 3);
            QCOMPARE(control<QComboBox>(*form, "bsSkinComboBox20")->currentIndex(), 2);
            QCOMPARE(control<QComboBox>(*form, "bsSkinComboBox6")->count(), 1);   // already listed: selected, not added
            QCOMPARE(control<QComboBox>(*form, "bsSkinComboBox21")->count(), 0);  // no text in the file: left alone
            QCOMPARE(form->windowTitle(), QStringLiteral("KVT560    [136-174MHz][*]"));
        }
        IniFile ini;
        ini.load(iniPath());
        const Preferences p = Preferences::fromIni(ini);
        QCOMPARE(p.lists[Preferences::List1Rx].items,
                 QStringList({"400-470MHz", "350-390MHz", "136-174MHz"}));
        QCOMPARE(p.lists[Preferences::List1Rx].now, 2);
    }

    void filesThatChangeNothing_data()
    {
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("notice");
        QTest::newRow("bad number late in the settings")
            << 50 << "Auto Reset 1O" << "'1O' is not a valid floating point value";
        QTest::newRow("bad index") << 57 << "Key Assignment x" << "'x' is not a valid integer value";
        QTest::newRow("first line in other letter case") << 1 << "kvt560 memory channel" << QString();
    }
    void filesThatChangeNothing()
    {
        QFETCH(int, line);
        QFETCH(QString, text);
        QFETCH(QString, notice);
        // A file that would change the bands, settings and channels if any of it were applied.
        Codeplug c;
        c.bandRanges = QStringList{"136-174MHz"};
        QVERIFY(c.settings.set(QStringLiteral("bsSkinComboBox1"), 15));
        QVERIFY(c.settings.set(QStringLiteral("bsSkinCheckRadioBox8"), 0));
        c.channels.setColumn(1, 3, QStringLiteral("401.00000"));
        QStringList lines = CodeplugFile::lines(c);
        lines[line - 1] = text;
        const QString path = dir.filePath(QStringLiteral("bad.k56"));
        writeAll(path, CodeplugFile::encode(lines));

        auto form = window(path);
        fillChannel(form->channelTable(), 1, QStringLiteral("438.50000"), Marks::forLanguage(1));
        const EditorState before(*form);
        control<QAction>(*form, "rsgg1")->trigger();
        QCOMPARE(notices, notice.isEmpty() ? QStringList() : QStringList{notice});
        QVERIFY(EditorState(*form) == before);
    }

    void failedSaveNamesTheFileAndKeepsTheOldOne()
    {
        // One character short of the longest name: the temporary file beside it cannot exist.
        const QString path = dir.filePath(QString(251, QLatin1Char('x')) + QStringLiteral(".k56"));
        writeAll(path, "old contents\r\n");
        auto form = window({}, path);
        control<QAction>(*form, "segs1")->trigger();
        QCOMPARE(notices.size(), 1);
        QVERIFY2(notices.constFirst().contains(QString(251, QLatin1Char('x'))), qPrintable(notices.constFirst()));
        QCOMPARE(readAll(path), QByteArray("old contents\r\n"));
    }

    void saveOntoAFullDiskNamesTheFileAndTheReason()
    {
        SmallDisk disk;
        if (!disk.isMounted())
            QSKIP(qPrintable(disk.whyNot()));
        QVERIFY(disk.put(QStringLiteral("radio.k56"), "old contents\r\n"));
        QVERIFY(disk.fill(4096));   // room for a part of the file only
        auto form = window({}, disk.filePath(QStringLiteral("radio.k56")));
        control<QAction>(*form, "segs1")->trigger();
        QCOMPARE(notices.size(), 1);
        QVERIFY2(notices.constFirst().contains(QStringLiteral("radio.k56"))
                     && notices.constFirst().contains(QString::fromLocal8Bit(std::strerror(ENOSPC))),
                 qPrintable(notices.constFirst()));
        QCOMPARE(readAll(disk.filePath(QStringLiteral("radio.k56"))), QByteArray("old contents\r\n"));
        QCOMPARE(disk.files(), QStringList{QStringLiteral("radio.k56")});
    }

    void unreadableFileIsReported()
    {
        auto form = window(dir.filePath(QStringLiteral("nowhere/missing.k56")));
        const EditorState before(*form);
        control<QAction>(*form, "rsgg1")->trigger();
        QCOMPARE(notices.size(), 1);
        QVERIFY(notices.constFirst().contains(QStringLiteral("missing.k56")));
        QVERIFY(EditorState(*form) == before);
    }

    void cancelledDialogDoesNothing()
    {
        auto form = window();
        const QStringList files = QDir(dir.path()).entryList(QDir::Files);
        const EditorState before(*form);
        control<QAction>(*form, "segs1")->trigger();
        control<QAction>(*form, "rsgg1")->trigger();
        QVERIFY(notices.isEmpty());
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), files);
        QVERIFY(EditorState(*form) == before);
    }

    // The file dialogs start in the folder last used, kept in myini.ini; a file chosen in
    // the program's own folder or the backups folder leaves the start where it was; with no
    // folder kept they start in the documents folder.
    void dialogsStartInTheFolderLastUsed()
    {
        QTemporaryDir work, app;
        const QString chosen = QDir(work.path()).filePath(QStringLiteral("radio.k56"));
        {
            auto form = window(chosen, QDir(app.path()).filePath(QStringLiteral("inside.k56")));
            form->setExecutableDir(app.path());
            CodeplugFiles *files = form->codeplugFiles();
            const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
            QDir().mkpath(documents);
            QCOMPARE(files->startFolder(), documents);
            QVERIFY(files->saveTo(chosen));
            control<QAction>(*form, "rsgg1")->trigger();
            QCOMPARE(files->startFolder(), work.path());
            control<QAction>(*form, "saveAsAction")->trigger();   // into the program's folder
            QCOMPARE(files->startFolder(), work.path());
            form->close();
        }
        IniFile ini;
        QVERIFY(ini.load(iniPath()));
        QCOMPARE(ini.value(QStringLiteral("folders"), QStringLiteral("last")).value_or(QString()), work.path());
        auto again = window();
        QCOMPARE(again->codeplugFiles()->startFolder(), work.path());
    }

    void fileDialogs()
    {
        struct Seen {
            QString title, filter, suffix;
            QFileDialog::FileMode mode = QFileDialog::AnyFile;
            bool confirmOverwrite = true;
        } seen;
        auto answer = [&seen] {
            auto *d = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
            if (!d)
                return;
            seen = {d->windowTitle(), d->nameFilters().join(QLatin1Char(';')), d->defaultSuffix(), d->fileMode(),
                    !d->testOption(QFileDialog::DontConfirmOverwrite)};
            d->reject();
        };
        QTimer::singleShot(0, answer);
        QCOMPARE(CodeplugFiles::askSaveFile(nullptr), QString());
        QCOMPARE(CodeplugFiles::dialogFilter(), QStringLiteral("NQS-552  文件 (*.k56)"));
        // The dialog shows its filters with runs of blanks made single.
        QCOMPARE(seen.title, QStringLiteral("保存"));
        QCOMPARE(seen.filter, CodeplugFiles::dialogFilter().simplified());
        QCOMPARE(seen.suffix, QStringLiteral("k56"));
        QVERIFY(!seen.confirmOverwrite);

        QTimer::singleShot(0, answer);
        QCOMPARE(CodeplugFiles::askOpenFile(nullptr), QString());
        QCOMPARE(seen.title, QStringLiteral("打开"));
        QCOMPARE(seen.filter, CodeplugFiles::dialogFilter().simplified());
        QCOMPARE(seen.mode, QFileDialog::ExistingFile);

        QCOMPARE(CodeplugFiles::withDefaultSuffix(QStringLiteral("/a/b")), QStringLiteral("/a/b.k56"));
        QCOMPARE(CodeplugFiles::withDefaultSuffix(QStringLiteral("/a/b.txt")), QStringLiteral("/a/b.txt"));
    }
};

REGISTER_TEST(TestCodeplugCommands)
#include "tst_codeplugcommands.moc"
