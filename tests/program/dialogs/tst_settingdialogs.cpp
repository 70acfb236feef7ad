#include "TestRegistry.h"

#include "base/ResourceLibrary.h"
#include "frame/ui/CMainFrame.h"
#include "base/Globals.h"
#include "files/CProgramDoc.h"
#include "model/RadioImage.h"
#include "model/MemoryImage.h"
#include "model/OptionLists.h"
#include "model/ui/COptionDlg.h"
#include "model/ui/CPcbaDlg.h"
#include "model/ui/CPttIdDlg.h"
#include "frame/ui/ProgramApp.h"
#include "../frame/FrameFixture.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <cstring>
#include <memory>

namespace {

// The ways a dialog can be closed without a button of its own.
enum class Closing { CloseBox, Escape, Enter };

void closeDialog(QDialog &dialog, Closing how)
{
    if (how == Closing::CloseBox) {
        dialog.close();
    } else {
        QWidget *target = dialog.focusWidget() ? dialog.focusWidget() : &dialog;
        QTest::keyClick(target, how == Closing::Escape ? Qt::Key_Escape : Qt::Key_Return);
    }
}

void addClosingRows()
{
    QTest::addColumn<Closing>("how");
    QTest::newRow("close box") << Closing::CloseBox;
    QTest::newRow("Escape") << Closing::Escape;
    QTest::newRow("Enter") << Closing::Enter;
}

// Types into a line edit the way a user does: focus, then key presses.
void typeInto(QLineEdit *edit, const QString &keys)
{
    edit->setFocus();
    QTest::keyClicks(edit, keys);
}

// Pastes a text at the end of a line edit through the clipboard.
void pasteInto(QLineEdit *edit, const QString &text)
{
    QApplication::clipboard()->setText(text);
    edit->end(false);
    edit->paste();
}

} // namespace

Q_DECLARE_METATYPE(Closing)

class TestSettingDialogs : public QObject
{
    Q_OBJECT

    // The document the dialogs edit: a new one for each test.
    std::unique_ptr<CProgramDoc> m_document;
    CProgramDoc &doc() { return *m_document; }
    const ImageBytes &image() const { return m_document->RadioImage(); }
    QByteArray imageBytes(int address, int length) const { return m_document->imageBytes().mid(address, length); }
    void setByte(int address, std::uint8_t value)
    {
        m_document->editImage([address, value](ImageBytes &i) { i[address] = value; });
    }
    void setBytes(int address, const QByteArray &bytes)
    {
        m_document->editImage([address, bytes](ImageBytes &i) {
            std::memcpy(i.data() + address, bytes.constData(), std::size_t(bytes.size()));
        });
    }

private slots:
    void init()
    {
        LanguageIndex = LanguageEnglish;
        installResources(ResourceLibrary());
        m_document = std::make_unique<CProgramDoc>();
    }

    void optionDialogShowsTheNewImage()
    {
        COptionDlg dlg(&doc());
        QCOMPARE(dlg.windowTitle(), QStringLiteral("Option"));
        const QList<QPair<int, const char *>> expected{
            {OptionIds::Sql, "5"}, {OptionIds::Vox, "Off"}, {OptionIds::Tot, "60s"}, {OptionIds::Step, "25KHz"},
            {OptionIds::Roger, "Off"}, {OptionIds::BacklightMode, "Auto"}, {OptionIds::ScanMode, "CO"},
            {OptionIds::Ste, "120 phase shift"}, {OptionIds::ReceiveAlarmTime, "Continue"},
            {OptionIds::KeyLock, "Manual"}, {OptionIds::ManualPowerSwitch, "On"},
            {OptionIds::PowerOnPasswordSwitch, "Off"},
        };
        for (const auto &[id, text] : expected) {
            QComboBox *list = dlg.list(id);
            QVERIFY(list);
            QCOMPARE(list->currentText(), QLatin1String(text));
        }
        QCOMPARE(dlg.findChild<QLabel *>(QStringLiteral("label1117"))->text(), QStringLiteral("Receive Alarm Time"));
        QCOMPARE(dlg.findChild<QComboBox *>(QStringLiteral("receiveAlarmTimeList")), dlg.list(OptionIds::ReceiveAlarmTime));
        QCOMPARE(dlg.findChildren<QComboBox *>().size(), 22);
        QCOMPARE(dlg.powerOnPassword->text(), QStringLiteral("123456"));
    }

    void optionDialogInChinese()
    {
        ResourceLibrary cht;
        QVERIFY(cht.loadFile(QStringLiteral(SOURCE_DIR "/resources/Cht.dll")));
        installResources(cht);
        LanguageIndex = LanguageTraditionalChinese;
        setByte(0x1829, 254);
        COptionDlg dlg(&doc());
        QCOMPARE(dlg.list(OptionIds::ReceiveAlarmTime)->currentText(), QStringLiteral("自動"));
        QCOMPARE(dlg.list(OptionIds::Vox)->itemText(0), QStringLiteral("關"));
        QCOMPARE(dlg.windowTitle(), cht.dialogCaption(ResId::OptionDialog));
        QCOMPARE(dlg.findChild<QLabel *>(QStringLiteral("label1081"))->text(), cht.labelText(ResId::OptionDialog, 1081));
    }

    // Any close stores what the user changed: the choices and the password are kept, and
    // values without an entry that the user left alone stay as they are stored.
    void optionDialogWritesBackOnClose_data() { addClosingRows(); }
    void optionDialogWritesBackOnClose()
    {
        QFETCH(Closing, how);
        setByte(0x1814, 12);  // SQL without an entry: shown 5
        setByte(0x1829, 7);   // receive alarm time without an entry: shown off
        setByte(0x1820, 0xFF); // Roger of a new image
        COptionDlg dlg(&doc());
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        dlg.list(OptionIds::Tot)->setCurrentIndex(20);          // 600s
        dlg.list(OptionIds::BacklightMode)->setCurrentIndex(0); // On
        dlg.powerOnPassword->selectAll();
        typeInto(dlg.powerOnPassword, QStringLiteral("1x2"));
        QCOMPARE(dlg.powerOnPassword->text(), QStringLiteral("12"));
        closeDialog(dlg, how);
        QVERIFY(!dlg.isVisible());
        QCOMPARE(int(image()[0x1814]), 12);
        QCOMPARE(int(image()[0x1829]), 7);
        QCOMPARE(int(image()[0x1820]), 0xFF);
        QCOMPARE(int(image()[0x1824]), 20);
        QCOMPARE(image()[0x1810] & 0x0C, 0x08);
        QCOMPARE(imageBytes(0x1848, 6).toHex(' '), QByteArray("01 02 ff ff ff ff"));
        // the rest of the new image's settings are stored as they were
        QCOMPARE(int(image()[0x1816]), 4);
        QCOMPARE(int(image()[0x1812]), 0xF9);
        QCOMPARE(int(image()[0x1818]), 0xFD);

        COptionDlg again(&doc());
        QCOMPARE(again.powerOnPassword->text(), QStringLiteral("12"));
    }

    // Opening and closing without a change changes no byte, even of values the lists cannot
    // show (a new image's Roger byte 0xFF, an APO byte 0xFF from a radio), and leaves the
    // document unmodified; picking the entry shown stores it.
    void unchangedDialogChangesNothing_data() { addClosingRows(); }
    void unchangedDialogChangesNothing()
    {
        QFETCH(Closing, how);
        setByte(0x1821, 0xFF);  // APO without an entry: shown off
        setBytes(0x1D30, QByteArray("1a\xff", 3));  // a small letter the code box shows as capital
        doc().markClean();
        const QByteArray before = imageBytes(0, RadioImageSize);
        {
            COptionDlg dlg(&doc());
            dlg.show();
            QVERIFY(QTest::qWaitForWindowExposed(&dlg));
            closeDialog(dlg, how);
        }
        {
            CPttIdDlg dlg(&doc());
            dlg.show();
            QVERIFY(QTest::qWaitForWindowExposed(&dlg));
            closeDialog(dlg, how);
        }
        for (int a = 0; a < int(RadioImageSize); ++a)
            QVERIFY2(image()[a] == quint8(before.at(a)), qPrintable(QString::number(a, 16)));
        QVERIFY(!doc().isModified());

        COptionDlg dlg(&doc());
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        QComboBox *apo = dlg.list(OptionIds::Apo);
        QCOMPARE(apo->currentIndex(), 0);
        apo->setFocus();
        QTest::keyClick(apo, Qt::Key_Down);  // the user picks "10M", then "Off" again
        QTest::keyClick(apo, Qt::Key_Up);
        QCOMPARE(apo->currentIndex(), 0);
        closeDialog(dlg, how);
        QCOMPARE(int(image()[0x1821]), 0);
        QCOMPARE(int(image()[0x1820]), 0xFF);
        QVERIFY(doc().isModified());
    }

    // Typing and pasting into the PTT ID code: a-d to capitals, other characters dropped,
    // at most 16 characters.
    void pttIdCodeInput_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<QString>("shown");
        QTest::newRow("a1#") << "a1#" << "" << "A1#";
        QTest::newRow("e ignored") << "a1#e" << "" << "A1#";
        QTest::newRow("capitals, star, all digits") << "*D0123456789c" << "" << "*D0123456789C";
        QTest::newRow("at most 16") << "1234567890abcd*#12" << "" << "1234567890ABCD*#";
        QTest::newRow("paste filtered") << "1" << "x-b 9*z" << "1B9*";
        QTest::newRow("paste of other scripts") << "" << QString::fromUtf16(u"编码ä#2") << "#2";
    }
    void pttIdCodeInput()
    {
        QFETCH(QString, typed);
        QFETCH(QString, pasted);
        QFETCH(QString, shown);
        CPttIdDlg dlg(&doc());
        typeInto(dlg.codeEdit, typed);
        if (!pasted.isEmpty())
            pasteInto(dlg.codeEdit, pasted);
        QCOMPARE(dlg.codeEdit->text(), shown);
    }

    void pttIdDialogWritesBackOnClose_data() { addClosingRows(); }
    void pttIdDialogWritesBackOnClose()
    {
        QFETCH(Closing, how);
        setBytes(0x1D30, QByteArray("12\xff", 3));
        CPttIdDlg dlg(&doc());
        QCOMPARE(dlg.displayList->currentText(), QStringLiteral("Off"));
        QCOMPARE(dlg.pttIdList->currentText(), QStringLiteral("Off"));
        QCOMPARE(dlg.codeEdit->text(), QStringLiteral("12"));
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        dlg.displayList->setCurrentIndex(0);
        dlg.pttIdList->setCurrentIndex(3);
        typeInto(dlg.codeEdit, QStringLiteral("a#"));
        closeDialog(dlg, how);
        QVERIFY(!dlg.isVisible());
        QCOMPARE(image()[0x1810] & 0x01, 0x01);
        QCOMPARE(int(image()[0x1D40]), 0xFF); // both ends, bits 2-7 kept
        QCOMPARE(imageBytes(0x1D30, 16), QByteArray("12A#") + QByteArray(12, char(0xFF)));
    }

    void pcbaInput()
    {
        CPcbaDlg dlg(&doc());
        typeInto(dlg.pcbaEdit, QStringLiteral("ab-1 2_"));
        QCOMPARE(dlg.pcbaEdit->text(), QStringLiteral("AB12"));
        pasteInto(dlg.pcbaEdit, QString::fromUtf16(u"x.y?é9zzzzzzzzzzzzzz"));
        QCOMPARE(dlg.pcbaEdit->text(), QStringLiteral("AB12XY9ZZZZZZZZZ"));
        // a full box takes nothing more, wherever the cursor stands
        dlg.pcbaEdit->setCursorPosition(2);
        QTest::keyClicks(dlg.pcbaEdit, QStringLiteral("q"));
        QCOMPARE(dlg.pcbaEdit->text(), QStringLiteral("AB12XY9ZZZZZZZZZ"));
        QCOMPARE(dlg.pcbaEdit->cursorPosition(), 2);
        dlg.pcbaEdit->setCursorPosition(4);
        QTest::keyClick(dlg.pcbaEdit, Qt::Key_Backspace);
        QTest::keyClicks(dlg.pcbaEdit, QStringLiteral("!r"));
        QCOMPARE(dlg.pcbaEdit->text(), QStringLiteral("AB1RXY9ZZZZZZZZZ"));
    }

    // OK stores the text; Cancel, Escape and the close box leave the image alone.
    void pcbaStoresOnlyOnOk_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QByteArray>("stored");
        const QByteArray old = QByteArray("OLD1") + QByteArray(12, char(0xFF));
        QTest::newRow("OK") << "ok" << QByteArray("AB12") + QByteArray(12, char(0xFF));
        QTest::newRow("Enter") << "enter" << QByteArray("AB12") + QByteArray(12, char(0xFF));
        QTest::newRow("Cancel") << "cancel" << old;
        QTest::newRow("Escape") << "escape" << old;
        QTest::newRow("close box") << "close" << old;
    }
    void pcbaStoresOnlyOnOk()
    {
        QFETCH(QString, how);
        QFETCH(QByteArray, stored);
        setBytes(0x1FD0, QByteArray("OLD1"));
        CPcbaDlg dlg(&doc());
        QCOMPARE(dlg.pcbaEdit->text(), QStringLiteral("OLD1"));
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        dlg.pcbaEdit->selectAll();
        typeInto(dlg.pcbaEdit, QStringLiteral("ab12"));
        if (how == QLatin1String("ok"))
            QTest::mouseClick(dlg.okButton, Qt::LeftButton);
        else if (how == QLatin1String("enter"))
            QTest::keyClick(dlg.pcbaEdit, Qt::Key_Return);
        else if (how == QLatin1String("cancel"))
            QTest::mouseClick(dlg.cancelButton, Qt::LeftButton);
        else if (how == QLatin1String("escape"))
            QTest::keyClick(dlg.pcbaEdit, Qt::Key_Escape);
        else
            dlg.close();
        QVERIFY(!dlg.isVisible());
        QCOMPARE(imageBytes(0x1FD0, 16).toHex(' '), stored.toHex(' '));
    }

    // The main window's commands open each dialog modally over it.
    void commandsOpenTheDialogs()
    {
        AppDirFixture dir;
        ProgramApp app;
        QVERIFY(app.initInstance({QStringLiteral("Program")}, dir.path()));
        CMainFrame &frame = *app.mainFrame();
        const QList<QPair<int, const char *>> commands{
            {ResId::Option, "COptionDlg"},
            {ResId::PttId, "CPttIdDlg"},
            {ResId::Embed, "CPcbaDlg"},
        };
        for (const auto &[command, name] : commands) {
            QString seen;
            QWidget *parent = nullptr;
            QTimer::singleShot(0, [&] {
                QWidget *modal = QApplication::activeModalWidget();
                if (!modal)
                    return;
                seen = modal->objectName();
                parent = modal->parentWidget();
                modal->close();
            });
            QAction *action = frame.action(command);
            QVERIFY(action);
            action->trigger();
            QCOMPARE(seen, QLatin1String(name));
            QCOMPARE(parent, &frame);
        }
        QVERIFY(!frame.isWindowModified());  // closing the dialogs without a change changes nothing
    }
};

REGISTER_TEST(TestSettingDialogs)
#include "tst_settingdialogs.moc"
