// The codeplug document without a window: a file and a read applied, the snapshot a write
// or a save takes, the modified state, and the steps every kind of change records, each of
// which puts back exactly the cells, values and band lists it changed.
#include "TestRegistry.h"
#include "channels/ChannelCursor.h"
#include "channels/ChannelListOps.h"
#include "channels/ChannelTable.h"
#include "channels/Marks.h"
#include "codeplug/CodeplugDocument.h"
#include "settings/SettingsRegistry.h"
#include "settings/SettingsStore.h"
#include <QSignalSpy>
#include <QTest>
#include <functional>

namespace {

using T = ChannelTable;
using Action = std::function<void(CodeplugDocument &)>;

std::array<BandList, BandLists::Count> startBands()
{
    std::array<BandList, BandLists::Count> lists;
    for (BandList &l : lists)
        l = {{QStringLiteral("400-470MHz"), QStringLiteral("136-174MHz")}, 0};
    return lists;
}

// A used channel as a commit leaves it.
void fillChannel(ChannelCells &cells, int row, const QString &freq)
{
    const Marks m = Marks::forLanguage(1);
    const QStringList columns{freq, m.off, freq, m.off, m.high, m.wide, m.on, m.off, m.off, QString()};
    for (int c = 1; c <= 10; ++c)
        cells.setColumn(c, row, columns.at(c - 1));
    const QStringList attributes{m.on, m.off, m.off, QStringLiteral("0"), QStringLiteral("0"), m.off, m.off};
    for (int a = 1; a <= 7; ++a)
        cells.setAttribute(a, row, attributes.at(a - 1));
}

Codeplug fileContent()
{
    Codeplug c;
    fillChannel(c.channels, 1, QStringLiteral("145.50000"));
    fillChannel(c.channels, 7, QStringLiteral("146.00000"));
    c.settings.set(QStringLiteral("bsSkinComboBox8"), 3);
    c.settings.set(QStringLiteral("bsSkinComboBox7"), 0);   // memory mode, memory display by name
    c.settings.set(QStringLiteral("bsSkinComboBox12"), 0);
    c.bandRanges = QStringList{QStringLiteral("136-174MHz"), QStringLiteral("350-390MHz"), QString(),
                               QStringLiteral("400-470MHz")};
    return c;
}

// Types text into the receive frequency of row as the grid does (raw text in the cell), then
// commits the row.
void typeAndCommit(CodeplugDocument &d, int row, const QString &text)
{
    T *t = d.channels();
    t->setCell(T::Grid1, T::RxFreqColumn, row, text);
    QCoreApplication::processEvents();   // a step would close here if the row were whole
    t->sendallcell(row, T::RxFreqColumn);
}

} // namespace

Q_DECLARE_METATYPE(Action)

class TestDocument : public QObject
{
    Q_OBJECT

    // The steps a document records, in order.
    struct Recorder {
        QVector<DocumentChange> steps;
        explicit Recorder(CodeplugDocument &d)
        {
            QObject::connect(&d, &CodeplugDocument::stepRecorded,
                             [this](const DocumentChange &c) { steps.append(c); });
        }
    };

    static void settle(CodeplugDocument &d)
    {
        QCoreApplication::processEvents();
        d.closeStep();
    }

private slots:
    void aFileTakesBandsSettingsAndChannelsAndIsNotModified()
    {
        CodeplugDocument d;
        d.setBandLists(startBands());
        d.channels()->setCell(T::Grid1, T::AliasColumn, 3, QStringLiteral("OLD"));
        QVERIFY(d.isModified());
        d.applyFile(fileContent());
        QVERIFY(!d.isModified());
        QCOMPARE(d.channels()->cells(), fileContent().channels);
        QCOMPARE(d.settings()->number(QStringLiteral("bsSkinComboBox8")), 3);
        QCOMPARE(d.selectedRange(BandLists::List1Rx), QStringLiteral("136-174MHz"));
        // A range the list lacks is appended and selected; an empty one selects nothing new.
        QCOMPARE(d.bandList(BandLists::List1Tx).items.size(), 3);
        QCOMPARE(d.selectedRange(BandLists::List1Tx), QStringLiteral("350-390MHz"));
        QCOMPARE(d.selectedRange(BandLists::List2Rx), QStringLiteral("400-470MHz"));
        // The snapshot a save or a write takes is what was applied.
        const Codeplug snap = d.snapshot();
        QCOMPARE(snap.channels, fileContent().channels);
        QCOMPARE(snap.bandRanges, (QStringList{QStringLiteral("136-174MHz"), QStringLiteral("350-390MHz"),
                                               QStringLiteral("400-470MHz"), QStringLiteral("400-470MHz")}));
    }

    void aReadRunsTheBandBoxRuleAndTakesTheRadiosActiveBand()
    {
        CodeplugDocument d;
        d.setBandLists(startBands());
        Codeplug read = fileContent();
        read.settings.set(QStringLiteral("bsSkinCheckRadioBox14"), 1);
        read.settings.set(QStringLiteral("bsSkinComboBox22"), 0);
        d.applyRead(read);
        QVERIFY(!d.isModified());
        QCOMPARE(d.settings()->number(QStringLiteral("bsSkinComboBox22")), 0);
        QVERIFY(d.settings()->isEnabled(QStringLiteral("bsSkinComboBox22")));
        QCOMPARE(d.activeReceiveRange(), d.selectedRange(BandLists::List2Rx));

        read.settings.set(QStringLiteral("bsSkinCheckRadioBox14"), 0);
        d.applyRead(read);
        QCOMPARE(d.settings()->number(QStringLiteral("bsSkinComboBox22")), 1);   // band 1 without the box
        QVERIFY(!d.settings()->isEnabled(QStringLiteral("bsSkinComboBox22")));
    }

    void aTransferWithoutAChannelInTheBandStartsInVfoMode()
    {
        CodeplugDocument d;
        d.setBandLists(startBands());
        QCOMPARE(d.prepareTransfer(), quint8(0xFF));
        QCOMPARE(d.settings()->number(QStringLiteral("bsSkinComboBox7")), 1);
        QCOMPARE(d.settings()->number(QStringLiteral("bsSkinComboBox12")), 1);

        Codeplug c = fileContent();   // channel 1 at 145.5, channel 7 at 146
        c.bandRanges = QStringList{QStringLiteral("136-174MHz")};
        d.applyFile(c);
        QCOMPARE(d.firstChannel(), quint8(1));
        QCOMPARE(d.prepareTransfer(), quint8(1));
    }

    void modifiedFollowsTheSavedState()
    {
        CodeplugDocument d;
        QSignalSpy modified(&d, &CodeplugDocument::modifiedChanged);
        Recorder rec(d);
        QVERIFY(!d.isModified());
        d.settings()->setByUser(QStringLiteral("bsSkinComboBox8"), 2);
        settle(d);
        QVERIFY(d.isModified());
        QCOMPARE(modified.count(), 1);
        d.markSaved();
        QVERIFY(!d.isModified());
        QCOMPARE(modified.count(), 2);
        // Back and forth to the saved value: clean again.
        d.settings()->setByUser(QStringLiteral("bsSkinComboBox8"), 1);
        settle(d);
        QVERIFY(d.isModified());
        d.applyChange(rec.steps.last(), false);
        QVERIFY(!d.isModified());
    }

    void aLanguageSwitchIsNoChange()
    {
        CodeplugDocument d;
        Codeplug c = fileContent();
        d.applyFile(c);
        Recorder rec(d);
        d.relabelMarks(Marks::forLanguage(2));
        settle(d);
        QVERIFY(rec.steps.isEmpty());
        QVERIFY(!d.isModified());
        QCOMPARE(d.channels()->cell(T::Grid1, T::PowerColumn, 1), Marks::forLanguage(2).high);

        // A step recorded in one language, undone in another, puts back the marks of the other.
        d.channels()->setCell(T::Grid1, T::PowerColumn, 1, Marks::forLanguage(2).low);
        settle(d);
        d.relabelMarks(Marks::forLanguage(1));
        QVERIFY(d.isModified());
        d.applyChange(rec.steps.last(), false);
        QCOMPARE(d.channels()->cell(T::Grid1, T::PowerColumn, 1), Marks::forLanguage(1).high);
        QVERIFY(!d.isModified());
    }

    void typingAndItsCommitAreOneStep()
    {
        CodeplugDocument d;
        d.setBandLists(startBands());
        Recorder rec(d);
        typeAndCommit(d, 5, QStringLiteral("438.5"));
        settle(d);
        QCOMPARE(rec.steps.size(), 1);
        QCOMPARE(d.channels()->cell(T::Grid1, T::RxFreqColumn, 5), QStringLiteral("438.50000"));
        for (const DocumentChange::Cell &c : rec.steps.first().cells)
            QVERIFY(c.before.isEmpty());   // from the empty channel straight to the committed one
    }

    void everyKindOfChangeIsOneStepThatUndoesAndRedoesExactly_data()
    {
        QTest::addColumn<Action>("action");
        QTest::addColumn<int>("steps");
        const Marks m = Marks::forLanguage(1);
        QTest::newRow("committed cell") << Action([](CodeplugDocument &d) { typeAndCommit(d, 2, "145.525"); }) << 1;
        QTest::newRow("mark flip") << Action([m](CodeplugDocument &d) {
            d.channels()->setCell(T::Grid1, T::PowerColumn, 1, m.low);
        }) << 1;
        QTest::newRow("tone choice") << Action([](CodeplugDocument &d) {
            d.channels()->setCell(T::Grid1, T::RxToneColumn, 1, QStringLiteral("67.0"));
            d.channels()->setCell(T::Grid2, T::RxCodeAttribute, 1, QStringLiteral("1"));
        }) << 1;
        QTest::newRow("alias") << Action([](CodeplugDocument &d) {
            d.channels()->setCell(T::Grid1, T::AliasColumn, 7, QStringLiteral("BASE"));
        }) << 1;
        QTest::newRow("setting and its rule") << Action([](CodeplugDocument &d) {
            d.settings()->setByUser(QStringLiteral("bsSkinComboBox7"), 1);   // forces bsSkinComboBox12
            QCOMPARE(d.settings()->number(QStringLiteral("bsSkinComboBox12")), 1);
        }) << 1;
        QTest::newRow("call list") << Action([](CodeplugDocument &d) {
            d.settings()->setByUser(SettingsRegistry::callListEntryName(3), QStringLiteral("123#"));
        }) << 1;
        QTest::newRow("band choice") << Action([](CodeplugDocument &d) { d.selectRange(BandLists::List2Rx, 1); }) << 1;
        QTest::newRow("move down") << Action([](CodeplugDocument &d) {
            ChannelCursor cursor;
            cursor.CurRow = 1;
            ChannelListOps ops(d.channels(), &cursor);
            ops.bsSkinButton4Click();
        }) << 1;
        QTest::newRow("delete") << Action([](CodeplugDocument &d) {
            ChannelCursor cursor;
            cursor.CurRow = 7;
            ChannelListOps ops(d.channels(), &cursor);
            ops.bsSkinButton5Click();
        }) << 1;
        QTest::newRow("auto add held") << Action([](CodeplugDocument &d) {
            ChannelCursor cursor;
            cursor.CurRow = 2;
            ChannelListOps ops(d.channels(), &cursor);
            QObject::connect(&ops, &ChannelListOps::autoAddHeld, &d, &CodeplugDocument::setHolding);
            ops.setStepIndexSource([] { return 4; });
            ops.bsSkinButton6MouseDown();
            QCoreApplication::processEvents();
            ops.Timer1Timer();
            QCoreApplication::processEvents();
            ops.Timer1Timer();
            ops.bsSkinButton6MouseUp();
        }) << 1;
        QTest::newRow("clear") << Action([](CodeplugDocument &d) { d.clearChannels(); }) << 1;
        QTest::newRow("new") << Action([](CodeplugDocument &d) { d.newCodeplug(); }) << 1;
        QTest::newRow("file") << Action([](CodeplugDocument &d) {
            Codeplug c;
            fillChannel(c.channels, 100, QStringLiteral("440.00000"));
            c.bandRanges = QStringList{QStringLiteral("350-390MHz")};
            d.applyFile(c);
        }) << 1;
        QTest::newRow("read") << Action([](CodeplugDocument &d) {
            Codeplug c = fileContent();
            c.settings.set(QStringLiteral("bsSkinCheckRadioBox14"), 1);
            c.settings.set(QStringLiteral("bsSkinComboBox22"), 0);
            d.applyRead(c);
        }) << 1;
        QTest::newRow("rows replaced") << Action([](CodeplugDocument &d) {
            ChannelCells rows;
            fillChannel(rows, 10, QStringLiteral("150.00000"));
            fillChannel(rows, 11, QStringLiteral("151.00000"));
            d.replaceRows({10, 11, 1}, rows, QStringLiteral("Paste"));
        }) << 1;
        QTest::newRow("two actions") << Action([m](CodeplugDocument &d) {
            d.channels()->setCell(T::Grid1, T::ScanColumn, 1, m.off);
            QCoreApplication::processEvents();
            d.settings()->setByUser(QStringLiteral("bsSkinComboBox8"), 4);
        }) << 2;
    }

    void everyKindOfChangeIsOneStepThatUndoesAndRedoesExactly()
    {
        QFETCH(Action, action);
        QFETCH(int, steps);
        CodeplugDocument d;
        d.setBandLists(startBands());
        d.applyFile(fileContent());
        const DocumentState before = d.state();
        Recorder rec(d);
        action(d);
        settle(d);
        QCOMPARE(rec.steps.size(), steps);
        const DocumentState after = d.state();
        QVERIFY(after != before);
        for (int i = rec.steps.size() - 1; i >= 0; --i)
            d.applyChange(rec.steps.at(i), false);
        QVERIFY(d.state() == before);
        QCOMPARE(d.channels()->cells(), before.channels);   // the exact cells
        QVERIFY(d.settings()->snapshot() == before.settings);
        for (const DocumentChange &step : rec.steps)
            d.applyChange(step, true);
        QVERIFY(d.state() == after);
        QCOMPARE(rec.steps.size(), steps);   // putting steps back records nothing
    }
};

REGISTER_TEST(TestDocument)
#include "tst_document.moc"
