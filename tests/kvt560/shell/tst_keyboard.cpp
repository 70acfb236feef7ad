// The window and its dialogs from the keyboard and through a screen reader: Tab goes round
// every page and dialog, reaching every control and trapped nowhere, and every control has
// a name to be read out, in the current language.
#include "Controls.h"
#include "FocusWalk.h"
#include "TestRegistry.h"
#include "channels/ChannelTable.h"
#include "channels/ui/ChannelGrid.h"
#include "codeplug/CodeplugDocument.h"
#include "radiolink/ui/TR_and_W.h"
#include "settings/ui/CallListGrid.h"
#include "shell/ui/TaboutForm.h"
#include "shell/ui/Tform1.h"
#include "shell/ui/Tmessage1.h"
#include <QAccessible>
#include <QAbstractItemView>
#include <QAccessibleTableInterface>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QScopeGuard>
#include <QTest>
#include <QTimer>
#include <functional>

class TestKeyboard : public QObject
{
    Q_OBJECT
    QTemporaryDir dir;
    std::unique_ptr<Tform1> form;

    QTabWidget *pages() { return control<QTabWidget>(*form, "pageControl"); }
    QTabBar *pageTabs() { return pages()->tabBar(); }

    // Every page, and both sub-pages of the DTMF page, shown in turn; check runs on each
    // with a description of where it is.
    template <typename Check>
    void forEveryPage(Check check)
    {
        auto *dtmf = control<QTabWidget>(*form, "dtmfPages");
        for (int page = 0; page < pages()->count(); ++page) {
            pages()->setCurrentIndex(page);
            const int subPages = page == Tform1::DtmfPage ? dtmf->count() : 1;
            for (int sub = 0; sub < subPages; ++sub) {
                if (page == Tform1::DtmfPage)
                    dtmf->setCurrentIndex(sub);
                QApplication::processEvents();
                check(QStringLiteral("page %1.%2 (%3)").arg(page).arg(sub).arg(pages()->tabText(page)));
            }
        }
    }

    // The problems problemsOf finds in each dialog of the program as it is shown: the about
    // box, the read/write dialog, and the notice dialog while it asks.
    QString dialogProblems(const std::function<QString(QDialog *)> &problemsOf)
    {
        QStringList found;
        const auto check = [&](QDialog *dialog) {
            if (!QTest::qWaitForWindowActive(dialog))
                found << FocusWalk::describe(dialog) + QStringLiteral(": not shown");
            else if (const QString p = problemsOf(dialog); !p.isEmpty())
                found << FocusWalk::describe(dialog) + QStringLiteral(": ") + p;
        };
        TaboutForm about(form.get());
        TR_and_W transfer(form.get());
        for (QDialog *dialog : {static_cast<QDialog *>(&about), static_cast<QDialog *>(&transfer)}) {
            dialog->show();
            check(dialog);
            dialog->hide();
        }
        Tmessage1 message(form.get());
        QTimer::singleShot(0, &message, [&] {
            check(&message);
            message.bsSkinButton2->click();
        });
        message.ask(QStringLiteral("RD4400"), QStringLiteral("A question"), 2);
        return found.join(QStringLiteral("; "));
    }

private slots:
    void init()
    {
        form = std::make_unique<Tform1>(PreferencesPaths::single(dir.filePath(QStringLiteral("myini.ini"))));
        form->show();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
    }
    void cleanup() { form.reset(); }

    void tabGoesRoundEveryPage()
    {
        forEveryPage([this](const QString &where) {
            const QString problems = FocusWalk::tabProblems(form.get(), pageTabs());
            QVERIFY2(problems.isEmpty(), qPrintable(where + QStringLiteral(": ") + problems));
        });
    }

    // The channel page with its overlay editors open: Tab leaves each one.
    void tabLeavesTheChannelOverlays()
    {
        form->document()->addOrSelectRange(0, QStringLiteral("400-470MHz"));   // band 1 receive range
        ChannelTable *table = form->channelTable();
        table->setCell(ChannelTable::Grid1, ChannelTable::RxFreqColumn, 1, QStringLiteral("438.50000"));
        table->fillNewChannelDefaults(1);
        pages()->setCurrentIndex(Tform1::ChannelPage);
        auto *grid = control<ChannelGrid>(*form, "StringAlignGrid1");
        const std::pair<int, Qt::Key> overlays[] = {{ChannelTable::RxFreqColumn, Qt::Key_F2},
                                                    {ChannelTable::RxToneColumn, Qt::Key_F2},
                                                    {ChannelTable::AliasColumn, Qt::Key_Return}};
        for (const auto &[column, key] : overlays) {
            grid->setFocus();
            grid->setCurrentCell(column, 1);
            QTest::keyClick(grid, key);   // opens the cell's overlay with the focus
            QWidget *overlay = QApplication::focusWidget();
            QVERIFY(overlay && overlay->parentWidget() == grid->viewport());
            const QString problems = FocusWalk::tabProblems(form.get(), overlay);
            QVERIFY2(problems.isEmpty(), qPrintable(FocusWalk::describe(overlay) + QStringLiteral(": ") + problems));
            overlay->setFocus();
            QTest::keyClick(overlay, Qt::Key_Escape);
        }
    }

    void tabGoesRoundEveryDialog()
    {
        const QString problems = dialogProblems([](QDialog *dialog) {
            const QList<QWidget *> controls = FocusWalk::tabControls(dialog);
            return controls.isEmpty() ? QStringLiteral("no control") : FocusWalk::tabProblems(dialog, controls.first());
        });
        QVERIFY2(problems.isEmpty(), qPrintable(problems));
    }

    void everyControlHasAName_data()
    {
        QTest::addColumn<int>("language");
        QTest::newRow("built-in") << 0;
        QTest::newRow("English") << 2;
    }
    void everyControlHasAName()
    {
        QFETCH(int, language);
        if (language) {
            form->setExecutableDir(QStringLiteral(APP_DIR));
            QVERIFY(form->LoadLanguage(QStringLiteral("english")));
        }
        forEveryPage([this](const QString &where) {
            const QStringList unnamed = FocusWalk::unnamedControls(form.get());
            QVERIFY2(unnamed.isEmpty(), qPrintable(where + QStringLiteral(": ") + unnamed.join(QStringLiteral(", "))));
        });
        const QString problems = dialogProblems([](QDialog *dialog) {
            return FocusWalk::unnamedControls(dialog).join(QStringLiteral(", "));
        });
        QVERIFY2(problems.isEmpty(), qPrintable(problems));
    }

    // The four band-range lists say which band and range they are, and follow the language.
    void bandListsAreNamedByBandAndRange()
    {
        const char *lists[] = {"bsSkinComboBox20", "bsSkinComboBox21", "bsSkinComboBox6", "bsSkinComboBox11"};
        QSet<QString> names;
        for (const char *list : lists)
            names.insert(FocusWalk::spokenName(control<QComboBox>(*form, list)));
        QCOMPARE(names.size(), 4);
        const QString before = FocusWalk::spokenName(control<QComboBox>(*form, "bsSkinComboBox20"));
        form->setExecutableDir(QStringLiteral(APP_DIR));
        QVERIFY(form->LoadLanguage(QStringLiteral("english")));
        const QString after = FocusWalk::spokenName(control<QComboBox>(*form, "bsSkinComboBox20"));
        QVERIFY2(after != before, qPrintable(after));
        QVERIFY2(after.contains(QLatin1String("1")), qPrintable(after));
    }

    // The call list reads out its drawn headers and row numbers, and each code with both.
    void callListAnnouncesHeadersAndRows()
    {
        CallListGrid *list = form->bsSkinStringGrid1();
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(list);
        QVERIFY(iface && iface->tableInterface());
        QAccessibleTableInterface *table = iface->tableInterface();
        QAccessibleInterface *code = table->cellAt(3, 1);   // the code of row "   2"
        QVERIFY(code);
        const QString name = code->text(QAccessible::Name);
        QVERIFY2(name.contains(list->cellText(1, 0)) && name.contains(QLatin1String("2")), qPrintable(name));
        // Qt makes the header cells for the caller and does not keep them in its cache.
        const QList<QAccessibleInterface *> headers = code->tableCellInterface()->columnHeaderCells();
        auto release = qScopeGuard([&headers] {
            for (QAccessibleInterface *header : headers)
                QAccessible::deleteAccessibleInterface(QAccessible::registerAccessibleInterface(header));
        });
        QVERIFY(!headers.isEmpty());
        QCOMPARE(headers.first()->text(QAccessible::Name), list->cellText(1, 0));
    }
};

REGISTER_TEST(TestKeyboard)
#include "tst_keyboard.moc"
