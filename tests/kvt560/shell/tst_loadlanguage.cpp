// LoadLanguage on the main window: captions, list rebuilds that keep their selection, the
// marks rewritten in the channel tables, and a missing library that changes nothing.
#include "Controls.h"
#include "TestRegistry.h"
#include "channels/ChannelTable.h"
#include "channels/ToneList.h"
#include "settings/SettingsRegistry.h"
#include "settings/SettingsStore.h"
#include "settings/ui/CallListGrid.h"
#include "shell/LanguageElements.h"
#include "shell/LanguageLibrary.h"
#include "shell/ui/TaboutForm.h"
#include "shell/ui/Tform1.h"
#include "shell/ui/Tmessage1.h"
#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Every text the user can read in the window and its dialogs, by element.
QStringList visibleTexts(Tform1 &form)
{
    QStringList out;
    QList<QObject *> all{&form};
    all += form.findChildren<QObject *>();
    for (QObject *o : all) {
        const QString n = o->objectName() + QLatin1Char('=');
        if (auto *a = qobject_cast<QAction *>(o))
            out << n + a->text();
        else if (auto *m = qobject_cast<QMenu *>(o))
            out << n + m->title();
        else if (auto *g = qobject_cast<QGroupBox *>(o))
            out << n + g->title();
        else if (auto *b = qobject_cast<QAbstractButton *>(o))
            out << n + b->text();
        else if (auto *l = qobject_cast<QLabel *>(o))
            out << n + l->text();
        else if (auto *c = qobject_cast<QComboBox *>(o))
            for (int i = 0; i < c->count(); ++i)
                out << n + c->itemText(i);
        else if (auto *t = qobject_cast<QTabWidget *>(o))
            for (int i = 0; i < t->count(); ++i)
                out << n + t->tabText(i);
        if (auto *w = qobject_cast<QWidget *>(o); w && w->isWindow())
            out << n + QStringLiteral("title ") + w->windowTitle();
    }
    for (int c = 0; c < ChannelTable::Grid1Columns; ++c)
        out << form.channelTable()->headerText(c);
    out << form.bsSkinStringGrid1()->cellText(0, 0) << form.bsSkinStringGrid1()->cellText(1, 0);
    return out;
}

// Row 1 holds one form of every mark of its column; row 2 the other forms; the alias
// column reads like a mark.
struct Row {
    QStringList columns;      // 1-10
    QStringList attributes;   // 1-7
};
const Row Simplified[2] = {
    {{"400.12500", "67.0", "400.12500", "D023N", "高功率", "宽带", "启用", "禁用", "启用", "ON"},
     {"启用", "禁用", "禁用", "2", "53", "压扩", "启用"}},
    {{"438.00625", "禁用", "438.00625", "禁用", "低功率", "窄带", "禁用", "启用", "禁用", "OFF"},
     {"禁用", "启用", "启用", "0", "0", "扰频", "禁用"}},
};
const Row English[2] = {
    {{"400.12500", "67.0", "400.12500", "D023N", "High", "Wide", "ON", "OFF", "ON", "ON"},
     {"ON", "OFF", "OFF", "2", "53", "Comp", "ON"}},
    {{"438.00625", "OFF", "438.00625", "OFF", "Low", "Narrow", "OFF", "ON", "OFF", "OFF"},
     {"OFF", "ON", "ON", "0", "0", "scrambler", "OFF"}},
};
const Row Traditional[2] = {
    {{"400.12500", "67.0", "400.12500", "D023N", "高功率", "寬帶", "啟用", "禁用", "啟用", "ON"},
     {"啟用", "禁用", "禁用", "2", "53", "壓擴", "啟用"}},
    {{"438.00625", "禁用", "438.00625", "禁用", "低功率", "窄帶", "禁用", "啟用", "禁用", "OFF"},
     {"禁用", "啟用", "啟用", "0", "0", "擾頻", "禁用"}},
};

} // namespace

class TestLoadLanguage : public QObject
{
    Q_OBJECT
    QTemporaryDir dir;
    std::unique_ptr<Tform1> form;

    void writeRows(const Row (&rows)[2])
    {
        for (int r = 0; r < 2; ++r) {
            for (int c = 0; c < 10; ++c)
                form->channelTable()->setCell(ChannelTable::Grid1, c + 1, r + 1, rows[r].columns.at(c));
            for (int a = 0; a < 7; ++a)
                form->channelTable()->setCell(ChannelTable::Grid2, a + 1, r + 1, rows[r].attributes.at(a));
        }
    }
    void compareRows(const Row (&rows)[2])
    {
        for (int r = 0; r < 2; ++r) {
            for (int c = 0; c < 10; ++c)
                QCOMPARE(form->channelTable()->cell(ChannelTable::Grid1, c + 1, r + 1), rows[r].columns.at(c));
            for (int a = 0; a < 7; ++a)
                QCOMPARE(form->channelTable()->cell(ChannelTable::Grid2, a + 1, r + 1), rows[r].attributes.at(a));
        }
        QVERIFY(form->channelTable()->isEmptyChannel(3));
    }

private slots:
    void init()
    {
        QFile::remove(dir.filePath(QStringLiteral("myini.ini")));
        form = std::make_unique<Tform1>(PreferencesPaths::single(dir.filePath(QStringLiteral("myini.ini"))));
        form->setAboutForm(new TaboutForm(form.get()));
        form->setExecutableDir(QStringLiteral(APP_DIR));
    }
    void cleanup()
    {
        form.reset();
        ToneList::instance().setOffWord(ToneList::defaultOffWord());
    }

    void switchingKeepsSelectionsAndRewritesOnlyMarks()
    {
        writeRows(Simplified);
        SettingsStore &store = *form->settingsStore();
        store.setValue(QStringLiteral("bsSkinCheckRadioBox14"), 1);
        const std::pair<const char *, int> chosen[] = {
            {"bsSkinComboBox10", 6}, {"bsSkinComboBox18", 3}, {"bsSkinComboBox27", 2}, {"bsSkinComboBox14", 0},
            {"bsSkinComboBox3", 6},  {"bsSkinComboBox5", 7},  {"bsSkinComboBox2", 3},  {"bsSkinComboBox13", 5},
            {"bsSkinComboBox16", 2}, {"bsSkinComboBox22", 0}, {"bsSkinComboBox1", 12},
        };
        for (const auto &[name, index] : chosen)
            QVERIFY(store.setByUser(QLatin1String(name), index));

        const std::pair<const char *, const Row(*)[2]> steps[] = {
            {"chinese", &Simplified}, {"english", &English}, {"taiwan", &Traditional}};
        for (const auto &[library, rows] : steps) {
            QVERIFY(form->LoadLanguage(QLatin1String(library)));
            compareRows(*rows);
            for (const auto &[name, index] : chosen) {
                QCOMPARE(form->findChild<QComboBox *>(QLatin1String(name))->currentIndex(), index);
                QCOMPARE(store.number(QLatin1String(name)), index);
            }
        }
        // The rebuilt lists carry the library's words.
        form->LoadLanguage(QStringLiteral("english"));
        QCOMPARE(form->findChild<QComboBox *>(QStringLiteral("bsSkinComboBox10"))->itemText(1), QStringLiteral("1 min"));
        QCOMPARE(form->findChild<QComboBox *>(QStringLiteral("bsSkinComboBox1"))->itemText(0), QStringLiteral("OFF"));
        QCOMPARE(form->findChild<QComboBox *>(QStringLiteral("bsSkinComboBox3"))->count(), 8);
        QCOMPARE(control<QComboBox>(*form, "bsSkinComboBox22")->itemText(0), QStringLiteral("Band 2"));
        QCOMPARE(ToneList::instance().at(0), QStringLiteral("OFF"));
        QCOMPARE(form->marks().high, QStringLiteral("High"));
    }

    void missingLibraryChangesNothing()
    {
        const QStringList builtIn = visibleTexts(*form);
        QVERIFY(!form->LoadLanguage(QStringLiteral("klingon")));
        QCOMPARE(visibleTexts(*form), builtIn);

        // Only english.dll beside the program: choosing Chinese keeps English, but marks the choice.
        QTemporaryDir only;
        QVERIFY(QFile::copy(QStringLiteral(APP_DIR "/english.dll"), only.filePath(QStringLiteral("english.dll"))));
        form->setExecutableDir(only.path());
        form->English1Click();
        const QStringList english = visibleTexts(*form);
        QVERIFY(english != builtIn);
        form->Chinese1Click();
        QCOMPARE(visibleTexts(*form), english);
        QVERIFY(control<QAction>(*form, "Chinese1")->isChecked());
        QCOMPARE(form->language(), 1);
    }

    void englishLeavesNoChineseCaption()
    {
        QVERIFY(form->LoadLanguage(QStringLiteral("english")));
        static const QRegularExpression han(QStringLiteral("\\p{Han}"));
        for (const QString &text : visibleTexts(*form)) {
            if (text == QStringLiteral("Chinese2=中文(繁體)"))
                continue;   // the same in every language
            QVERIFY2(!text.contains(han), qPrintable(text));
        }
        // Menus keep their mnemonics, tabs and boxes lose them; the fixed texts stay.
        QCOMPARE(control<QAction>(*form, "N4")->text(), QStringLiteral("&Channels"));
        QCOMPARE(control<QTabWidget>(*form, "pageControl")->tabText(Tform1::ChannelPage), QStringLiteral("Channels"));
        QCOMPARE(control<TaboutForm>(*form, "TaboutForm")->windowTitle(), QStringLiteral("About..."));
        QCOMPARE(control<QAction>(*form, "A1")->text(), QStringLiteral("&About..."));
        QCOMPARE(control<TaboutForm>(*form, "TaboutForm")->bsSkinStdLabel4->text(), QStringLiteral("Version 1.00"));
        QCOMPARE(form->channelTable()->headerText(8), QStringLiteral("DTMF"));
        QCOMPARE(form->statusText(), QStringLiteral("     DORVAK radio programming software"));
        QCOMPARE(Tmessage1::instance()->bsSkinButton2->text(), QStringLiteral("Cancel"));
        QCOMPARE(form->ConfirmCaption, QStringLiteral("Warning"));
        QCOMPARE(form->bsSkinStringGrid1()->cellText(1, 0), QStringLiteral("Auto-dial code"));
    }

    void everyStringHasItsElements()
    {
        QSet<int> covered;
        for (const LanguageElement &e : LanguageElements::all()) {
            covered.insert(e.id);
            if (e.kind == LanguageElement::SettingList)   // a rebuild reads every string of its items
                for (const SettingItem &item : SettingsRegistry::byName(e.target)->items)
                    covered.insert(item.stringId);
        }
        for (int id : LanguageLibrary::appliedIds())
            QVERIFY2(covered.contains(id), qPrintable(QString::number(id)));
        // Both readings of 88 and 89: the active band list first, the band groups after.
        int list = -1, group = -1;
        for (int i = 0; i < LanguageElements::all().size(); ++i) {
            const LanguageElement &e = LanguageElements::all().at(i);
            if (e.target == QLatin1String("bsSkinComboBox22") && e.kind == LanguageElement::SettingList)
                list = i;
            if (e.target == QLatin1String("band1Group"))
                group = i;
        }
        QVERIFY(list >= 0 && group > list);
    }

    void mnemonics_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("shown");
        QTest::newRow("bracketed") << "信道编辑(&E)" << "信道编辑";
        QTest::newRow("inline") << "E&xit" << "Exit";
        QTest::newRow("doubled") << "A && B" << "A & B";
        QTest::newRow("none") << "DTMF" << "DTMF";
    }
    void mnemonics()
    {
        QFETCH(QString, text);
        QFETCH(QString, shown);
        QCOMPARE(LanguageElements::withoutMnemonic(text), shown);
    }

    void savedLanguageAtFirstShowAndMenuAtOnce()
    {
        form.reset();
        QFile ini(dir.filePath(QStringLiteral("myini.ini")));
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write("[open]\nlang=2\n");
        ini.close();
        form = std::make_unique<Tform1>(PreferencesPaths::single(ini.fileName()));
        form->setExecutableDir(QStringLiteral(APP_DIR));
        QCOMPARE(control<QAction>(*form, "fsef1")->text(), QStringLiteral("新建(&N)"));
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        QCOMPARE(control<QAction>(*form, "fsef1")->text(), QStringLiteral("&New"));

        form->Chinese2Click();
        QCOMPARE(control<QTabWidget>(*form, "pageControl")->tabText(Tform1::SideKeyPage), QStringLiteral("側鍵設定"));
        QCOMPARE(form->marks().on, QStringLiteral("啟用"));
    }
};

REGISTER_TEST(TestLoadLanguage)
#include "tst_loadlanguage.moc"
