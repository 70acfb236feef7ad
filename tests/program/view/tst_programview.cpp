#include "TestRegistry.h"

#include "base/ResourceLibrary.h"
#include "base/Globals.h"
#include "files/CProgramDoc.h"
#include "model/RadioImage.h"
#include "model/ChannelCodec.h"
#include "model/GridContents.h"
#include "model/GridRules.h"
#include "model/MemoryImage.h"
#include "model/ui/CProgramView.h"
#include "model/ui/ChannelGridWidget.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QTimer>
#include <QDir>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include <cstring>
#include <memory>

namespace {

QStringList rowTexts(const CProgramView &view, int row)
{
    QStringList texts;
    for (int c = 1; c <= 9; ++c)
        texts << view.cellText(row, c);
    return texts;
}

void storeChannel(ImageBytes &image, int n, const QStringList &texts)
{
    ChannelTexts t;
    for (int c = 1; c <= 9; ++c)
        t.setText(c, texts.value(c - 1));
    StoreChannel(image, n, t);
}

} // namespace

class TestProgramView : public QObject
{
    Q_OBJECT

    ImageBytes m_image;  // what the document holds when the view is made
    std::unique_ptr<CProgramDoc> m_document;
    std::unique_ptr<CProgramView> m_view;
    ChannelGridWidget *m_grid = nullptr;
    QLineEdit *m_frequencyEditor = nullptr;
    QComboBox *m_toneEditor = nullptr;
    QComboBox *m_listEditor = nullptr;
    QLineEdit *m_nameEditor = nullptr;
    QComboBox *m_modelSelector = nullptr;

    void storeChannel(int n, const QStringList &texts) { ::storeChannel(m_image, n, texts); }
    const ImageBytes &image() const { return m_document->RadioImage(); }

    // A new view on a document holding `m_image`, shown, active and initially updated.
    void makeView()
    {
        m_view.reset();
        m_document = std::make_unique<CProgramDoc>();
        m_document->editImage([this](ImageBytes &image) { image = m_image; });
        m_document->markClean();
        m_view = std::make_unique<CProgramView>(m_document.get());
        m_view->resize(m_view->sizeHint());
        m_view->show();
        m_view->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_view.get()));
        m_view->onInitialUpdate();
        m_grid = m_view->findChild<ChannelGridWidget *>(QStringLiteral("channelGrid"));
        m_frequencyEditor = m_view->findChild<QLineEdit *>(QStringLiteral("frequencyEditor"));
        m_toneEditor = m_view->findChild<QComboBox *>(QStringLiteral("toneEditor"));
        m_listEditor = m_view->findChild<QComboBox *>(QStringLiteral("listEditor"));
        m_nameEditor = m_view->findChild<QLineEdit *>(QStringLiteral("nameEditor"));
        m_modelSelector = m_view->findChild<QComboBox *>(QStringLiteral("modelSelector"));
        QVERIFY(m_grid && m_frequencyEditor && m_toneEditor && m_listEditor && m_nameEditor && m_modelSelector);
    }

    QPoint cellCenter(int row, int column) const
    {
        return m_grid->visualRect(m_grid->model()->index(row - 1, column - 1)).center();
    }

    void clickCell(int row, int column)
    {
        m_grid->scrollTo(m_grid->model()->index(row - 1, column - 1));
        QTest::mouseClick(m_grid->viewport(), Qt::LeftButton, {}, cellCenter(row, column));
    }

    // Selects the model by keyboard, as a user would.
    void chooseModel(int index)
    {
        m_modelSelector->setFocus();
        while (m_modelSelector->currentIndex() < index)
            QTest::keyClick(m_modelSelector, Qt::Key_Down);
    }

    // Presses the channel number of `row` (column 0).
    void clickNumber(int row)
    {
        QHeaderView *numbers = m_grid->verticalHeader();
        QTest::mouseClick(numbers->viewport(), Qt::LeftButton, {},
                          QPoint(numbers->width() / 2, numbers->sectionViewportPosition(row - 1) + 5));
    }

    // Types into the Rx Freq editor of `row` and leaves it by clicking the channel number.
    void typeFrequency(int row, const QString &typed)
    {
        clickCell(row, 1);
        QVERIFY(m_frequencyEditor->isVisible());
        QTest::keyClick(m_frequencyEditor, Qt::Key_Backspace);
        QTest::keyClicks(m_frequencyEditor, typed);
        clickNumber(row);
    }

private slots:
    void init()
    {
        LanguageIndex = LanguageEnglish;
        NewImage(m_image);
    }
    void cleanup()
    {
        m_view.reset();
        m_document.reset();
        LanguageIndex = LanguageEnglish;
        installResources(builtInResources());
    }

    // Ctrl+C on channel 5, Ctrl+V on channel 9: channel 9 becomes channel 5 in grid and image,
    // as one change; text that is not channel rows is refused and changes nothing.
    void copyThenPasteChannel()
    {
        storeChannel(5, {"438.50000", "433.50000", "67.0", "D023I", "QDT", "Low", "Del", "Narrow", "RPT5"});
        makeView();
        QSignalSpy edits(m_document.get(), &CProgramDoc::stepRecorded);
        m_grid->setFocus();
        m_grid->setCurrentCell(4, 0);
        QTest::keyClick(m_grid, Qt::Key_C, Qt::ControlModifier);
        QVERIFY(QGuiApplication::clipboard()->text().startsWith(QStringLiteral("5\tRPT5\t438.500000\t-\t5.000000\t")));
        m_grid->setCurrentCell(8, 0);
        QTest::keyClick(m_grid, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(rowTexts(*m_view, 9), rowTexts(*m_view, 5));
        QCOMPARE(LoadChannel(image(), 9), LoadChannel(image(), 5));
        QCOMPARE(edits.count(), 1);

        // A refusal shows a message box; it is answered as soon as it is up.
        QGuiApplication::clipboard()->setText(QStringLiteral("not\tchannels"));
        const QByteArray before = m_document->imageBytes();
        QTimer::singleShot(0, [] {
            if (QWidget *box = QApplication::activeModalWidget())
                box->close();
        });
        m_grid->setCurrentCell(11, 0);
        QTest::keyClick(m_grid, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(m_document->imageBytes(), before);
        QCOMPARE(edits.count(), 1);
    }

    void layoutAndHeaders()
    {
        makeView();
        QCOMPARE(m_grid->rows(), 100);
        QCOMPARE(m_grid->cols(), 10);
        QCOMPARE(rowTexts(*m_view, 0).join(','),
                 QStringLiteral("Rx Freq,Tx Freq,Rx Tone,Tx Tone,Busy Lock,Power,Scan Add,Bandwidth,Name"));
        QCOMPARE(m_view->cellText(0, 0), QStringLiteral("CH"));
        QCOMPARE(m_view->cellText(99, 0), QStringLiteral("99"));
        QCOMPARE(m_grid->verticalHeader()->width() * 2, m_grid->horizontalHeader()->sectionSize(0));
        QCOMPARE(m_view->modelText(), QStringLiteral("KVT270U01"));
        QSignalSpy factory(m_view.get(), &CProgramView::defaultFactoryClicked);
        QTest::mouseClick(m_view->findChild<QPushButton *>(QStringLiteral("defaultFactoryButton")), Qt::LeftButton);
        QCOMPARE(factory.size(), 1);
    }

    // Frequencies typed into an empty channel of the 136-174MHz band.
    void typedFrequency_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("5 kHz raster") << "145.12345" << "145.12000";
        QTest::newRow("6.25 kHz multiple") << "145.00625" << "145.00625";
        QTest::newRow("tie to 5 kHz") << "145.0031" << "145.00000";
        QTest::newRow("above band") << "500" << "174.00000";
        QTest::newRow("below band") << "100" << "136.00000";
        QTest::newRow("zero") << "0" << "";
    }
    void typedFrequency()
    {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        makeView();
        chooseModel(1);
        QCOMPARE(m_view->findChild<QComboBox *>(QStringLiteral("bandSelector"))->currentText(),
                 QStringLiteral("136-174MHz"));
        typeFrequency(5, typed);
        QVERIFY(!m_frequencyEditor->isVisible());
        const QStringList expected = shown.isEmpty()
            ? QStringList(9, QString())
            : QStringList{shown, shown, "Off", "Off", "Off", "High", "Add", "Wide", ""};
        QCOMPARE(rowTexts(*m_view, 5), expected);
    }

    // Zero or a text without a number deletes an existing channel; its other rows stay.
    void clearingRxDeletesTheChannel()
    {
        storeChannel(2, {"440.00000", "445.00000", "67.0", "D023N", "QDT", "Low", "Del", "Narrow", "ABC"});
        storeChannel(3, {"441.00000", "441.00000", "Off", "Off", "Off", "High", "Add", "Wide", ""});
        makeView();
        // Typing goes through the key filter, so letters cannot be typed; an editor text of
        // letters (pasted by another route) deletes just the same.
        clickCell(2, 1);
        m_frequencyEditor->setText(QStringLiteral("abc"));
        clickCell(3, 2);
        QCOMPARE(rowTexts(*m_view, 2), QStringList(9, QString()));
        QCOMPARE(m_view->cellText(3, 1), QStringLiteral("441.00000"));
        // Tx Freq of an existing channel changes alone, clamped to the band in force.
        QVERIFY(m_frequencyEditor->isVisible());
        m_frequencyEditor->setText(QStringLiteral("480"));
        clickCell(3, 9);
        QCOMPARE(rowTexts(*m_view, 3), (QStringList{"441.00000", "470.00000", "Off", "Off", "Off", "High", "Add", "Wide", ""}));
    }

    // The model byte picks the model and its band; out-of-range bytes fall back to the first.
    void imageSelectsModel_data()
    {
        QTest::addColumn<int>("modelByte");
        QTest::addColumn<QString>("model");
        QTest::addColumn<QString>("band");
        QTest::newRow("V01") << 1 << "KVT270V01" << "136-174MHz";
        QTest::newRow("U10") << 4 << "KVT270U10" << "450-520MHz";
        QTest::newRow("7") << 7 << "KVT270U01" << "400-470MHz";
        QTest::newRow("new image") << 0xFF << "KVT270U01" << "400-470MHz";
    }
    void imageSelectsModel()
    {
        QFETCH(int, modelByte);
        QFETCH(QString, model);
        QFETCH(QString, band);
        m_image[ImageMap::ModelIndex] = std::uint8_t(modelByte);
        m_image[ImageMap::BandIndex] = 3;
        makeView();
        QCOMPARE(m_view->modelText(), model);
        auto *bands = m_view->findChild<QComboBox *>(QStringLiteral("bandSelector"));
        QCOMPARE(bands->count(), 1);
        QCOMPARE(bands->currentText(), band);
        std::uint32_t low = 0, high = 0;
        QVERIFY(GridRules::parseBandText(band, &low, &high));
        QCOMPARE(m_document->FreqLow(), low);
        QCOMPARE(m_document->FreqHigh(), high);
    }

    // A model change limits new frequencies but leaves the channels in the grid alone.
    void modelChangeKeepsChannels()
    {
        storeChannel(1, {"440.00000", "440.00000", "Off", "Off", "Off", "High", "Add", "Wide", ""});
        makeView();
        chooseModel(1);
        QCOMPARE(m_view->cellText(1, 1), QStringLiteral("440.00000"));
        typeFrequency(2, QStringLiteral("440"));
        QCOMPARE(m_view->cellText(2, 1), QStringLiteral("174.00000"));
    }

    // An empty channel can only be started with its receive frequency.
    void emptyChannelOpensRxFreq()
    {
        makeView();
        clickCell(4, 4);
        QCOMPARE(m_grid->col(), 1);
        QCOMPARE(m_grid->row(), 4);
        QCOMPARE(m_view->openEditor(), static_cast<QWidget *>(m_frequencyEditor));
        QVERIFY(m_frequencyEditor->hasFocus());
        // Laid over the cell.
        const QRect cell(m_grid->viewport()->mapTo(m_view.get(), m_grid->visualRect(m_grid->currentIndex()).topLeft()),
                         m_grid->visualRect(m_grid->currentIndex()).size());
        QVERIFY(cell.contains(m_frequencyEditor->geometry()));
        QVERIFY(m_frequencyEditor->width() >= cell.width() - 2);
    }

    // The editor of each column, opened on a channel, starts on the cell's value and writes
    // the chosen value back.
    void editorsOfAChannel()
    {
        storeChannel(1, {"440.00000", "440.00000", "67.0", "D023N", "Carrier", "High", "Add", "Wide", "AB"});
        makeView();
        clickCell(1, 3);
        QCOMPARE(m_view->openEditor(), static_cast<QWidget *>(m_toneEditor));
        QCOMPARE(m_toneEditor->currentText(), QStringLiteral("67.0"));
        QCOMPARE(m_toneEditor->count(), 265);
        m_toneEditor->setCurrentIndex(m_toneEditor->findText(QStringLiteral("D754I")));
        clickCell(1, 6);
        QCOMPARE(m_view->cellText(1, 3), QStringLiteral("D754I"));
        QCOMPARE(m_view->openEditor(), static_cast<QWidget *>(m_listEditor));
        QCOMPARE(m_listEditor->currentText(), QStringLiteral("High"));
        QTest::keyClick(m_listEditor, Qt::Key_Down);
        QTest::keyClick(m_listEditor, Qt::Key_Return);
        QCOMPARE(m_view->cellText(1, 6), QStringLiteral("Low"));
        QTRY_COMPARE(m_grid->col(), 7);
        clickCell(1, 9);
        QCOMPARE(m_view->openEditor(), static_cast<QWidget *>(m_nameEditor));
        QCOMPARE(m_nameEditor->selectedText(), QStringLiteral("AB"));
        QTest::keyClicks(m_nameEditor, QStringLiteral("HE"));
        QKeyEvent wide(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QStringLiteral("张"));
        QApplication::sendEvent(m_nameEditor, &wide); // not one byte: refused
        QKeyEvent terminator(QEvent::KeyPress, Qt::Key_ydiaeresis, Qt::NoModifier, QStringLiteral("\u00FF"));
        QApplication::sendEvent(m_nameEditor, &terminator); // byte 0xFF ends a stored name: refused
        QTest::keyClicks(m_nameEditor, QStringLiteral("LLOWORLD"));
        clickCell(1, 1);
        QCOMPARE(m_view->cellText(1, 9), QStringLiteral("HELLOW"));
    }

    // A tone the list does not hold (read from a radio or a file) opens the tone editor with
    // nothing selected; leaving it without a choice keeps the tone instead of turning it off.
    void toneOutsideTheListSurvivesAVisit()
    {
        storeChannel(1, {"440.00000", "440.00000", "68.0", "D000N", "Off", "High", "Add", "Wide", ""});
        makeView();
        clickCell(1, 3);
        QCOMPARE(m_view->openEditor(), static_cast<QWidget *>(m_toneEditor));
        QCOMPARE(m_toneEditor->currentIndex(), -1);
        clickCell(1, 4);
        QCOMPARE(m_view->openEditor(), static_cast<QWidget *>(m_toneEditor));
        QTest::keyClick(m_toneEditor, Qt::Key_Return);
        QCOMPARE(m_view->cellText(1, 3), QStringLiteral("68.0"));
        QCOMPARE(m_view->cellText(1, 4), QStringLiteral("D000N"));
        m_view->GridToImage();
        QCOMPARE(LoadChannel(image(), 1).rxTone, QStringLiteral("68.0"));
        QCOMPARE(LoadChannel(image(), 1).txTone, QStringLiteral("D000N"));
    }

    // A list or tone value committed when the channel has no Rx Freq leaves the cell empty.
    void listValueOnEmptyChannel()
    {
        storeChannel(1, {"440.00000", "440.00000", "Off", "Off", "Off", "High", "Add", "Wide", ""});
        makeView();
        clickCell(1, 8);
        QCOMPARE(m_view->openEditor(), static_cast<QWidget *>(m_listEditor));
        // The channel goes away while the editor is open (its row is read afresh).
        m_document->setChannel(1, ChannelTexts());
        m_listEditor->setCurrentIndex(1);
        clickCell(2, 1);
        QCOMPARE(rowTexts(*m_view, 1), QStringList(9, QString()));
    }

    void chineseListEditor()
    {
        LanguageIndex = LanguageSimplifiedChinese;
        storeChannel(1, {"440.00000", "440.00000", "Off", "Off", "Off", "High", "Add", "Wide", ""});
        makeView();
        QCOMPARE(m_view->cellText(1, 5), QStringLiteral("关"));
        QCOMPARE(m_view->cellText(0, 5), QStringLiteral("繁忙锁定"));
        clickCell(1, 5);
        QCOMPARE(m_listEditor->currentText(), QStringLiteral("关闭"));
        QCOMPARE(m_listEditor->count(), 3);
        clickCell(1, 1);
        QCOMPARE(m_view->cellText(1, 5), QStringLiteral("关闭"));
        m_view->GridToImage();
        QCOMPARE(image()[12] & 0x03, 0);
    }

    void frequencyKeyFilter_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("result");
        QTest::newRow("digit") << int(Qt::Key_8) << int(Qt::NoModifier) << "8" << "1458";
        QTest::newRow("full stop") << int(Qt::Key_Period) << int(Qt::NoModifier) << "." << "145.";
        QTest::newRow("shift+8") << int(Qt::Key_8) << int(Qt::ShiftModifier) << "*" << "145";
        QTest::newRow("letter") << int(Qt::Key_A) << int(Qt::NoModifier) << "a" << "145";
        QTest::newRow("space") << int(Qt::Key_Space) << int(Qt::NoModifier) << " " << "145";
        QTest::newRow("keypad point") << int(Qt::Key_Period) << int(Qt::KeypadModifier) << "." << "145.";
        QTest::newRow("keypad digit") << int(Qt::Key_3) << int(Qt::KeypadModifier) << "3" << "1453";
        QTest::newRow("keypad comma") << int(Qt::Key_Comma) << int(Qt::KeypadModifier) << "," << "145.";
        QTest::newRow("backspace") << int(Qt::Key_Backspace) << int(Qt::NoModifier) << "" << "14";
    }
    void frequencyKeyFilter()
    {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(QString, text);
        QFETCH(QString, result);
        makeView();
        clickCell(1, 1);
        QTest::keyClicks(m_frequencyEditor, QStringLiteral("145"));
        QKeyEvent press(QEvent::KeyPress, key, Qt::KeyboardModifiers(modifiers), text);
        QApplication::sendEvent(m_frequencyEditor, &press);
        QCOMPARE(m_frequencyEditor->text(), result);
    }

    // F2 opens the current cell's editor with the focus, as Enter does; Escape closes it
    // and the cell and the document stay as they were; Enter commits what was typed.
    void gridKeysOpenCommitAndCancel_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("committed");
        QTest::newRow("frequency") << 2 << "450.00000";
        QTest::newRow("tone") << 3 << "";
        QTest::newRow("list") << 6 << "";
        QTest::newRow("name") << 9 << "XYZ";
    }
    void gridKeysOpenCommitAndCancel()
    {
        QFETCH(int, column);
        QFETCH(QString, committed);
        storeChannel(4, {"440.00000", "440.00000", "67.0", "Off", "Off", "High", "Add", "Wide", "ABC"});
        makeView();
        const QStringList before = rowTexts(*m_view, 4);
        const auto typeSomething = [&](QWidget *editor) {
            if (column == 2)
                QTest::keyClicks(editor, QStringLiteral("450"));
            else if (column == 9)
                QTest::keyClicks(editor, QStringLiteral("XYZ"));
            else if (auto *box = static_cast<QComboBox *>(editor); box->currentIndex() == box->count() - 1)
                QTest::keyClick(editor, Qt::Key_Home);
            else
                QTest::keyClick(editor, Qt::Key_Down);
        };
        m_grid->setFocus();
        m_grid->setCurrentCell(3, column - 1);

        QTest::keyClick(m_grid, Qt::Key_F2);
        QWidget *editor = m_view->openEditor();
        QVERIFY(editor);
        QCOMPARE(QApplication::focusWidget(), editor);
        typeSomething(editor);
        QTest::keyClick(editor, Qt::Key_Escape);
        QVERIFY(!m_view->openEditor());
        QVERIFY(editor->isHidden());
        QVERIFY(m_grid->hasFocus());
        QCOMPARE(rowTexts(*m_view, 4), before);
        QVERIFY(!m_document->isModified());

        QTest::keyClick(m_grid, Qt::Key_F2);
        QCOMPARE(m_view->openEditor(), editor);
        typeSomething(editor);
        const QString typed = column == 2 || column == 9 ? committed
                              : static_cast<QComboBox *>(editor)->currentText();
        QTest::keyClick(editor, Qt::Key_Return);
        QCOMPARE(m_view->cellText(4, column), typed);
        QVERIFY(m_view->cellText(4, column) != before.at(column - 1));
        QVERIFY(m_document->isModified());
    }

    // Enter and the row ends move the grid's cursor through posted keys.
    void keyboardMoves()
    {
        makeView();
        // Enter in the frequency editor: right after a value, down after an empty text.
        m_grid->setFocus();
        m_grid->setCurrentCell(9, 0);
        QTest::keyClick(m_grid, Qt::Key_Return);
        QCOMPARE(m_view->openEditor(), static_cast<QWidget *>(m_frequencyEditor));
        QTest::keyClicks(m_frequencyEditor, QStringLiteral("450.1"));
        QTest::keyClick(m_frequencyEditor, Qt::Key_Return);
        QCOMPARE(m_view->cellText(10, 1), QStringLiteral("450.10000"));
        QTRY_COMPARE(m_grid->col(), 2);
        QCOMPARE(m_grid->row(), 10);
        QVERIFY(m_grid->hasFocus());

        m_grid->setCurrentCell(11, 0);
        QTest::keyClick(m_grid, Qt::Key_Enter);
        QTest::keyClick(m_frequencyEditor, Qt::Key_Return);
        QTRY_COMPARE(m_grid->row(), 13);
        QCOMPARE(m_grid->col(), 1);

        // Row ends wrap, except past the first and the last cell.
        m_grid->setCurrentCell(4, 8);
        QTest::keyClick(m_grid, Qt::Key_Right);
        QTRY_COMPARE(m_grid->row(), 6);
        QCOMPARE(m_grid->col(), 1);
        QTest::keyClick(m_grid, Qt::Key_Left);
        QTRY_COMPARE(m_grid->row(), 5);
        QCOMPARE(m_grid->col(), 9);
        m_grid->setCurrentCell(98, 8);
        QTest::keyClick(m_grid, Qt::Key_Right);
        QTest::qWait(20);
        QCOMPARE(m_grid->row(), 99);
        QCOMPARE(m_grid->col(), 9);
        m_grid->setCurrentCell(0, 0);
        QTest::keyClick(m_grid, Qt::Key_Left);
        QTest::qWait(20);
        QCOMPARE(m_grid->row(), 1);
        QCOMPARE(m_grid->col(), 1);
    }

    // The channel-number column switches the selection highlight on, other cells off.
    void highlight()
    {
        makeView();
        clickNumber(3);
        QVERIFY(m_grid->highLight());
        QVERIFY(!m_view->openEditor());
        clickCell(3, 2);
        QVERIFY(!m_grid->highLight());
    }

    // Scrolling the grid commits the open editor.
    void scrollingCommits()
    {
        makeView();
        clickCell(1, 1);
        QTest::keyClicks(m_frequencyEditor, QStringLiteral("430"));
        m_grid->verticalScrollBar()->setValue(m_grid->verticalScrollBar()->value() + 5);
        QVERIFY(!m_frequencyEditor->isVisible());
        QCOMPARE(m_view->cellText(1, 1), QStringLiteral("430.00000"));
    }

    // The grid shows the image and stores it back byte for byte; an editor still open is
    // committed first.
    void imageRoundTrip()
    {
        storeChannel(1, {"145.12500", "145.72500", "67.0", "D023N", "Carrier", "Low", "Del", "Narrow", "HOME"});
        storeChannel(50, {"438.00625", "438.00625", "D754I", "254.1", "QDT", "High", "Add", "Wide", "X1"});
        storeChannel(99, {"470.00000", "400.00000", "Off", "Off", "Off", "High", "Add", "Wide", ""});
        m_image[ImageMap::ModelIndex] = 4;
        m_image[ImageMap::BandIndex] = 0;
        WriteFixedFields(m_image);
        const QByteArray before = toByteArray(m_image);
        makeView();
        QCOMPARE(rowTexts(*m_view, 1),
                 (QStringList{"145.12500", "145.72500", "67.0", "D023N", "Carrier", "Low", "Del", "Narrow", "HOME"}));
        // The values the grid shows write every byte they cover; what they do not cover is
        // carried. (An empty channel keeps its name bytes, so only the stored channels' are
        // scrambled.)
        ImageBytes scrambled = m_image;
        for (int n = 0; n < 99; ++n)
            std::memset(scrambled.data() + n * 16, 0, 12);
        for (int n : {1, 50, 99})
            std::memset(scrambled.data() + ImageMap::ChannelNames + (n - 1) * 8, 'Z', 6);
        scrambled[ImageMap::ModelIndex] = 0;
        scrambled[ImageMap::BandIndex] = 9;
        gridContentsToImage(scrambled, m_document->contents());
        QCOMPARE(toByteArray(scrambled), before);
        m_view->GridToImage();
        QCOMPARE(m_document->imageBytes(), before);

        clickCell(2, 1);
        QTest::keyClicks(m_frequencyEditor, QStringLiteral("451.0"));
        m_view->GridToImage();
        QVERIFY(!m_view->openEditor());
        QCOMPARE(LoadChannel(image(), 2).rxFreq, QStringLiteral("451.00000"));
    }

    // Grabs the view in English and in Simplified Chinese when PROGRAM_SHOTS_DIR names a
    // folder, for a person to look at.
    void screenshots()
    {
        const QString dir = qEnvironmentVariable("PROGRAM_SHOTS_DIR");
        if (dir.isEmpty())
            QSKIP("PROGRAM_SHOTS_DIR not set");
        QDir().mkpath(dir);
        for (int lang : {0, 1}) {
            LanguageIndex = std::uint8_t(lang);
            if (lang == 1) {
                ResourceLibrary chs;
                QVERIFY(chs.loadFile(QStringLiteral(SOURCE_DIR "/resources/Chs.dll")));
                installResources(chs);
            }
            NewImage(m_image);
            storeChannel(1, {"145.12500", "145.72500", "67.0", "D023N", "Carrier", "Low", "Del", "Narrow", "HOME"});
            storeChannel(2, {"146.00000", "146.00000", "Off", "Off", "Off", "High", "Add", "Wide", "CALL"});
            storeChannel(3, {"147.00625", "147.60625", "D754I", "254.1", "QDT", "High", "Add", "Wide", ""});
            m_image[ImageMap::ModelIndex] = 1;
            makeView();
            clickCell(2, 5);
            QVERIFY(m_view->grab().save(dir + QStringLiteral("/program-view-%1.png").arg(lang ? "chs" : "eng")));
            m_view.reset();
        }
    }
};

REGISTER_TEST(TestProgramView)
#include "tst_programview.moc"
