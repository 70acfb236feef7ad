#include "FakeBands.h"
#include "TestRegistry.h"
#include "channels/ui/ChannelGrid.h"
#include "channels/ui/ChannelGridModel.h"
#include "channels/ui/ConversionNotice.h"

#include <QAbstractButton>
#include <QApplication>
#include <QHeaderView>
#include <QImage>
#include <QMessageBox>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

using T = ChannelTable;

namespace {

// Colour a little inside the top-left corner of a rectangle of the viewport, away from the
// centred text and the grid lines.
QColor cellColour(ChannelGrid &grid, int column, int row)
{
    const QImage image = grid.viewport()->grab().toImage();
    const QRect r = grid.cellRect(column, row);
    return image.pixelColor(r.left() + 3, r.top() + 3);
}

} // namespace

class TestChannelGrid : public QObject
{
    Q_OBJECT
private slots:
    void layout()
    {
        ChannelTable table;
        ChannelGrid grid(&table, nullptr);
        QCOMPARE(grid.objectName(), QStringLiteral("StringAlignGrid1"));
        const int widths[] = {30, 72, 73, 72, 73, 60, 60, 60, 60, 60, 60, 60};
        for (int c = 0; c < T::Grid1Columns; ++c)
            QCOMPARE(grid.columnWidth(c), widths[c]);
        QCOMPARE(grid.model()->rowCount(), 128);
        QCOMPARE(grid.rowHeight(0), 20);
        QCOMPARE(grid.rowHeight(127), 20);
        QCOMPARE(grid.horizontalHeader()->height(), 20);
        QVERIFY(grid.sizeHint().width() >= 740 && grid.sizeHint().width() <= 790);
        QCOMPARE(grid.editTriggers(), QAbstractItemView::NoEditTriggers);
        QCOMPARE(grid.currentColumn(), 1);
        QCOMPARE(grid.currentRow(), 1);
    }

    void textsFollowTheTable()
    {
        ChannelTable table;
        ChannelGrid grid(&table, nullptr);
        QAbstractItemModel *model = grid.model();
        QCOMPARE(model->headerData(2, Qt::Horizontal).toString(), QStringLiteral("QT/DQT解码"));
        QCOMPARE(model->index(0, 0).data().toString(), QStringLiteral("001"));
        QCOMPARE(model->index(127, 11).data().toString(), QStringLiteral(">>"));

        QSignalSpy headerSpy(model, &QAbstractItemModel::headerDataChanged);
        QSignalSpy dataSpy(model, &QAbstractItemModel::dataChanged);
        table.setHeaderText(2, QStringLiteral("RX CTC/DCS"));
        table.setCell(T::Grid1, 10, 7, QStringLiteral("AB-1"));
        table.setCell(T::Grid2, 1, 7, QStringLiteral("ON"));   // attributes are not shown
        QCOMPARE(headerSpy.count(), 1);
        QCOMPARE(dataSpy.count(), 1);
        QCOMPARE(model->headerData(2, Qt::Horizontal).toString(), QStringLiteral("RX CTC/DCS"));
        QCOMPARE(model->index(6, 10).data().toString(), QStringLiteral("AB-1"));
        for (int c = 0; c < T::Grid1Columns; ++c)
            QCOMPARE(model->index(6, c).data(Qt::TextAlignmentRole).toInt(), int(Qt::AlignCenter));

        table.emptyAll();
        QCOMPARE(dataSpy.count(), 2);   // one signal for the whole table
        QCOMPARE(model->index(6, 10).data().toString(), QString());
    }

    void fontsOfPowerAndMoreColumns()
    {
        ChannelTable table;
        ChannelGrid grid(&table, nullptr);
        const QFont power = grid.model()->index(0, 5).data(Qt::FontRole).value<QFont>();
        const QFont more = grid.model()->index(0, 11).data(Qt::FontRole).value<QFont>();
        QCOMPARE(power.family(), QStringLiteral("Arial"));
        QCOMPARE(power.pixelSize(), 12);
        QCOMPARE(more.pixelSize(), 11);
        QCOMPARE(grid.model()->index(0, 11).data(Qt::ForegroundRole).value<QColor>(), QColor(255, 0, 0));
        QCOMPARE(grid.model()->index(0, 5).data(Qt::ForegroundRole).value<QColor>(),
                 QApplication::palette().color(QPalette::ButtonText));
    }

    // Rendering: silver number column and header, every third channel row tinted, and the
    // selected cell drawn like any other.
    void rendering()
    {
        ChannelTable table;
        ChannelGrid grid(&table, nullptr);
        grid.resize(grid.sizeHint());
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));

        const QColor tint(241, 235, 241), silver(192, 192, 192);
        const QColor plain = grid.palette().color(QPalette::Base);
        QCOMPARE(cellColour(grid, 3, 1), tint);
        QCOMPARE(cellColour(grid, 3, 2), plain);
        QCOMPARE(cellColour(grid, 3, 3), plain);
        QCOMPARE(cellColour(grid, 9, 4), tint);
        QCOMPARE(cellColour(grid, 0, 2), silver);
        QCOMPARE(cellColour(grid, 0, 1), silver);

        const QImage header = grid.horizontalHeader()->grab().toImage();
        QCOMPARE(header.pixelColor(grid.columnViewportPosition(4) + 3, 3), silver);

        grid.setCurrentCell(3, 2);
        grid.setFocus();
        QCOMPARE(grid.currentColumn(), 3);
        QCOMPARE(grid.currentRow(), 2);
        QCOMPARE(cellColour(grid, 3, 2), plain);
        grid.setCurrentCell(3, 4);
        QCOMPARE(cellColour(grid, 3, 4), tint);
    }

    void cellRectsAndSignals()
    {
        ChannelTable table;
        ChannelGrid grid(&table, nullptr);
        grid.resize(grid.sizeHint());
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));

        QCOMPARE(grid.cellRect(1, 1).topLeft(), QPoint(30, 0));
        QCOMPARE(grid.cellRect(2, 3), QRect(102, 40, 72, 19));
        QCOMPARE(grid.cellRect(5, 0).top(), -20);
        QVERIFY(grid.cellRect(12, 1).isEmpty());

        QSignalSpy about(&grid, &ChannelGrid::aboutToSelectCell);
        QSignalSpy current(&grid, &ChannelGrid::currentCellChanged);
        QSignalSpy clicked(&grid, &ChannelGrid::cellClicked);
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, grid.cellRect(5, 3).center());
        QCOMPARE(about.count(), 1);
        QCOMPARE(about.at(0), (QList<QVariant>{5, 3}));
        QCOMPARE(current.count(), 1);
        QCOMPARE(current.at(0), (QList<QVariant>{5, 3}));
        QCOMPARE(clicked.count(), 1);
        QCOMPARE(clicked.at(0), (QList<QVariant>{5, 3}));

        // A press on the current cell still announces the selection; the number column
        // cannot be selected.
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, grid.cellRect(5, 3).center());
        QCOMPARE(about.count(), 2);
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, grid.cellRect(0, 6).center());
        QCOMPARE(about.count(), 2);
        QCOMPARE(grid.currentRow(), 3);
        QCOMPARE(clicked.count(), 2);   // nor is it clicked
        // Other buttons neither select nor click.
        QTest::mouseClick(grid.viewport(), Qt::RightButton, {}, grid.cellRect(5, 3).center());
        QTest::mouseClick(grid.viewport(), Qt::RightButton, {}, grid.cellRect(7, 8).center());
        QCOMPARE(about.count(), 2);
        QCOMPARE(clicked.count(), 2);
        QCOMPARE(grid.currentRow(), 3);


        // Keys announce the move before it happens; at the edge nothing is announced.
        QTest::keyClick(&grid, Qt::Key_Down);
        QCOMPARE(about.last(), (QList<QVariant>{5, 4}));
        QCOMPARE(grid.currentRow(), 4);
        grid.setCurrentCell(1, 1);
        const int before = about.count();
        QTest::keyClick(&grid, Qt::Key_Left);
        QTest::keyClick(&grid, Qt::Key_Up);
        QCOMPARE(about.count(), before);
        QCOMPARE(grid.currentColumn(), 1);

        // Scrolling moves the rectangles with the rows.
        grid.setCurrentCell(1, 128);
        const QRect last = grid.cellRect(1, 128);
        QVERIFY(grid.viewport()->rect().contains(last));
        QVERIFY(grid.cellRect(1, 1).bottom() < 0);

        QSignalSpy doubled(&grid, &ChannelGrid::cellDoubleClicked);
        const QPoint more = grid.cellRect(11, 127).center();
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, more);
        QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, more);
        QCOMPARE(doubled.count(), 1);
        QCOMPARE(doubled.at(0), (QList<QVariant>{11, 127}));
    }

    void conversionNotice()
    {
        FakeBands bands;
        bands.band1.clear();
        ChannelTable table;
        table.setBandSource(&bands);
        QWidget window;
        installConversionNotice(&table, &window);
        table.setCell(T::Grid1, 1, 1, QStringLiteral("4x0"));

        QString shown;
        QTimer::singleShot(0, [&shown] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                shown = box->text();
                box->button(QMessageBox::Ok)->click();
            }
        });
        QVERIFY(!table.sendcell(1, 1));
        QCOMPARE(shown, QStringLiteral("'4x0' is not a valid floating point value"));
    }
};

REGISTER_TEST(TestChannelGrid)
#include "tst_channelgrid.moc"
