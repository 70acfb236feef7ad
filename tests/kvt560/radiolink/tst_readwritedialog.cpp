// The read and write commands of the main window and the dialog TR_and_W, driven through
// the real main window against the simulated radio.
#include "Controls.h"
#include "RadioSimulator.h"
#include "TestRegistry.h"
#include "codeplug/CodeplugDocument.h"
#include "common/Backups.h"
#include "common/SerialPorts.h"
#include "channels/ChannelTable.h"
#include "radiolink/MemoryLayout.h"
#include "radiolink/ui/RadioCommands.h"
#include "radiolink/ui/TR_and_W.h"
#include "settings/SettingsStore.h"
#include "shell/ui/Tform1.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QScopeGuard>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

namespace {

const LinkTiming Fast{10, 40, 30, 20};

struct Notice {
    QString caption;
    QString text;
};

// A main window whose port COM1 is `device`, its read/write dialog and commands; notices
// are collected instead of shown.
struct Bench {
    QTemporaryDir dir;
    std::unique_ptr<Tform1> form;
    std::unique_ptr<TR_and_W> dialog;
    std::unique_ptr<RadioCommands> commands;
    QList<Notice> notices;

    explicit Bench(const QString &device, const QString &openKeys = QString())
    {
        QFile ini(dir.filePath("myini.ini"));
        if (ini.open(QIODevice::WriteOnly))
            ini.write(QStringLiteral("[open]\ncom=1\ncommode=13\n%2[list1_rx]\nlistnow=0\nlistcount=1\n"
                                     "combo0=430-440MHz\n[ports]\nCOM1=%1\n").arg(device, openKeys).toUtf8());
        ini.close();
        form = std::make_unique<Tform1>(PreferencesPaths::single(ini.fileName()));
        dialog = std::make_unique<TR_and_W>(form.get());
        commands = std::make_unique<RadioCommands>(form->document(), form->radioCommandWindow(), *dialog);
        form->setRadioCommands(commands.get());
        // Edits not saved are given up when the radio is read (tst_undo covers the question).
        form->setUnsavedQuestion([](const LanguageTexts &) { return Tform1::UnsavedAnswer::Discard; });
        commands->setTiming(Fast);
        commands->setNotice([this](const QString &c, const QString &t) { notices.append({c, t}); });
    }
    ~Bench()
    {
        commands.reset();
        dialog.reset();
        form.reset();
    }
};

// Link whose port never opens.
class DeadLink : public RadioLink
{
public:
    bool open() override { return false; }
    void close() override {}
    bool isOpen() const override { return false; }
    QString exchange(const QString &, int) override { ++sent; return {}; }
    void sendAndWait(const QString &, int) override { ++sent; }
    void wait(int) override {}
    int sent = 0;
};

QString samplePath() { return QStringLiteral(SOURCE_DIR "/tools/radiosim/samples/kvt560-demo.bin"); }

QStringList items(const QComboBox *box)
{
    QStringList out;
    for (int i = 0; i < box->count(); ++i)
        out << box->itemText(i);
    return out;
}

} // namespace

class TestReadWriteDialog : public QObject
{
    Q_OBJECT
private slots:
    void readFillsMainWindow();
    void failedReadChangesNothing();
    void portThatCannotBeOpened();
    void openFailureLeavesDialogUsable();
    void cablePulledOut_data();
    void cablePulledOut();
    void writeDialogAndFirstChannel();
    void strayValuesAreNamedAndUnwritableChannelsRefused();
    void fastLinkIsRemembered();
    void verifyAfterWriting_data();
    void verifyAfterWriting();
    void windowReadLeavesBackup();
    void stopTransfer_data();
    void stopTransfer();
};

void TestReadWriteDialog::readFillsMainWindow()
{
    RadioSimulator sim;
    QVERIFY(sim.start({"--no-pacing", "--memory", samplePath()}));
    Bench bench(sim.device());
    ChannelTable *table = bench.form->channelTable();

    bool ran = false, closeRefused = false, openDuringTransfer = false, openAfterClose = true;
    int gauge = -1;
    bench.commands->setDialogRunner([&](TR_and_W &d) {
        ran = true;
        QCOMPARE(d.windowTitle(), QString::fromUtf8("频率读出"));
        QCOMPARE(d.bsSkinButton1->text(), QString::fromUtf8("读频"));
        QCOMPARE(d.bsSkinGauge1->maximum(), 138);
        QCOMPARE(d.height(), 220);
        d.show();
        QTimer::singleShot(200, &d, [&] {
            d.bsSkinButton2->click();
            d.reject();
            closeRefused = d.isVisible() && d.isTransferRunning() && !d.bsSkinButton1->isEnabled();
            openDuringTransfer = bench.commands->MSComm1().isOpen();
        });
        QTest::mouseClick(d.bsSkinButton1, Qt::LeftButton);
        gauge = d.bsSkinGauge1->value();
        QVERIFY(d.bsSkinButton1->isEnabled());
        d.bsSkinButton2->click();
        openAfterClose = bench.commands->MSComm1().isOpen();
    });
    control<QAction>(*bench.form, "gs1")->trigger();

    QVERIFY(ran);
    QVERIFY(closeRefused);
    QVERIFY(openDuringTransfer);
    QVERIFY(!openAfterClose);
    QVERIFY(!bench.dialog->isVisible());
    QCOMPARE(gauge, 138);
    QCOMPARE(bench.notices.size(), 0);

    QCOMPARE(table->cell(ChannelTable::Grid1, 1, 1), QString("430.00000"));
    QCOMPARE(table->cell(ChannelTable::Grid1, 4, 68), QString("D412I"));
    QCOMPARE(table->cell(ChannelTable::Grid1, 10, 128), QString("VHF128"));
    QCOMPARE(table->cell(ChannelTable::Grid2, 5, 68), QString("226"));
    QCOMPARE(bench.form->settingsStore()->number("bsSkinComboBox9"), 3);
    QCOMPARE(bench.form->settingsStore()->text("bsSkinEdit3"), QString("10101"));
    // Band ranges: appended where new, selected where present.
    QCOMPARE(items(control<QComboBox>(*bench.form, "bsSkinComboBox20")), (QStringList{"430-440MHz", "400-470MHz"}));
    QCOMPARE(control<QComboBox>(*bench.form, "bsSkinComboBox20")->currentText(), QString("400-470MHz"));
    QCOMPARE(control<QComboBox>(*bench.form, "bsSkinComboBox6")->currentText(), QString("136-174MHz"));
    QVERIFY(control<QCheckBox>(*bench.form, "bsSkinCheckRadioBox14")->isChecked());
}

// The radio stops answering at channel 6: the notice, and not one cell or setting changed.
void TestReadWriteDialog::failedReadChangesNothing()
{
    RadioSimulator sim;
    QVERIFY(sim.start({"--no-pacing", "--memory", samplePath(), "--stop-after", "11"}));
    Bench bench(sim.device());
    ChannelTable *table = bench.form->channelTable();
    table->setCell(ChannelTable::Grid1, 1, 1, "438.50000");
    table->setCell(ChannelTable::Grid1, 10, 7, "KEEP");
    QVERIFY(bench.form->settingsStore()->setValue("bsSkinComboBox9", 8));
    const ChannelCells before = table->cells();
    const SettingsValues settingsBefore = bench.form->settingsStore()->snapshot();
    const QStringList bandsBefore = items(control<QComboBox>(*bench.form, "bsSkinComboBox20"));

    bench.commands->setDialogRunner([](TR_and_W &d) {
        d.show();
        d.bsSkinButton1->click();
        QVERIFY(d.bsSkinButton1->isEnabled());
        d.close();
    });
    control<QAction>(*bench.form, "gs1")->trigger();

    QCOMPARE(bench.notices.size(), 1);
    QCOMPARE(bench.notices.first().caption, bench.dialog->linkErrorCaption());
    QCOMPARE(bench.notices.first().text, bench.dialog->linkErrorText());
    QVERIFY(table->cells() == before);
    QVERIFY(bench.form->settingsStore()->snapshot() == settingsBefore);
    QCOMPARE(items(control<QComboBox>(*bench.form, "bsSkinComboBox20")), bandsBefore);
}

void TestReadWriteDialog::portThatCannotBeOpened()
{
    SerialPorts::setListing([] { return QList<SerialDevice>(); });
    const auto restore = qScopeGuard([] { SerialPorts::setListing({}); });
    Bench bench(QStringLiteral("/dev/no-such-port"));
    // The notice texts and the dialog's own texts come from the language library.
    bench.form->setExecutableDir(QStringLiteral(APP_DIR));
    control<QAction>(*bench.form, "English1")->trigger();
    QCOMPARE(bench.dialog->bsSkinButton2->text(), QString("Close"));
    bool ran = false;
    bench.commands->setDialogRunner([&](TR_and_W &) { ran = true; });
    control<QAction>(*bench.form, "N2")->trigger();
    QVERIFY(!ran);
    QCOMPARE(bench.notices.size(), 1);
    QCOMPARE(bench.notices.first().caption, QString("Communication error"));
    QVERIFY(bench.notices.first().text.startsWith("The serial port cannot be opened."));
    // The second line says which device is missing, and that there is none at all.
    QCOMPARE(bench.notices.first().text.section(QLatin1Char('\n'), 1),
             QString("/dev/no-such-port is not there, and no serial device is connected."));
}

// The port was free when probed but cannot be opened: the port notice, and the dialog
// still starts transfers and closes.
void TestReadWriteDialog::openFailureLeavesDialogUsable()
{
    TR_and_W dialog;
    DeadLink link;
    QStringList notices;
    dialog.setLink(&link);
    dialog.setTiming(Fast);
    dialog.setNotice([&](const QString &, const QString &text) { notices << text; });
    dialog.Tag = RadioTransfer::ReadKind;

    QVERIFY(!dialog.openPort());
    QCOMPARE(notices, QStringList{dialog.portErrorText()});
    dialog.show();
    dialog.bsSkinButton1->click();
    QCOMPARE(dialog.lastOutcome(), RadioTransfer::Outcome::PortError);
    QCOMPARE(notices.size(), 2);
    QCOMPARE(link.sent, 1);   // only the end frame
    QVERIFY(dialog.bsSkinButton1->isEnabled());
    dialog.bsSkinButton2->click();
    QVERIFY(!dialog.isVisible());
}

// The radio's line closes in mid-transfer, as a cable pulled out: within two seconds of the
// last block that went through the transfer ends with the link notice and the line about the
// device (a read changes nothing in the editor), and the dialog takes the next command.
void TestReadWriteDialog::cablePulledOut_data()
{
    QTest::addColumn<bool>("reading");
    QTest::addColumn<QString>("line");
    QTest::newRow("read") << true << PortProblemTexts::english().lostRead;   // no library beside the tests
    QTest::newRow("write") << false << PortProblemTexts::english().lostWrite;
}

void TestReadWriteDialog::cablePulledOut()
{
    QFETCH(bool, reading);
    QFETCH(QString, line);
    RadioSimulator sim;
    QVERIFY(sim.start({"--no-pacing", "--memory", samplePath(), "--hang-up-at", "10"}));
    Bench bench(sim.device());
    bench.commands->setTiming(LinkTiming::standard());
    ChannelTable *table = bench.form->channelTable();
    table->setCell(ChannelTable::Grid1, 1, 1, "438.50000");
    const ChannelCells before = table->cells();
    const SettingsValues settingsBefore = bench.form->settingsStore()->snapshot();

    QElapsedTimer clock;
    qint64 lastStepAt = 0, endedAt = 0;
    bool usableAfter = false;
    bench.commands->setDialogRunner([&](TR_and_W &d) {
        d.show();
        connect(d.bsSkinGauge1, &QProgressBar::valueChanged, &d, [&] { lastStepAt = clock.elapsed(); });
        clock.start();
        d.bsSkinButton1->click();
        endedAt = clock.elapsed();
        usableAfter = d.bsSkinButton1->isEnabled() && !d.isTransferRunning();
        // Another try finds the device gone: the port notice says so.
        d.bsSkinButton1->click();
        d.bsSkinButton2->click();
    });
    (reading ? control<QAction>(*bench.form, "gs1") : control<QAction>(*bench.form, "N2"))->trigger();

    QVERIFY(lastStepAt > 0);
    QVERIFY2(endedAt - lastStepAt < 2000, qPrintable(QString::number(endedAt - lastStepAt)));
    QVERIFY(usableAfter);
    QVERIFY(!bench.dialog->isVisible());
    QCOMPARE(bench.notices.size(), 2);
    QCOMPARE(bench.notices.at(0).text, bench.dialog->linkErrorText() + QLatin1Char('\n') + line.arg(sim.device()));
    QVERIFY(bench.notices.at(1).text.startsWith(bench.dialog->portErrorText() + QLatin1Char('\n') + sim.device()));
    if (reading) {
        QVERIFY(table->cells() == before);
        QVERIFY(bench.form->settingsStore()->snapshot() == settingsBefore);
    }
}

void TestReadWriteDialog::writeDialogAndFirstChannel()
{
    RadioSimulator sim;
    QVERIFY(sim.start({"--no-pacing"}));
    Bench bench(sim.device());
    int first = 0;
    bench.commands->setDialogRunner([&](TR_and_W &d) {
        QCOMPARE(d.windowTitle(), QString::fromUtf8("频率写入"));
        QCOMPARE(d.bsSkinButton1->text(), QString::fromUtf8("写频"));
        QCOMPARE(d.bsSkinGauge1->maximum(), 148);
        QCOMPARE(d.Tag, int(RadioTransfer::WriteKind));
        d.show();
        first = d.firstChannel();
        d.close();
    });

    // No channel in the active band's receive range (430-440 MHz): VFO mode.
    QVERIFY(bench.form->settingsStore()->setValue("bsSkinComboBox7", 0));
    QVERIFY(bench.form->settingsStore()->setValue("bsSkinComboBox12", 0));
    bench.form->channelTable()->setCell(ChannelTable::Grid1, 1, 2, "150.00000");
    control<QAction>(*bench.form, "N2")->trigger();
    QCOMPARE(first, 0xFF);
    QCOMPARE(bench.form->settingsStore()->number("bsSkinComboBox7"), 1);
    QCOMPARE(bench.form->settingsStore()->number("bsSkinComboBox12"), 1);

    QVERIFY(bench.form->settingsStore()->setValue("bsSkinComboBox7", 0));
    bench.form->channelTable()->setCell(ChannelTable::Grid1, 1, 5, "438.00625");
    control<QAction>(*bench.form, "N2")->trigger();
    QCOMPARE(first, 0x05);
    QCOMPARE(bench.form->settingsStore()->number("bsSkinComboBox7"), 0);
    QCOMPARE(bench.notices.size(), 0);
}

// A radio holding values it should not: the read fills the nearest valid values and names
// each field on the status bar; a write of a channel whose frequency has no form in memory is
// refused with the channel's number, before a byte reaches the radio.
void TestReadWriteDialog::strayValuesAreNamedAndUnwritableChannelsRefused()
{
    QFile sample(samplePath());
    QVERIFY(sample.open(QIODevice::ReadOnly));
    QByteArray memory = sample.readAll();
    memory[16 * 5 + 3] = char(0x50);                  // channel 5: byte 3 of the receive frequency
    memory[16 * 9 + 8] = char(0x34);                  // channel 9: CTCSS position 52 of 51
    memory[16 * 9 + 9] = char(0x82);
    QTemporaryDir dir;
    QFile stray(dir.filePath("stray.bin"));
    QVERIFY(stray.open(QIODevice::WriteOnly) && stray.write(memory) == memory.size());
    stray.close();
    RadioSimulator sim;
    QVERIFY(sim.start({"--no-pacing", "--memory", stray.fileName(), "--save", dir.filePath("after.bin")}));
    Bench bench(sim.device());

    bench.commands->setDialogRunner([](TR_and_W &d) {
        d.show();
        d.bsSkinButton1->click();
        d.close();
    });
    control<QAction>(*bench.form, "gs1")->trigger();
    QCOMPARE(bench.notices.size(), 0);
    ChannelTable *table = bench.form->channelTable();
    QCOMPARE(table->cell(ChannelTable::Grid2, 4, 9), QString("0"));   // the receive tone is off
    QCOMPARE(table->cell(ChannelTable::Grid1, 1, 5).size(), 9);
    const QString status = bench.form->statusText();
    QVERIFY2(status.contains(QStringLiteral("Channel 5: receive frequency stored as ")) && status.contains(QStringLiteral("and 1 more")),
             qPrintable(status));

    table->setCell(ChannelTable::Grid1, 1, 12, "43x.12500");
    bench.commands->setDialogRunner([](TR_and_W &d) {
        d.show();
        d.bsSkinButton1->click();
        d.close();
    });
    control<QAction>(*bench.form, "N2")->trigger();
    QCOMPARE(bench.notices.size(), 1);
    QVERIFY2(bench.notices.first().text.contains(QStringLiteral("Channel 12: the receive frequency \"43x.12500\"")),
             qPrintable(bench.notices.first().text));
    sim.stop();
    QFile after(dir.filePath("after.bin"));
    QVERIFY(after.open(QIODevice::ReadOnly));
    QCOMPARE(after.readAll().toHex(), memory.toHex());   // not one block was written
}

// "Fast link" shows the choice of myini.ini, reads the radio in far less than its windows
// add up to, and a change goes back into the preferences.
void TestReadWriteDialog::fastLinkIsRemembered()
{
    RadioSimulator sim;
    QVERIFY(sim.start({"--no-pacing", "--memory", samplePath()}));
    Bench bench(sim.device(), QStringLiteral("fastlink=1\n"));
    bool checked = false, enabledDuring = true;
    qint64 ms = -1;
    bench.commands->setDialogRunner([&](TR_and_W &d) {
        d.show();
        checked = d.fastLinkBox->isChecked();
        QTimer::singleShot(20, &d, [&] { enabledDuring = d.fastLinkBox->isEnabled(); });
        QElapsedTimer clock;
        clock.start();
        d.bsSkinButton1->click();
        ms = clock.elapsed();
        d.fastLinkBox->click();
        d.close();
    });
    control<QAction>(*bench.form, "gs1")->trigger();

    QVERIFY(checked);
    QVERIFY(!enabledDuring);
    QCOMPARE(bench.notices.size(), 0);
    QCOMPARE(bench.form->channelTable()->cell(ChannelTable::Grid1, 10, 128), QString("VHF128"));
    // 267 block requests with the standard link take 267 windows of 30 ms at least.
    QVERIFY2(ms < 267 * Fast.blockMs, qPrintable(QString::number(ms)));
    QVERIFY(!bench.form->fastLink());
    QVERIFY(bench.form->savePreferences());
    QFile ini(bench.dir.filePath("myini.ini"));
    QVERIFY(ini.open(QIODevice::ReadOnly));
    QVERIFY(ini.readAll().contains("fastlink=0"));
}

// "Verify after writing": the written blocks are read back and compared. A radio that holds
// what was sent passes and the document counts as written; one that changed a byte (the
// simulator corrupts channel 2's record after storing it) gives a notice naming the channel
// and its block, and the document stays modified. Unchecked (verify=0 in myini.ini), no
// read-back happens, and the box's state goes back into the preferences.
void TestReadWriteDialog::verifyAfterWriting_data()
{
    QTest::addColumn<QStringList>("simOptions");
    QTest::addColumn<QString>("openKeys");
    QTest::addColumn<int>("check");
    QTest::newRow("radio holds the write") << QStringList() << QString() << int(TR_and_W::Check::Passed);
    QTest::newRow("radio changed a byte") << QStringList{"--corrupt-write", "0020"} << QString()
                                          << int(TR_and_W::Check::Failed);
    QTest::newRow("box unchecked") << QStringList{"--corrupt-write", "0020"} << QStringLiteral("verify=0\n")
                                   << int(TR_and_W::Check::NotRun);
}

void TestReadWriteDialog::verifyAfterWriting()
{
    QFETCH(QStringList, simOptions);
    QFETCH(QString, openKeys);
    QFETCH(int, check);
    RadioSimulator sim;
    QVERIFY(sim.start(QStringList{"--no-pacing", "--memory", samplePath()} + simOptions));
    // The fast link keeps the four transfers of a row short.
    Bench bench(sim.device(), QStringLiteral("fastlink=1\n") + openKeys);
    bench.commands->setDialogRunner([](TR_and_W &d) {
        d.show();
        d.bsSkinButton1->click();
        d.close();
    });
    control<QAction>(*bench.form, "gs1")->trigger();
    QCOMPARE(bench.notices.size(), 0);
    bench.form->channelTable()->setCell(ChannelTable::Grid1, 1, 2, QStringLiteral("438.50000"));
    QVERIFY(bench.form->document()->isModified());

    bool boxShown = false, boxChecked = false;
    QString status;
    bench.commands->setDialogRunner([&](TR_and_W &d) {
        d.show();
        boxShown = d.verifyBox->isVisible();
        boxChecked = d.verifyBox->isChecked();
        d.bsSkinButton1->click();
        status = d.verifyStatus->text();
        if (!boxChecked)
            d.verifyBox->click();
        d.close();
    });
    control<QAction>(*bench.form, "N2")->trigger();
    QVERIFY(boxShown);
    QCOMPARE(boxChecked, check != int(TR_and_W::Check::NotRun));
    QCOMPARE(int(bench.dialog->lastCheck()), check);
    QCOMPARE(bench.dialog->lastOutcome(), RadioTransfer::Outcome::Success);
    const LanguageTexts texts = LanguageTexts::builtIn();
    if (check == int(TR_and_W::Check::Failed)) {
        QCOMPARE(bench.notices.size(), 1);
        const QString notice = bench.notices.first().text;
        QVERIFY2(notice.startsWith(texts.VerifyFailedText + QLatin1Char('\n')), qPrintable(notice));
        QVERIFY2(notice.contains(QStringLiteral("\nChannel 2: ")) && notice.contains(QStringLiteral("\n    block 0x0020")),
                 qPrintable(notice));
        // A failed check is its own notice, not a link error, says what to do next, and the
        // dialog's line below the boxes says in a whole sentence what was found.
        QCOMPARE(bench.notices.first().caption, texts.VerifyFailedCaption);
        QVERIFY2(notice.endsWith(QStringLiteral("\n\n") + texts.VerifyAdviceText), qPrintable(notice));
        QCOMPARE(status, texts.VerifyFailedStatus);
        QVERIFY(bench.form->document()->isModified());
    } else {
        QCOMPARE(bench.notices.size(), 0);
        QVERIFY(!bench.form->document()->isModified());
        QCOMPARE(status, check == int(TR_and_W::Check::Passed) ? texts.VerifyPassedText : QString());
    }

    // The read dialog does not offer the check; the choice is kept in myini.ini.
    bench.commands->setDialogRunner([&](TR_and_W &d) { boxShown = (d.show(), d.verifyBox->isVisible()); });
    control<QAction>(*bench.form, "gs1")->trigger();
    QVERIFY(!boxShown);
    QVERIFY(bench.form->verifyAfterWrite());
    QVERIFY(bench.form->savePreferences());
    QFile ini(bench.dir.filePath("myini.ini"));
    QVERIFY(ini.open(QIODevice::ReadOnly));
    QCOMPARE(ini.readAll().contains("verify=1"), check == int(TR_and_W::Check::NotRun));
}

// A read in the window leaves the memory as it arrived and its codeplug file in the backups
// folder.
void TestReadWriteDialog::windowReadLeavesBackup()
{
    RadioSimulator sim;
    QVERIFY(sim.start({"--no-pacing", "--memory", samplePath()}));
    Bench bench(sim.device(), QStringLiteral("fastlink=1\n"));
    const QStringList before = Backups::list(QStringLiteral("KVT560"), QStringLiteral("bin"));
    bench.commands->setDialogRunner([](TR_and_W &d) {
        d.show();
        d.bsSkinButton1->click();
        d.close();
    });
    control<QAction>(*bench.form, "gs1")->trigger();
    const QStringList after = Backups::list(QStringLiteral("KVT560"), QStringLiteral("bin"));
    QVERIFY(!after.isEmpty() && !before.contains(after.first()));
    QFile raw(after.first()), sample(samplePath());
    QVERIFY(raw.open(QIODevice::ReadOnly) && sample.open(QIODevice::ReadOnly));
    const QByteArray memory = sample.readAll();
    const QByteArray backup = raw.readAll();
    QCOMPARE(backup.size(), 4096);
    QCOMPARE(backup.left(16 * 129).toHex(), memory.left(16 * 129).toHex());   // the channel records
    QVERIFY(QFileInfo::exists(after.first().chopped(3) + QStringLiteral("k56")));
}


void TestReadWriteDialog::stopTransfer_data()
{
    QTest::addColumn<bool>("reading");
    QTest::addColumn<bool>("agree");   // the answer to the question before a write is stopped
    QTest::newRow("read") << true << true;
    QTest::newRow("write, stopped") << false << true;
    QTest::newRow("write, not stopped") << false << false;
}

// Stop half-way: a read changes nothing in the document; a write the user agrees to stop ends
// after a whole block with the end frame, and says how far it came; a No lets it finish.
void TestReadWriteDialog::stopTransfer()
{
    QFETCH(bool, reading);
    QFETCH(bool, agree);
    RadioSimulator sim;
    QVERIFY(sim.start({"--no-pacing", "--memory", samplePath()}));
    Bench bench(sim.device());
    ChannelTable *table = bench.form->channelTable();
    table->setCell(ChannelTable::Grid1, 1, 1, "438.50000");
    const ChannelCells before = table->cells();
    const SettingsValues settingsBefore = bench.form->settingsStore()->snapshot();

    QStringList requests;
    QString portLine;
    bool asked = false, stopShown = false, stopAfter = true;
    bench.commands->setDialogRunner([&](TR_and_W &d) {
        RecordingLink recording(bench.commands->MSComm1());
        d.setLink(&recording);
        d.confirmStop = [&] { asked = true; return agree; };
        d.show();
        portLine = d.portLabel->text();
        stopShown = d.stopButton->isVisible() && !d.stopButton->isEnabled();
        bool pressed = false;   // once: not again in the check after the write
        connect(d.bsSkinGauge1, &QProgressBar::valueChanged, &d, [&d, &pressed](int value) {
            if (!pressed && value == d.bsSkinGauge1->maximum() / 2) {
                pressed = true;
                d.stopButton->click();
            }
        });
        d.bsSkinButton1->click();
        stopAfter = d.stopButton->isEnabled();
        requests = recording.requests;
        d.setLink(&bench.commands->MSComm1());
        d.bsSkinButton2->click();
    });
    (reading ? control<QAction>(*bench.form, "gs1") : control<QAction>(*bench.form, "N2"))->trigger();

    QVERIFY(stopShown);
    QVERIFY(!stopAfter);
    QCOMPARE(portLine, QString::fromUtf8("串口：COM1（%1）").arg(sim.device()));
    QVERIFY(!requests.isEmpty());
    QCOMPARE(requests.last(), QStringLiteral("64016F"));   // the end frame closes every transfer
    QCOMPARE(asked, !reading);
    const LanguageTexts texts = LanguageTexts::builtIn();
    if (reading) {
        QCOMPARE(bench.notices.size(), 1);
        QCOMPARE(bench.notices.first().text, texts.ReadStoppedText);
        QVERIFY(table->cells() == before);
        QVERIFY(bench.form->settingsStore()->snapshot() == settingsBefore);
        QVERIFY(requests.filter(QRegularExpression("^52")).size() < MemoryLayout::readBlocks().size());
    } else if (agree) {
        QCOMPARE(bench.notices.size(), 1);
        // "... after n of m blocks": n the write frames sent, each acknowledged; none after the stop.
        const int written = int(requests.filter(QRegularExpression("^57")).size());
        const QString text = bench.notices.first().text;
        const QRegularExpressionMatch total = QRegularExpression("(\\d+)").match(
            QString(text).remove(QString::number(written)));
        QVERIFY2(total.hasMatch(), qPrintable(text));
        QCOMPARE(text, texts.WriteStoppedText.arg(written).arg(total.captured(1)));
        QVERIFY(written > 0 && written < total.captured(1).toInt());
        QVERIFY(bench.form->document()->isModified());   // the radio does not hold the document
    } else {
        QCOMPARE(bench.notices.size(), 0);
        QVERIFY(!bench.form->document()->isModified());
    }
}

REGISTER_TEST(TestReadWriteDialog)
#include "tst_readwritedialog.moc"
