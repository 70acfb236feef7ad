// The function-settings pages driven through their widgets: enable rules, input filters,
// spin ranges, the call list editor, and the two-way binding to the settings store.
#include "Controls.h"
#include "TestRegistry.h"
#include "codeplug/CodeplugDocument.h"
#include "settings/SettingsRegistry.h"
#include "settings/SettingsStore.h"
#include "settings/ui/CallListGrid.h"
#include "shell/ui/Tform1.h"
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

class TestSettingsPages : public QObject
{
    Q_OBJECT
    QTemporaryDir dir;
    std::unique_ptr<Tform1> form;

    template <typename T>
    T *control(const char *name) { return ::control<T>(*form, name); }
    SettingsStore &store() { return *form->settingsStore(); }
    // Shows the page that holds w, so that it can take the focus and key events.
    void showPageOf(QWidget *w)
    {
        for (QWidget *p = w; p; p = p->parentWidget())
            if (auto *tabs = qobject_cast<QTabWidget *>(p->parentWidget() ? p->parentWidget()->parentWidget() : nullptr))
                tabs->setCurrentWidget(p);
        QApplication::processEvents();
    }
    void typeInto(QWidget *w, const QString &keys)
    {
        showPageOf(w);
        w->setFocus();
        QTest::keyClicks(w, keys);
    }

private slots:
    void init()
    {
        form = std::make_unique<Tform1>(PreferencesPaths::single(dir.filePath(QStringLiteral("myini.ini"))));
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    }
    void cleanup() { form.reset(); }

    void everySettingHasOneControlShowingItsStartValue()
    {
        for (const SettingDef &d : SettingsRegistry::all()) {
            if (!d.isValue() || d.group == QLatin1String("callList"))
                continue;
            const auto found = form->findChildren<QWidget *>(d.name);
            QCOMPARE(found.size(), 1);
            QWidget *w = found.first();
            if (auto *combo = qobject_cast<QComboBox *>(w))
                QCOMPARE(combo->currentIndex(), d.start.toInt());
            else if (auto *box = qobject_cast<QCheckBox *>(w))
                QCOMPARE(box->isChecked(), d.start.toInt() == 1);
            else if (auto *spin = qobject_cast<QSpinBox *>(w))
                QCOMPARE(spin->value(), d.start.toInt());
            else if (auto *edit = qobject_cast<QLineEdit *>(w))
                QCOMPARE(edit->text(), d.start.toString());
            else
                QFAIL(qPrintable(d.name));
        }
        QVERIFY(!control<QCheckBox>("bsSkinCheckRadioBox13")->isVisible());   // the alarm box
        QCOMPARE(control<QComboBox>("bsSkinComboBox5")->itemText(4), QStringLiteral("扫描"));   // P2 built-in list
        QCOMPARE(control<QComboBox>("bsSkinComboBox3")->count(), 7);
        auto *calls = form->bsSkinStringGrid1();
        QCOMPARE(calls->cellText(1, 0), QStringLiteral("自动拨号号码"));
        QCOMPARE(calls->cellText(0, 10), QStringLiteral("   9"));
        QCOMPARE(calls->cellText(1, 1), QStringLiteral("1000"));
    }

    void vfoAndMemoryDisplay()
    {
        auto *vfo = control<QComboBox>("bsSkinComboBox7");
        auto *display = control<QComboBox>("bsSkinComboBox12");
        QVERIFY(!display->isEnabled());
        showPageOf(vfo);
        vfo->setFocus();
        QTest::keyClick(vfo, Qt::Key_Up);   // "MR"
        QCOMPARE(store().number(QStringLiteral("bsSkinComboBox7")), 0);
        QVERIFY(display->isEnabled());
        display->setFocus();
        QTest::keyClick(display, Qt::Key_Up);   // "MR CH"
        QCOMPARE(store().number(QStringLiteral("bsSkinComboBox12")), 0);
        vfo->setFocus();
        QTest::keyClick(vfo, Qt::Key_Down);   // "VFO" again
        QVERIFY(!display->isEnabled());
        QCOMPARE(display->currentIndex(), 1);
        QCOMPARE(store().number(QStringLiteral("bsSkinComboBox12")), 1);
    }

    void pttIdType_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<bool>("startCode");
        QTest::addColumn<bool>("endCode");
        QTest::newRow("start") << 0 << true << false;
        QTest::newRow("end") << 1 << false << true;
        QTest::newRow("both") << 2 << true << true;
    }
    void pttIdType()
    {
        QFETCH(int, type);
        QFETCH(bool, startCode);
        QFETCH(bool, endCode);
        auto *combo = control<QComboBox>("bsSkinComboBox27");
        combo->setCurrentIndex(type == 0 ? 2 : 0);   // come from another type
        combo->setCurrentIndex(type);
        QCOMPARE(store().number(QStringLiteral("bsSkinComboBox27")), type);
        QCOMPARE(control<QLineEdit>("bsSkinEdit3")->isEnabled(), startCode);
        QCOMPARE(control<QLineEdit>("bsSkinEdit4")->isEnabled(), endCode);
    }

    void checkBoxRulesRunForTheUserAndForTheProgram()
    {
        auto *remote = control<QCheckBox>("bsSkinCheckRadioBox16");
        auto *code = control<QLineEdit>("bsSkinEdit16");
        auto *type = control<QComboBox>("bsSkinComboBox14");
        QVERIFY(code->isEnabled() && type->isEnabled());
        showPageOf(remote);
        QTest::mouseClick(remote, Qt::LeftButton, {}, QPoint(8, remote->height() / 2));
        QVERIFY(!remote->isChecked());
        QVERIFY(!code->isEnabled() && !type->isEnabled());
        QVERIFY(store().setValue(QStringLiteral("bsSkinCheckRadioBox16"), 1));   // file, radio, New
        QVERIFY(remote->isChecked() && code->isEnabled() && type->isEnabled());

        auto *change = control<QCheckBox>("bsSkinCheckRadioBox21");
        auto *password = control<QLineEdit>("bsSkinEdit15");
        QVERIFY(!password->isEnabled());
        showPageOf(change);
        QTest::mouseClick(change, Qt::LeftButton, {}, QPoint(8, change->height() / 2));
        QVERIFY(password->isEnabled());
        QVERIFY(store().setValue(QStringLiteral("bsSkinCheckRadioBox21"), 0));
        QVERIFY(!change->isChecked() && !password->isEnabled());

        // The band controls of the main window follow the same store.
        auto *keypad = control<QCheckBox>("bsSkinCheckRadioBox14");
        auto *band = control<QComboBox>("bsSkinComboBox22");
        keypad->setChecked(true);
        QVERIFY(band->isEnabled());
        band->setCurrentIndex(0);
        QCOMPARE(form->document()->activeBandIndex(), 0);
        form->setBandChangeByKeypad(false);
        QCOMPARE(band->currentIndex(), 1);
        QVERIFY(!keypad->isChecked() && !band->isEnabled());
    }

    void squelchModeUpdatesTheCaption()
    {
        ::control<QComboBox>(*form, "bsSkinComboBox20")->addItem(QStringLiteral("136-174MHz"));
        ::control<QComboBox>(*form, "bsSkinComboBox20")->setCurrentIndex(0);
        form->setWindowTitle(QStringLiteral("RD4400"));
        control<QComboBox>("bsSkinComboBox18")->setCurrentIndex(0);
        QCOMPARE(form->windowTitle(), QStringLiteral("KVT560    [136-174MHz][*]"));
    }

    void textFilters_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("own ID upper-cases a-d, drops E and .") << "bsSkinEdit5" << "1a.E#d*" << "1A#D*";
        QTest::newRow("own ID 15 characters") << "bsSkinEdit5" << "1234567890ABCD*#" << "1234567890ABCD*";
        QTest::newRow("remote code 8 characters") << "bsSkinEdit16" << "12345678901" << "12345678";
        QTest::newRow("start code") << "bsSkinEdit3" << "xbc9" << "BC9";
        QTest::newRow("password digits only, 6 of them") << "bsSkinEdit15" << "12a34#5678" << "123456";
    }
    void textFilters()
    {
        QFETCH(QString, field);
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        store().setValue(QStringLiteral("bsSkinCheckRadioBox21"), 1);
        store().setValue(QStringLiteral("bsSkinComboBox27"), 2);
        auto *edit = form->findChild<QLineEdit *>(field);
        edit->clear();
        typeInto(edit, typed);
        QCOMPARE(edit->text(), shown);
        QCOMPARE(store().text(field), shown);
        QTest::keyClick(edit, Qt::Key_Backspace);
        QCOMPARE(store().text(field), shown.chopped(1));
    }

    void passwordOfAnotherLengthFallsBackWhenLeft()
    {
        store().setValue(QStringLiteral("bsSkinCheckRadioBox21"), 1);
        auto *password = control<QLineEdit>("bsSkinEdit15");
        auto *other = control<QCheckBox>("bsSkinCheckRadioBox21");
        password->clear();
        typeInto(password, QStringLiteral("12345"));
        other->setFocus();
        QCOMPARE(password->text(), QStringLiteral("570913"));
        password->clear();
        typeInto(password, QStringLiteral("654321"));
        other->setFocus();
        QCOMPARE(store().text(QStringLiteral("bsSkinEdit15")), QStringLiteral("654321"));
    }

    void spinBoxes_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("kept");
        QTest::newRow("above the maximum") << "bsSkinSpinEdit17" << "999" << 200;
        QTest::newRow("below the minimum") << "bsSkinSpinEdit13" << "50" << 100;
        QTest::newRow("four characters") << "bsSkinSpinEdit13" << "12345" << 1000;
        QTest::newRow("inside") << "bsSkinSpinEdit21" << "77" << 77;
    }
    void spinBoxes()
    {
        QFETCH(QString, box);
        QFETCH(QString, typed);
        QFETCH(int, kept);
        auto *spin = form->findChild<QSpinBox *>(box);
        showPageOf(spin);
        spin->setFocus();
        QTest::keyClick(spin, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(spin, typed);
        control<QCheckBox>("bsSkinCheckRadioBox19")->setFocus();   // leave the box
        QCOMPARE(spin->value(), kept);
        QCOMPARE(store().number(box), kept);
    }

    void spinArrowsMoveByTheStep()
    {
        auto *spin = control<QSpinBox>("bsSkinSpinEdit10");
        showPageOf(spin);
        spin->setFocus();
        QTest::keyClick(spin, Qt::Key_Up);
        QTest::keyClick(spin, Qt::Key_Up);
        QCOMPARE(store().number(QStringLiteral("bsSkinSpinEdit10")), 100);
    }

    void callListEditor()
    {
        CallListGrid *grid = form->bsSkinStringGrid1();
        QLineEdit *editor = grid->bsSkinEdit14;
        showPageOf(grid);
        const QString last = SettingsRegistry::callListEntryName(9);

        // Selecting the tenth code lays the editor over it.
        grid->setFocus();
        grid->setCurrentCell(10, 1);
        QVERIFY(editor->isVisible());
        QCOMPARE(editor->geometry().center(), grid->visualItemRect(grid->item(10, 1)).center());

        // Typing while the grid has the focus starts a new code; a refused character changes nothing.
        store().setValue(last, QStringLiteral("77"));
        QTest::keyClick(grid, Qt::Key_E);
        QCOMPARE(store().text(last), QStringLiteral("77"));
        QTest::keyClick(grid, Qt::Key_A);
        QCOMPARE(editor->text(), QStringLiteral("A"));
        QVERIFY(editor->hasFocus());
        QTest::keyClicks(editor, QStringLiteral("12345678901234567"));
        QCOMPARE(editor->text(), QStringLiteral("A12345678901234"));
        QCOMPARE(store().text(last), editor->text());
        QCOMPARE(grid->cellText(1, 10), editor->text());

        QTest::keyClick(editor, Qt::Key_Return);
        QVERIFY(!editor->isVisible());
        QVERIFY(grid->hasFocus());

        // Backspace on the grid empties the code; the fixed column cannot be selected.
        QTest::keyClick(grid, Qt::Key_Backspace);
        QCOMPARE(store().text(last), QString());
        grid->setCurrentCell(3, 0);
        QCOMPARE(grid->currentColumn(), 1);

        // A code set by the program reaches the open editor.
        grid->setCurrentCell(1, 1);
        store().setValue(SettingsRegistry::callListEntryName(0), QStringLiteral("99"));
        QCOMPARE(editor->text(), QStringLiteral("99"));
    }
};

REGISTER_TEST(TestSettingsPages)
#include "tst_pages.moc"
