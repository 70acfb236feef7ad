// Editing the channel table with the mouse, the keys and the wheel: the overlay editors, the
// commit of a row before the selection moves, marks that flip only on a click, and the key
// filters of the frequency and alias overlays.
#include "Controls.h"
#include "FakeBands.h"
#include "TestRegistry.h"
#include "channels/ui/ChannelEditor.h"
#include "channels/ui/ChannelGrid.h"
#include "channels/ToneList.h"
#include "codeplug/CodeplugDocument.h"
#include "shell/ui/Tform1.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

using T = ChannelTable;

namespace {

// A shown and active grid with its editor, band 1 at 400-470 MHz.
struct Fixture {
    FakeBands bands;
    ChannelTable table;
    ToneList tones;
    ChannelGrid grid{&table};
    ChannelEditor *editor;
    QLineEdit *freq;
    QComboBox *toneBox;
    QLineEdit *alias;

    Fixture()
    {
        table.setBandSource(&bands);
        editor = new ChannelEditor(&grid, &tones);
        freq = editor->bsSkinEdit1;
        toneBox = editor->ComboBox1;
        alias = editor->bsSkinEdit7;
        grid.resize(grid.sizeHint());
        grid.show();
        grid.activateWindow();
        grid.setFocus();
    }
    bool ready() { return QTest::qWaitForWindowActive(&grid); }

    QString cell(int column, int row) const { return table.cell(T::Grid1, column, row); }
    QString attribute(int column, int row) const { return table.cell(T::Grid2, column, row); }
    Marks marks() const { return table.marks(); }

    QPoint centre(int column, int row) const { return grid.cellRect(column, row).center(); }
    // Inside the cell but beside the overlay that covers the rest of it.
    QPoint margin(int column, int row) const { return grid.cellRect(column, row).topLeft() + QPoint(1, 1); }
    void click(int column, int row) { QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, centre(column, row)); }

    // Each character goes where the keyboard focus is, as typing does.
    void type(const QString &keys)
    {
        for (QChar c : keys)
            QTest::keyClick(focus(), c.toLatin1());
    }
    void key(Qt::Key k, Qt::KeyboardModifiers m = {}) { QTest::keyClick(focus(), k, m); }
    QWidget *focus()
    {
        QWidget *w = grid.window()->focusWidget();
        return w ? w : &grid;
    }
    void wheel(int angle)
    {
        const QPoint p = centre(8, 2);
        QWheelEvent e(p, grid.viewport()->mapToGlobal(p), QPoint(), QPoint(0, angle), Qt::NoButton, {},
                      Qt::NoScrollPhase, false);
        QApplication::sendEvent(grid.viewport(), &e);
    }
    // A committed channel in row at frequency text.
    void addChannel(int row, const QString &frequency = QStringLiteral("438.50000"))
    {
        table.setCell(T::Grid1, 1, row, frequency);
        table.fillNewChannelDefaults(row);
    }
    QPoint overlayPlace(int column, int row) const { return grid.cellRect(column, row).topLeft() + QPoint(3, 2); }
};

} // namespace

class TestEditing : public QObject
{
    Q_OBJECT
private slots:
    // The first digit typed on the selected cell replaces its text; Enter commits the new
    // channel and opens the overlay again on the normalised text.
    void typingANewChannel()
    {
        Fixture f;
        QVERIFY(f.ready());
        f.click(1, 5);
        QVERIFY(f.freq->isVisible());
        QCOMPARE(f.freq->pos(), f.overlayPlace(1, 5));
        QCOMPARE(f.freq->text(), QString());
        QCOMPARE(f.focus(), &f.grid);   // showing the overlay leaves the focus in the table

        f.type(QStringLiteral("438.5"));
        QCOMPARE(f.focus(), f.freq);
        QCOMPARE(f.cell(1, 5), QStringLiteral("438.5"));   // the cell follows the typing
        QCOMPARE(f.cell(2, 5), QString());

        f.key(Qt::Key_Return);
        const Marks m = f.marks();
        QCOMPARE(f.cell(1, 5), QStringLiteral("438.50000"));
        QCOMPARE(f.cell(3, 5), QStringLiteral("438.50000"));
        const QStringList row{f.cell(2, 5), f.cell(4, 5), f.cell(5, 5), f.cell(6, 5), f.cell(7, 5),
                              f.cell(8, 5), f.cell(9, 5), f.cell(10, 5)};
        QCOMPARE(row, (QStringList{m.off, m.off, m.high, m.wide, m.on, m.off, m.off, QString()}));
        QCOMPARE(f.attribute(4, 5), QStringLiteral("0"));
        QCOMPARE(f.attribute(1, 5), m.on);
        QVERIFY(f.freq->isVisible());
        QCOMPARE(f.freq->text(), QStringLiteral("438.50000"));
        QCOMPARE(f.freq->pos(), f.overlayPlace(1, 5));
        QCOMPARE(f.focus(), &f.grid);

        // A digit on the selected cell starts over; Enter in the table moves into the overlay.
        f.type(QStringLiteral("4"));
        QCOMPARE(f.freq->text(), QStringLiteral("4"));
        QCOMPARE(f.cell(1, 5), QStringLiteral("4"));
        f.key(Qt::Key_Return);
        QCOMPARE(f.cell(1, 5), QStringLiteral("400.00000"));   // clamped to the band
        f.key(Qt::Key_Return);
        QCOMPARE(f.focus(), f.freq);
        QCOMPARE(f.freq->text(), QStringLiteral("400.00000"));
    }

    void frequencyKeyFilter_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("text");
        QTest::newRow("dot first") << ".4" << "4";
        QTest::newRow("dot second") << "4.3" << "43";
        QTest::newRow("dot after three") << "438.1" << "438.1";
        QTest::newRow("second dot") << "438.1.2" << "438.12";
        QTest::newRow("dot after four digits") << "4385.1" << "4385.1";
        QTest::newRow("letters and signs") << "4a3-8+ 1" << "4381";
        QTest::newRow("nine at most") << "438.123456" << "438.12345";
    }
    void frequencyKeyFilter()
    {
        QFETCH(QString, keys);
        QFETCH(QString, text);
        Fixture f;
        QVERIFY(f.ready());
        f.click(1, 9);
        f.type(keys);
        QCOMPARE(f.freq->text(), text);
        QCOMPARE(f.cell(1, 9), text);
        QCOMPARE(f.cell(2, 9), QString());   // nothing committed while typing
    }

    // Paste, clipboard keys and control characters never reach the text; no context menu.
    void controlKeysDropped()
    {
        Fixture f;
        QVERIFY(f.ready());
        f.addChannel(3);
        QApplication::clipboard()->setText(QStringLiteral("123"));
        for (QLineEdit *edit : {f.freq, f.alias}) {
            f.click(edit == f.freq ? 1 : 10, 3);
            QVERIFY(edit->isVisible());
            QCOMPARE(edit->contextMenuPolicy(), Qt::PreventContextMenu);
            edit->setFocus();
            const QString before = edit->text();
            QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
            QTest::keyClick(edit, Qt::Key_Insert, Qt::ShiftModifier);
            QTest::keyClick(edit, Qt::Key_X, Qt::ControlModifier);
            QTest::keyClick(edit, Qt::Key_Z, Qt::ControlModifier);
            QTest::keyClick(edit, Qt::Key_Escape);
            QTest::mouseClick(edit, Qt::MiddleButton);
            QCOMPARE(edit->text(), before);
        }
        QCOMPARE(f.cell(1, 3), QStringLiteral("438.50000"));
        QCOMPARE(f.cell(10, 3), QString());
    }

    // From the keyboard: F2 or Enter opens the cell's editor with the focus, Escape puts the
    // cell back as it was and closes the editor, Enter commits; the arrows move on.
    void gridKeysOpenCommitAndCancel_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<int>("openKey");
        QTest::addColumn<QString>("committed");
        QTest::newRow("frequency, F2") << 1 << int(Qt::Key_F2) << "439.10000";
        QTest::newRow("frequency, Enter") << 3 << int(Qt::Key_Return) << "439.10000";
        QTest::newRow("tone, F2") << 2 << int(Qt::Key_F2) << "";
        QTest::newRow("alias, Enter") << 10 << int(Qt::Key_Enter) << "XY";
    }
    void gridKeysOpenCommitAndCancel()
    {
        QFETCH(int, column);
        QFETCH(int, openKey);
        QFETCH(QString, committed);
        Fixture f;
        QVERIFY(f.ready());
        f.addChannel(4);
        f.table.sendallcell(4, 1);
        f.grid.setCurrentCell(column, 4);
        f.grid.setFocus();
        QWidget *editor = column == 2 ? static_cast<QWidget *>(f.toneBox)
                                      : column == 10 ? static_cast<QWidget *>(f.alias) : f.freq;
        const ChannelCells before = f.table.cells();
        const auto typeSomething = [&] {
            if (column == 2) {
                f.key(Qt::Key_Down);
                return;
            }
            // The editor opens with the caret after the text: take it away first.
            for (int i = 0; i < ChannelEditor::FrequencyMaxLength; ++i)
                f.key(Qt::Key_Backspace);
            f.type(column == 10 ? QStringLiteral("xy") : QStringLiteral("439.1"));
        };

        f.key(Qt::Key(openKey));
        QCOMPARE(f.focus(), editor);
        typeSomething();
        QVERIFY(!(f.table.cells() == before));   // the cell follows the typing
        f.key(Qt::Key_Escape);
        QVERIFY(editor->isHidden());
        QCOMPARE(f.focus(), &f.grid);
        QVERIFY(f.table.cells() == before);

        f.key(Qt::Key(openKey));
        QCOMPARE(f.focus(), editor);
        typeSomething();
        const QString typed = f.cell(column, 4);
        f.key(Qt::Key_Return);
        QCOMPARE(f.focus(), &f.grid);
        QCOMPARE(f.cell(column, 4), committed.isEmpty() ? typed : committed);
        QVERIFY(f.cell(column, 4) != before.column(column, 4));

        f.key(Qt::Key_Down);
        QCOMPARE(f.grid.currentRow(), 5);
        QCOMPARE(f.grid.currentColumn(), column);
    }

    // On a mark cell F2 flips the mark, as a click does; on ">>" it opens the channel's page.
    void gridKeysOnMarksAndMore()
    {
        Fixture f;
        QVERIFY(f.ready());
        f.addChannel(2);
        f.grid.setCurrentCell(T::PowerColumn, 2);
        f.grid.setFocus();
        const QString power = f.cell(T::PowerColumn, 2);
        f.key(Qt::Key_F2);
        QVERIFY(f.cell(T::PowerColumn, 2) != power);
        f.key(Qt::Key_Return);
        QCOMPARE(f.cell(T::PowerColumn, 2), power);
        QSignalSpy page(f.editor, &ChannelEditor::singleChannelRequested);
        f.grid.setCurrentCell(T::MoreColumn, 2);
        f.key(Qt::Key_F2);
        QCOMPARE(page.count(), 1);
        QCOMPARE(page.first().first().toInt(), 2);
    }

    void aliasOverlay()
    {
        Fixture f;
        QVERIFY(f.ready());
        f.addChannel(2);
        f.click(10, 2);
        QVERIFY(f.alias->isVisible());
        QCOMPARE(f.alias->pos(), f.overlayPlace(10, 2));

        f.type(QStringLiteral("ab-1"));
        QCOMPARE(f.alias->text(), QStringLiteral("AB-1"));
        QCOMPARE(f.cell(10, 2), QStringLiteral("AB-1"));
        f.type(QStringLiteral("!,"));
        QCOMPARE(f.cell(10, 2), QStringLiteral("AB-1"));
        f.type(QStringLiteral("c_z"));
        QCOMPARE(f.cell(10, 2), QStringLiteral("AB-1C_"));   // the seventh character is refused
        QCOMPARE(f.alias->cursorPosition(), 6);

        // Enter closes the overlay; the alias needs no commit.
        f.key(Qt::Key_Return);
        QVERIFY(f.alias->isHidden());
        QCOMPARE(f.focus(), &f.grid);

        // A refused first key on the table leaves the alias alone; Backspace starts it over.
        f.click(10, 2);
        f.type(QStringLiteral("!"));
        QCOMPARE(f.cell(10, 2), QStringLiteral("AB-1C_"));
        QCOMPARE(f.focus(), &f.grid);
        f.key(Qt::Key_Backspace);
        QCOMPARE(f.cell(10, 2), QString());
        QCOMPARE(f.focus(), f.alias);

        // Text from an input method passes the same filter.
        QInputMethodEvent composed(QString(), {});
        composed.setCommitString(QStringLiteral("中!"));
        QApplication::sendEvent(f.alias, &composed);
        QCOMPARE(f.alias->text(), QString());
        composed.setCommitString(QStringLiteral("中x"));
        QApplication::sendEvent(f.alias, &composed);
        QTRY_COMPARE(f.cell(10, 2), QStringLiteral("中X"));

        // No overlay on an empty channel.
        f.click(10, 40);
        QVERIFY(f.alias->isHidden());
        f.type(QStringLiteral("x"));
        QCOMPARE(f.cell(10, 40), QString());
    }

    void aliasCharacterCodes()
    {
        const QString accepted = QStringLiteral(" #*+-./_");
        for (int code = 0; code < 128; ++code) {
            const QChar c(code);
            const bool expected = code == 8 || accepted.contains(c) || (code >= '0' && code <= '9')
                                  || (code >= 'A' && code <= 'Z') || (code >= 'a' && code <= 'z') || code == 127;
            QVERIFY2(ChannelEditor::aliasCharAccepted(c) == expected, qPrintable(QString::number(code)));
        }
        QVERIFY(ChannelEditor::aliasCharAccepted(QChar(0x4E2D)));   // 中
    }

    // Marks flip only on a mouse click: never on arrow keys, the wheel or a program move.
    void marksFlipOnClickOnly()
    {
        Fixture f;
        QVERIFY(f.ready());
        f.addChannel(3);
        f.addChannel(4);
        const Marks m = f.marks();
        QStringList shown;
        for (int i = 0; i < 3; ++i) {
            f.click(5, 3);
            shown << f.cell(5, 3);
        }
        QCOMPARE(shown, (QStringList{m.low, m.high, m.low}));

        f.click(6, 3);
        QCOMPARE(f.cell(6, 3), m.narrow);
        f.key(Qt::Key_Left);    // onto the power cell
        f.key(Qt::Key_Right);   // back onto the bandwidth cell
        f.key(Qt::Key_Down);
        f.key(Qt::Key_Up);
        f.wheel(-120);          // down to row 4
        QCOMPARE(f.grid.currentRow(), 4);
        f.wheel(120);
        QCOMPARE(f.grid.currentRow(), 3);
        f.editor->moveSelection(5, 3);
        f.editor->moveSelection(7, 4);
        QCOMPARE(f.cell(5, 3), m.low);
        QCOMPARE(f.cell(6, 3), m.narrow);
        QCOMPARE(f.cell(6, 4), m.wide);
        QCOMPARE(f.cell(7, 4), m.on);
        QVERIFY(!f.editor->cursor().SkipToggle);

        // A key or wheel turn that cannot move leaves no flag behind: the next click flips.
        f.editor->moveSelection(9, 1);
        f.key(Qt::Key_Up);
        f.wheel(120);
        QVERIFY(!f.editor->cursor().SkipToggle);
        f.addChannel(1);
        f.click(9, 1);
        QCOMPARE(f.cell(9, 1), m.on);

        // A double click flips once: its second press only does the double-click action.
        f.click(8, 4);
        QTest::mouseDClick(f.grid.viewport(), Qt::LeftButton, {}, f.centre(8, 4));
        QTest::mouseRelease(f.grid.viewport(), Qt::LeftButton, {}, f.centre(8, 4));
        QCOMPARE(f.cell(8, 4), m.on);

        // Clicking a mark cell of an empty channel changes nothing.
        f.click(5, 50);
        QCOMPARE(f.cell(5, 50), QString());
    }

    // The press commits the row being left (even on the current cell); the release enters.
    void clickOrder()
    {
        Fixture f;
        QVERIFY(f.ready());
        f.click(1, 2);
        f.type(QStringLiteral("438.5"));
        QTest::mousePress(f.grid.viewport(), Qt::LeftButton, {}, f.centre(5, 6));
        QCOMPARE(f.cell(1, 2), QStringLiteral("438.50000"));
        QCOMPARE(f.editor->cursor().CurRow, 2);
        QVERIFY(!f.freq->isHidden());
        QTest::mouseRelease(f.grid.viewport(), Qt::LeftButton, {}, f.centre(5, 6));
        QCOMPARE(f.editor->cursor().CurRow, 6);
        QVERIFY(f.freq->isHidden());

        f.click(3, 2);
        f.type(QStringLiteral("450"));
        QTest::mouseClick(f.grid.viewport(), Qt::LeftButton, {}, f.margin(3, 2));
        QCOMPARE(f.cell(3, 2), QStringLiteral("450.00000"));
        QCOMPARE(f.freq->text(), QStringLiteral("450.00000"));
    }

    void toneChoice_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<int>("attribute");
        QTest::newRow("transmit") << 4 << 5;
        QTest::newRow("receive") << 2 << 4;
    }
    void toneChoice()
    {
        QFETCH(int, column);
        QFETCH(int, attribute);
        Fixture f;
        QVERIFY(f.ready());
        f.addChannel(7);
        f.click(column, 7);
        QVERIFY(f.toneBox->isVisible());
        QCOMPARE(f.toneBox->pos(), f.overlayPlace(column, 7));
        QCOMPARE(f.toneBox->count(), ToneList::Count);
        QCOMPARE(f.toneBox->currentText(), f.marks().off);
        QCOMPARE(f.editor->cursor().ToneRow, 7);

        f.toneBox->setFocus();
        QTest::keyClicks(f.toneBox, QStringLiteral("D023N"));
        QCOMPARE(f.toneBox->currentIndex(), 53);
        QCOMPARE(f.cell(column, 7), QStringLiteral("D023N"));
        QCOMPARE(f.attribute(attribute, 7), QStringLiteral("53"));

        // Leaving the list closes it; entering the cell again selects its tone.
        f.grid.setFocus();
        QVERIFY(f.toneBox->isHidden());
        f.click(column, 8);   // an empty channel: no list
        QVERIFY(f.toneBox->isHidden());
        f.click(column, 7);
        QCOMPARE(f.toneBox->currentIndex(), 53);
    }

    // A tone text that is not a list entry (from an edited file) keeps the previous choice;
    // leaving the list writes that choice with its index, never the text alone.
    void toneOutsideTheList()
    {
        Fixture f;
        QVERIFY(f.ready());
        f.addChannel(7);
        f.table.setCell(T::Grid1, 2, 7, QStringLiteral("67.5"));
        f.addChannel(6);
        f.table.setCell(T::Grid1, 2, 6, QStringLiteral("67.0"));
        f.click(2, 6);
        f.click(2, 7);
        QCOMPARE(f.toneBox->currentText(), QStringLiteral("67.0"));
        QCOMPARE(f.cell(2, 7), QStringLiteral("67.5"));   // only shown, not written
        f.toneBox->setFocus();
        f.grid.setFocus();
        QCOMPARE(f.cell(2, 7), QStringLiteral("67.0"));
        QCOMPARE(f.attribute(4, 7), QStringLiteral("2"));
    }

    void toneListFollowsTheOffWord()
    {
        Fixture f;
        QVERIFY(f.ready());
        f.toneBox->setCurrentIndex(12);
        f.tones.setOffWord(QStringLiteral("OFF"));
        QCOMPARE(f.toneBox->itemText(0), QStringLiteral("OFF"));
        QCOMPARE(f.toneBox->currentIndex(), 12);
        QCOMPARE(f.toneBox->count(), ToneList::Count);
    }

    void deleteAndBackspace()
    {
        Fixture f;
        QVERIFY(f.ready());
        f.addChannel(4);
        f.table.setCell(T::Grid1, 4, 4, QStringLiteral("D023N"));
        f.table.setCell(T::Grid2, 5, 4, QStringLiteral("53"));
        f.table.setCell(T::Grid1, 10, 4, QStringLiteral("AB"));
        f.editor->moveSelection(6, 4);
        f.key(Qt::Key_Delete);
        for (int c = 1; c <= 10; ++c)
            QCOMPARE(f.cell(c, 4), QString());
        QCOMPARE(f.attribute(5, 4), QStringLiteral("53"));   // until the next commit
        QVERIFY(f.editor->hasPendingFrequency());
        f.key(Qt::Key_Down);
        for (int a = 1; a <= 7; ++a)
            QCOMPARE(f.attribute(a, 4), QString());

        // Backspace wipes a complete frequency only.
        f.addChannel(5);
        f.click(3, 5);
        f.key(Qt::Key_Backspace);
        QCOMPARE(f.cell(3, 5), QString());
        QCOMPARE(f.freq->text(), QString());
        f.click(1, 6);
        f.type(QStringLiteral("438.5"));
        f.grid.setFocus();
        f.key(Qt::Key_Backspace);
        QCOMPARE(f.cell(1, 6), QStringLiteral("438.5"));
    }

    // Scrolling (and any redraw that finds an overlay off its cell) closes it; the typed
    // text stays in the cell until something commits it.
    void overlaysLeaveWithTheirCell()
    {
        Fixture f;
        QVERIFY(f.ready());
        f.click(1, 2);
        f.type(QStringLiteral("43"));
        f.grid.verticalScrollBar()->setValue(20);
        QVERIFY(f.freq->isHidden());
        QCOMPARE(f.focus(), &f.grid);
        QCOMPARE(f.cell(1, 2), QStringLiteral("43"));
        QVERIFY(f.editor->hasPendingFrequency());
        QVERIFY(f.editor->commitPendingEdit(true));
        QCOMPARE(f.cell(1, 2), QStringLiteral("400.00000"));
        QVERIFY(!f.editor->hasPendingFrequency());

        // The wheel moves the selection instead of scrolling.
        f.addChannel(30);
        f.editor->moveSelection(10, 30);
        QVERIFY(f.alias->isVisible());
        const int top = f.grid.verticalScrollBar()->value();
        f.wheel(-120);
        QCOMPARE(f.grid.verticalScrollBar()->value(), top);
        QCOMPARE(f.grid.currentRow(), 31);
        QVERIFY(f.alias->isHidden());
        f.wheel(120);
        QVERIFY(f.alias->isVisible());

        // The current row moves away from the selection (as move up and down do).
        f.editor->cursor().CurRow = 31;
        f.grid.viewport()->update();
        QTRY_VERIFY(f.alias->isHidden());
    }

    // In the main window: ">>" opens the single-channel page, page 0 closes the frequency
    // overlay when it comes back, and a command that reads the whole table gets the typed
    // frequency committed although the page switch closed its overlay.
    void mainWindow()
    {
        QTemporaryDir dir;
        Tform1 form(PreferencesPaths::single(dir.filePath(QStringLiteral("myini.ini"))));
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        form.document()->addOrSelectRange(BandLists::List1Rx, QStringLiteral("400-470MHz"));
        ChannelGrid *grid = control<ChannelGrid>(form, "StringAlignGrid1");
        ChannelTable *table = form.channelTable();
        auto *freq = form.findChild<QLineEdit *>(QStringLiteral("bsSkinEdit1"));
        QVERIFY(freq);
        QVERIFY(form.findChild<QComboBox *>(QStringLiteral("ComboBox1")));
        QVERIFY(form.findChild<QLineEdit *>(QStringLiteral("bsSkinEdit7")));

        QSignalSpy single(control<ChannelEditor>(form, "channelEditor"), &ChannelEditor::singleChannelRequested);
        QSignalSpy channel(control<ChannelEditor>(form, "channelEditor"), &ChannelEditor::currentChannelChanged);
        const QPoint more = grid->cellRect(11, 9).center();
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, more);
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, more);
        QTest::mouseRelease(grid->viewport(), Qt::LeftButton, {}, more);
        QCOMPARE(control<QTabWidget>(form, "pageControl")->currentIndex(), int(Tform1::SingleChannelPage));
        QCOMPARE(single.count(), 1);
        QCOMPARE(single.at(0).at(0).toInt(), 9);
        QCOMPARE(channel.last().at(0).toInt(), 9);

        form.showPage(Tform1::ChannelPage);
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->cellRect(1, 3).center());
        QTest::keyClicks(grid, QStringLiteral("4"));
        QTest::keyClicks(freq, QStringLiteral("39.1"));
        QCOMPARE(table->cell(T::Grid1, 1, 3), QStringLiteral("439.1"));
        form.showPage(Tform1::FunctionPage);
        form.showPage(Tform1::ChannelPage);
        QVERIFY(freq->isHidden());
        QCOMPARE(table->cell(T::Grid1, 1, 3), QStringLiteral("439.1"));
        form.showPage(Tform1::FunctionPage);
        QVERIFY(form.finishChannelEdit(true));
        QCOMPARE(control<QTabWidget>(form, "pageControl")->currentIndex(), int(Tform1::ChannelPage));
        QCOMPARE(table->cell(T::Grid1, 1, 3), QStringLiteral("439.10000"));
        QCOMPARE(table->cell(T::Grid1, 3, 3), QStringLiteral("439.10000"));

        // The window goes while the tone list has the focus.
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->cellRect(2, 3).center());
        control<ChannelEditor>(form, "channelEditor")->ComboBox1->setFocus();
        QCOMPARE(QApplication::focusWidget(), control<ChannelEditor>(form, "channelEditor")->ComboBox1);
    }
};

REGISTER_TEST(TestEditing)
#include "tst_editing.moc"
