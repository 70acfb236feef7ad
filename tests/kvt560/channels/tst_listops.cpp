#include "FakeBands.h"
#include "TestRegistry.h"
#include "channels/ChannelCursor.h"
#include "channels/ChannelListOps.h"
#include "channels/ChannelTable.h"
#include "channels/ui/ChannelListButtons.h"

#include <QElapsedTimer>
#include <QHBoxLayout>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

using T = ChannelTable;

namespace {

// Auto add, move and delete on a table whose band 1 receives 400-470 MHz, step 25 kHz.
struct Fixture {
    FakeBands bands;
    ChannelTable table;
    ChannelCursor cursor;
    ChannelListOps ops{&table, &cursor};
    int stepIndex = 4;

    Fixture()
    {
        table.setBandSource(&bands);
        ops.setStepIndexSource([this] { return stepIndex; });
    }
    QString rx(int row) const { return table.cell(T::Grid1, T::RxFreqColumn, row); }
    // A committed channel at a frequency, with every cell told apart by the tag.
    void putChannel(int row, const QString &frequency, const QString &tag = QString())
    {
        table.setCell(T::Grid1, T::RxFreqColumn, row, frequency);
        table.fillNewChannelDefaults(row);
        if (tag.isEmpty())
            return;
        for (int c = T::RxToneColumn; c <= T::AliasColumn; ++c)
            if (c != T::TxFreqColumn)
                table.setCell(T::Grid1, c, row, tag + QString::number(c));
        for (int c = T::TailAttribute; c <= T::ShowAliasAttribute; ++c)
            table.setCell(T::Grid2, c, row, tag + QStringLiteral("a") + QString::number(c));
    }
    QStringList rowTexts(int row) const
    {
        QStringList texts;
        for (int c = 0; c < T::Grid1Columns; ++c)
            texts << table.cell(T::Grid1, c, row);
        for (int c = 1; c < T::Grid2Columns; ++c)
            texts << table.cell(T::Grid2, c, row);
        return texts;
    }
    // Row r holds exactly the new-channel defaults around its receive frequency.
    bool isNewChannel(int row) const
    {
        ChannelTable expected;
        expected.setCell(T::Grid1, T::RxFreqColumn, row, rx(row));
        expected.fillNewChannelDefaults(row);
        for (int c = 1; c <= T::AliasColumn; ++c)
            if (table.cell(T::Grid1, c, row) != expected.cell(T::Grid1, c, row))
                return false;
        for (int c = 1; c <= T::ShowAliasAttribute; ++c)
            if (table.cell(T::Grid2, c, row) != expected.cell(T::Grid2, c, row))
                return false;
        return true;
    }
};

} // namespace

class TestListOps : public QObject
{
    Q_OBJECT
private slots:
    void autoAdd_data()
    {
        QTest::addColumn<int>("stepIndex");
        QTest::addColumn<QString>("start");     // row 1 before the press; empty: no channel
        QTest::addColumn<int>("repeats");
        QTest::addColumn<QStringList>("rows");  // receive frequencies from row 1 on

        QTest::newRow("25 kHz from an empty row")
            << 4 << QString() << 3 << QStringList{"400.00000", "400.02500", "400.05000", "400.07500"};
        QTest::newRow("6.25 kHz")
            << 1 << "400.00000" << 3 << QStringList{"400.00000", "400.00625", "400.01250", "400.01875", "400.02500"};
        QTest::newRow("12.5 kHz") << 3 << "438.00625" << 1 << QStringList{"438.00625", "438.01875", "438.03125"};
        QTest::newRow("5 kHz") << 0 << "438.00625" << 0 << QStringList{"438.00625", "438.01250"};
        QTest::newRow("wrap past the top of band 1")
            << 4 << "469.98750" << 1 << QStringList{"469.98750", "400.00000", "400.02500"};
        QTest::newRow("top of band 1 itself") << 4 << "469.97500" << 1 << QStringList{"469.97500", "470.00000", "400.00000"};
        QTest::newRow("no step selected") << -1 << "438.50000" << 1 << QStringList{"438.50000", "438.50000", "438.50000"};
    }
    void autoAdd()
    {
        QFETCH(int, stepIndex);
        QFETCH(QString, start);
        QFETCH(int, repeats);
        QFETCH(QStringList, rows);

        Fixture f;
        f.stepIndex = stepIndex;
        if (!start.isEmpty())
            f.putChannel(1, start);
        // Channels below the start row are overwritten with new ones.
        for (int r = 2; r <= rows.size(); ++r)
            f.putChannel(r, QStringLiteral("450.00000"), QStringLiteral("old"));
        QSignalSpy moves(&f.ops, &ChannelListOps::selectionMoveRequested);

        f.ops.bsSkinButton6MouseDown();
        QVERIFY(f.ops.Timer1->isActive());
        QCOMPARE(f.ops.Timer1->interval(), 1000);
        for (int i = 0; i < repeats; ++i)
            f.ops.Timer1Timer();
        f.ops.bsSkinButton6MouseUp();
        QVERIFY(!f.ops.Timer1->isActive());

        for (int r = 1; r <= rows.size(); ++r) {
            QCOMPARE(f.rx(r), rows.at(r - 1));
            QVERIFY2(f.isNewChannel(r), qPrintable(QStringLiteral("row %1").arg(r)));
        }
        QVERIFY(f.rx(rows.size() + 1).isEmpty());
        QCOMPARE(f.cursor.CurRow, int(rows.size()));
        // The selection follows each channel written.
        QVERIFY(!moves.isEmpty());
        QCOMPARE(moves.last(), (QList<QVariant>{1, int(rows.size())}));
    }

    void repeatTiming()
    {
        // The real button held for about 1.5 s: the press, then a repeat after 1000 ms and
        // every 200 ms after that.
        Fixture f;
        QWidget row;
        new QHBoxLayout(&row);
        const ChannelListButtons buttons = addChannelListButtons(&row, &f.ops);
        row.show();

        QElapsedTimer clock;
        QTest::mousePress(buttons.bsSkinButton6, Qt::LeftButton);
        clock.start();
        QCOMPARE(f.rx(1), QStringLiteral("400.00000"));
        QTest::qWait(1500 - int(clock.elapsed()));
        QTest::mouseRelease(buttons.bsSkinButton6, Qt::LeftButton);
        const qint64 held = clock.elapsed();
        QVERIFY(!f.ops.Timer1->isActive());

        QCOMPARE(f.rx(4), QStringLiteral("400.07500"));
        if (held < 1600)   // a starved machine may have held longer than asked
            QVERIFY(f.rx(5).isEmpty());
        const int last = f.cursor.CurRow;
        QTest::qWait(400);
        QCOMPARE(f.cursor.CurRow, last);   // nothing after the release
    }

    void holdEndsWhenTheButtonCannotSeeTheRelease()
    {
        Fixture f;
        QWidget row;
        new QHBoxLayout(&row);
        const ChannelListButtons buttons = addChannelListButtons(&row, &f.ops);
        row.show();
        QVERIFY(QTest::qWaitForWindowActive(&row));

        // The space bar holds like the mouse.
        buttons.bsSkinButton6->setFocus();
        QTest::keyPress(buttons.bsSkinButton6, Qt::Key_Space);
        QCOMPARE(f.rx(1), QStringLiteral("400.00000"));
        QVERIFY(f.ops.Timer1->isActive());
        QTest::keyRelease(buttons.bsSkinButton6, Qt::Key_Space);
        QVERIFY(!f.ops.Timer1->isActive());

        // Focus taken away (a dialog, another program) or the page hidden while held.
        QTest::mousePress(buttons.bsSkinButton6, Qt::LeftButton);
        QVERIFY(f.ops.Timer1->isActive());
        buttons.bsSkinButton3->setFocus();
        QVERIFY(!f.ops.Timer1->isActive());
        QTest::mouseRelease(buttons.bsSkinButton6, Qt::LeftButton);
        QTest::mousePress(buttons.bsSkinButton6, Qt::LeftButton);
        QVERIFY(f.ops.Timer1->isActive());
        row.hide();
        QVERIFY(!f.ops.Timer1->isActive());
        QCOMPARE(f.rx(3), QStringLiteral("400.05000"));
    }

    void autoAddAtTheLastRows()
    {
        Fixture f;
        f.putChannel(127, QStringLiteral("440.00000"));
        f.cursor.CurRow = 127;
        f.ops.bsSkinButton6MouseDown();
        QCOMPARE(f.rx(128), QStringLiteral("440.02500"));
        QCOMPARE(f.cursor.CurRow, 128);
        const QStringList last = f.rowTexts(128);
        f.ops.Timer1Timer();
        f.ops.Timer1Timer();
        QCOMPARE(f.rowTexts(128), last);
        QCOMPARE(f.cursor.CurRow, 128);
        QVERIFY(f.ops.Timer1->isActive());   // the ticks go on, adding nothing
        QCOMPARE(f.ops.Timer1->interval(), 200);
    }

    void autoAddCommitsAHalfEnteredRow()
    {
        Fixture f;
        f.table.setCell(T::Grid1, T::RxFreqColumn, 1, QStringLiteral("438.5"));
        f.ops.bsSkinButton6MouseDown();
        QCOMPARE(f.rx(1), QStringLiteral("438.50000"));
        QVERIFY(f.isNewChannel(1));
        QVERIFY(f.rx(2).isEmpty());
        QCOMPARE(f.cursor.CurRow, 1);
        QVERIFY(f.ops.Timer1->isActive());
        f.ops.Timer1Timer();
        QCOMPARE(f.rx(2), QStringLiteral("438.52500"));
    }

    void autoAddFollowsTheActiveBandOnlyForTheClamp()
    {
        // Start and wrap come from band 1; the normalisation clamps with band 2 when it is
        // the active band.
        Fixture f;
        f.bands.active = 0;
        f.bands.band2 = QStringLiteral("420-450MHz");
        f.ops.bsSkinButton6MouseDown();
        QCOMPARE(f.rx(1), QStringLiteral("420.00000"));
        f.putChannel(2, QStringLiteral("449.99000"));
        f.cursor.CurRow = 2;
        f.ops.Timer1Timer();
        QCOMPARE(f.rx(3), QStringLiteral("450.00000"));   // 450.015 clamped by band 2, no wrap below 470
    }

    void autoAddWithoutBand1Range_data()
    {
        QTest::addColumn<QString>("band1");
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("offending");
        QTest::newRow("empty row, no range") << QString() << QString() << QString();
        QTest::newRow("used row, no range") << QString() << "438.50000" << QString();
        QTest::newRow("used row, unreadable limit") << "400-4x0MHz" << "438.50000" << "4x0";
        QTest::newRow("empty row, unreadable limit") << "4x0-470MHz" << QString() << "4x0";
    }
    void autoAddWithoutBand1Range()
    {
        QFETCH(QString, band1);
        QFETCH(QString, start);
        QFETCH(QString, offending);
        Fixture f;
        f.bands.band1 = band1;
        if (!start.isEmpty())
            f.putChannel(1, start);
        const ChannelCells before = f.table.cells();
        QSignalSpy failed(&f.table, &ChannelTable::conversionFailed);

        f.ops.bsSkinButton6MouseDown();
        QCOMPARE(failed.count(), 1);
        QCOMPARE(failed.at(0).at(0).toString(), offending);
        // The repeat does not raise the same failure again.
        QVERIFY(!f.ops.Timer1->isActive());
        QTest::qWait(50);
        QCOMPARE(failed.count(), 1);
        QVERIFY(f.table.cells() == before);
        QCOMPARE(f.cursor.CurRow, 1);
    }

    void moveDownTwice()
    {
        Fixture f;
        f.putChannel(5, QStringLiteral("431.00000"), QStringLiteral("five"));
        f.putChannel(6, QStringLiteral("432.00000"), QStringLiteral("six"));
        f.putChannel(7, QStringLiteral("433.00000"), QStringLiteral("seven"));
        const QStringList five = f.rowTexts(5), six = f.rowTexts(6), seven = f.rowTexts(7);
        f.cursor.CurRow = 5;
        f.cursor.CurCol = 1;

        f.ops.bsSkinButton4Click();
        QCOMPARE(f.cursor.CurRow, 6);
        f.ops.bsSkinButton4Click();
        QCOMPARE(f.cursor.CurRow, 7);

        // Columns 0 and 11 stay with their rows; everything else moved.
        auto moved = [](QStringList texts, int row) {
            texts[0] = QStringLiteral("%1").arg(row, 3, 10, QLatin1Char('0'));
            return texts;
        };
        QCOMPARE(f.rowTexts(7), moved(five, 7));
        QCOMPARE(f.rowTexts(5), moved(six, 5));
        QCOMPARE(f.rowTexts(6), moved(seven, 6));

        f.ops.bsSkinButton3Click();
        QCOMPARE(f.cursor.CurRow, 6);
        QCOMPARE(f.rowTexts(6), moved(five, 6));
    }

    void moveRefused_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("column");
        QTest::addColumn<bool>("down");
        QTest::newRow("up from row 1") << 1 << 1 << false;
        QTest::newRow("down from row 128") << 128 << 1 << true;
        QTest::newRow("empty channel") << 3 << 1 << true;
        QTest::newRow("empty alias in the alias column") << 2 << 10 << true;
    }
    void moveRefused()
    {
        QFETCH(int, row);
        QFETCH(int, column);
        QFETCH(bool, down);
        Fixture f;
        for (int r : {1, 2, 4, 127, 128})
            f.putChannel(r, QStringLiteral("440.00000"), QStringLiteral("r%1").arg(r));
        f.table.setCell(T::Grid1, T::AliasColumn, 2, QString());
        const ChannelCells before = f.table.cells();
        f.cursor.CurRow = row;
        f.cursor.CurCol = column;
        down ? f.ops.bsSkinButton4Click() : f.ops.bsSkinButton3Click();
        QVERIFY(f.table.cells() == before);
        QCOMPARE(f.cursor.CurRow, row);
    }

    void moveInTheMoreColumnSwapsWhateverTheRowsHold()
    {
        Fixture f;
        f.putChannel(9, QStringLiteral("440.00000"), QStringLiteral("x"));
        const QStringList nine = f.rowTexts(9);
        f.cursor.CurRow = 8;   // empty
        f.cursor.CurCol = T::MoreColumn;
        f.ops.bsSkinButton4Click();
        QCOMPARE(f.cursor.CurRow, 9);
        QVERIFY(f.rx(9).isEmpty());
        QCOMPARE(f.rowTexts(8).mid(1, 10), nine.mid(1, 10));
    }

    void moveCommitsTheRowFirst()
    {
        Fixture f;
        f.putChannel(3, QStringLiteral("440.00000"));
        f.table.setCell(T::Grid1, T::RxFreqColumn, 3, QStringLiteral("441.3"));   // typed, not committed
        f.cursor.CurRow = 3;
        f.cursor.CurCol = 1;
        f.ops.bsSkinButton3Click();
        QCOMPARE(f.rx(2), QStringLiteral("441.30000"));
        QCOMPARE(f.cursor.CurRow, 2);
    }

    void deleteChannel()
    {
        Fixture f;
        f.putChannel(4, QStringLiteral("440.00000"), QStringLiteral("x"));
        f.putChannel(5, QStringLiteral("441.00000"));
        f.cursor.CurRow = 4;
        f.cursor.CurCol = 7;
        QSignalSpy hide(&f.ops, &ChannelListOps::overlaysHideRequested);
        f.ops.bsSkinButton5Click();
        QStringList empty(T::Grid1Columns + T::Grid2Columns - 1);
        empty[0] = QStringLiteral("004");
        empty[T::MoreColumn] = QStringLiteral(">>");
        QCOMPARE(f.rowTexts(4), empty);
        QCOMPARE(f.rx(5), QStringLiteral("441.00000"));
        QCOMPARE(hide.count(), 1);
    }
};

REGISTER_TEST(TestListOps)
#include "tst_listops.moc"
