// The main window: menus, preference state through menus and back to myini.ini, cable mode,
// language and help, themes, toolbar, and the exit path on SIGTERM.
#include "Controls.h"
#include "SmallDisk.h"
#include "TestRegistry.h"
#include "channels/ChannelTable.h"
#include "codeplug/ui/CodeplugFiles.h"
#include "common/IniFile.h"
#include "shell/ui/TaboutForm.h"
#include "shell/ui/Tmessage1.h"
#include "shell/ui/Tform1.h"
#include "shell/ui/Themes.h"
#include "common/ui/HelpWindow.h"
#include "common/ui/ChineseFonts.h"
#include "common/InstalledLayout.h"
#include <QScopeGuard>
#include <QDir>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <csignal>
#include <unistd.h>

namespace {
void writeAll(const QString &path, const QString &text)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(text.toUtf8());
}

QString openValue(const QString &path, const char *key)
{
    IniFile ini;
    ini.load(path);
    return ini.value(QStringLiteral("open"), QLatin1String(key)).value_or(QString());
}
} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT
    QTemporaryDir dir;
    QString iniPath() const { return dir.filePath(QStringLiteral("myini.ini")); }

private slots:
    void init() { QFile::remove(iniPath()); }

    void menusAndPages()
    {
        Tform1 form(PreferencesPaths::single(iniPath()));
        const char *actions[] = {"fsef1", "rsgg1", "segs1", "N1", "E1", "gs1", "N2", "N3", "N4", "N5", "DTMF1",
                                 "N6", "N8", "N9", "N10", "T1", "COM11", "COM21", "COM31", "COM41", "N12", "N13",
                                 "Chinese1", "English1", "Chinese2", "sk1", "sk2", "sk3", "H2", "A1"};
        for (const char *name : actions)
            QVERIFY2(form.findChild<QAction *>(QLatin1String(name)), name);
        for (const char *name : {"fefs1", "sgse1", "N7", "gsegs1", "N11", "Language1", "S1", "H1"})
            QVERIFY2(form.findChild<QMenu *>(QLatin1String(name)), name);
        QCOMPARE(control<QAction>(form, "gs1")->shortcut(), QKeySequence(QStringLiteral("Ctrl+R")));
        QCOMPARE(control<QAction>(form, "N2")->shortcut(), QKeySequence(QStringLiteral("Ctrl+W")));
        QVERIFY(!control<QMenu>(form, "N11")->menuAction()->isVisible());

        QCOMPARE(form.windowTitle(), QStringLiteral("RD4400[*]"));   // "[*]": where the modified mark goes
        QCOMPARE(form.statusText(), QStringLiteral("     DORVAK 对讲机编程软件"));
        form.setStatusText(QStringLiteral("x"));
        QCOMPARE(form.statusText(), QStringLiteral("     x"));

        const QStringList captions{"信道编辑", "功能选项", "DTMF", "信道", "侧键设定", "其它功能"};
        QCOMPARE(control<QTabWidget>(form, "pageControl")->count(), captions.size());
        for (int i = 0; i < captions.size(); ++i)
            QCOMPARE(control<QTabWidget>(form, "pageControl")->tabText(i), captions.at(i));
        QCOMPARE(control<QTabWidget>(form, "dtmfPages")->tabText(0), QStringLiteral("系统"));
        QCOMPARE(control<QTabWidget>(form, "dtmfPages")->tabText(1), QStringLiteral("参数"));
        const std::pair<QAction *, int> items[] = {{control<QAction>(form, "T1"), 5}, {control<QAction>(form, "N9"), 4}, {control<QAction>(form, "N8"), 3},
                                                   {control<QAction>(form, "DTMF1"), 2}, {control<QAction>(form, "N5"), 1}, {control<QAction>(form, "N4"), 0}};
        for (const auto &[item, page] : items) {
            item->trigger();
            QCOMPARE(control<QTabWidget>(form, "pageControl")->currentIndex(), page);
        }
    }

    void commandsReachTheirSignals()
    {
        Tform1 form(PreferencesPaths::single(iniPath()));
        QSignalSpy read(&form, &Tform1::readRadioRequested);
        QSignalSpy write(&form, &Tform1::writeRadioRequested);
        QSignalSpy open(&form, &Tform1::openRequested);
        form.codeplugFiles()->setOpenFileChooser([](QWidget *) { return QString(); });   // cancelled
        control<QToolButton>(form, "bsSkinSpeedButton4")->click();
        control<QAction>(form, "gs1")->trigger();
        control<QToolButton>(form, "bsSkinSpeedButton5")->click();
        control<QAction>(form, "rsgg1")->trigger();
        QCOMPARE(read.count(), 2);
        QCOMPARE(write.count(), 1);
        QCOMPARE(open.count(), 1);
    }

    void firstShow()
    {
        writeAll(iniPath(), QStringLiteral("[open]\nlang=3\n"));
        Tform1 form(PreferencesPaths::single(iniPath()));
        QSignalSpy language(&form, &Tform1::languageChosen);
        control<QTabWidget>(form, "pageControl")->setCurrentIndex(4);
        control<QTabWidget>(form, "dtmfPages")->setCurrentIndex(1);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QCOMPARE(language.count(), 1);
        QCOMPARE(language.at(0).at(0).toInt(), 3);
        QCOMPARE(control<QTabWidget>(form, "pageControl")->currentIndex(), 0);
        QCOMPARE(control<QTabWidget>(form, "dtmfPages")->currentIndex(), 0);
        QCOMPARE(form.channelTable()->cell(ChannelTable::Grid1, ChannelTable::MoreColumn, 128), QStringLiteral(">>"));
        QCOMPARE(form.size().width(), Tform1::ClientWidth);
        form.hide();
        form.show();
        QCOMPARE(language.count(), 1);   // only the first show loads the language
    }

    void portChoiceStored()
    {
        {
            Tform1 form(PreferencesPaths::single(iniPath()));
            QVERIFY(control<QAction>(form, "COM11")->isChecked());
            control<QAction>(form, "COM31")->trigger();
            QVERIFY(control<QAction>(form, "COM31")->isChecked());
            QVERIFY(!control<QAction>(form, "COM11")->isChecked());
            control<QAction>(form, "COM31")->trigger();   // choosing it again keeps the mark
            QVERIFY(control<QAction>(form, "COM31")->isChecked());
            form.close();
        }
        QCOMPARE(openValue(iniPath(), "com"), QStringLiteral("3"));
        Tform1 again(PreferencesPaths::single(iniPath()));
        QCOMPARE(again.comPort(), 3);
        QVERIFY(control<QAction>(again, "COM31")->isChecked());
        QVERIFY(!control<QAction>(again, "COM11")->isChecked() && !control<QAction>(again, "COM21")->isChecked() && !control<QAction>(again, "COM41")->isChecked());
    }

    // A myini.ini that is there but cannot be read is not written over at exit (its other
    // sections would be lost); the notice says why the preferences were not saved.
    void unreadablePreferencesAreNotWrittenOver()
    {
        const QByteArray old = "[open]\ncom=2\n[other]\nkept=1\n";
        writeAll(iniPath(), QString::fromLatin1(old));
        QVERIFY(QFile::setPermissions(iniPath(), QFileDevice::Permissions()));
        auto restore = qScopeGuard([this] { QFile::setPermissions(iniPath(), QFileDevice::ReadOwner | QFileDevice::WriteOwner); });
        // Root reads any file: the window is made as an ordinary user would make it.
        const bool root = ::geteuid() == 0;
        if (root && ::seteuid(65534) != 0)
            QSKIP("cannot take an ordinary user's rights");
        QStringList notices;
        {
            auto form = std::make_unique<Tform1>(PreferencesPaths::single(iniPath()));
            if (root)
                QVERIFY(::seteuid(0) == 0);
            form->setNotice([&](const QString &, const QString &text) { notices << text; });
            control<QAction>(*form, "COM31")->trigger();
            QString reason;
            QVERIFY(!form->savePreferences(&reason));
            QVERIFY(!reason.isEmpty());
            form->close();
        }
        QCOMPARE(notices.size(), 1);
        QVERIFY2(notices.first().contains(QStringLiteral("myini.ini")), qPrintable(notices.first()));
        restore.dismiss();
        QVERIFY(QFile::setPermissions(iniPath(), QFileDevice::ReadOwner | QFileDevice::WriteOwner));
        QFile kept(iniPath());
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), old);
    }

    void closingOntoAFullDiskSaysWhyThePreferencesWereNotSaved()
    {
        SmallDisk disk;
        if (!disk.isMounted())
            QSKIP(qPrintable(disk.whyNot()));
        const QByteArray old = "[open]\ncom=2\n";
        QVERIFY(disk.put(QStringLiteral("myini.ini"), old));
        QVERIFY(disk.fill());
        QString shown;
        {
            Tform1 form(PreferencesPaths::single(disk.filePath(QStringLiteral("myini.ini"))));
            form.show();
            control<QAction>(form, "COM31")->trigger();
            QTimer::singleShot(0, &form, [&shown] {
                if (auto *notice = qobject_cast<Tmessage1 *>(QApplication::activeModalWidget())) {
                    shown = notice->cap1->text();
                    notice->bsSkinButton1->click();
                }
            });
            form.close();
        }
        QVERIFY2(shown.contains(QStringLiteral("myini.ini")) && shown.contains(QString::fromLocal8Bit(std::strerror(ENOSPC))),
                 qPrintable(shown));
        QFile kept(disk.filePath(QStringLiteral("myini.ini")));
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), old);
        QCOMPARE(disk.files(), QStringList{QStringLiteral("myini.ini")});
    }

    void singleHeadCableMode()
    {
        writeAll(iniPath(), QStringLiteral("[open]\ncommode=12\n"));
        Tform1 form(PreferencesPaths::single(iniPath()));
        QVERIFY(form.singleHead());
        QVERIFY(control<QAction>(form, "N12")->isChecked() && !control<QAction>(form, "N13")->isChecked());
        form.show();
        form.showPage(Tform1::FunctionPage);
        QVERIFY(!control<QGroupBox>(form, "bsSkinPanel7")->isVisible());

        // The single-channel page's VOX box and every channel's VOX mark.
        auto *vox = form.findChild<QCheckBox *>(QStringLiteral("bsSkinCheckRadioBox4"));
        QVERIFY(vox);
        ChannelTable *t = form.channelTable();
        const QString on = t->marks().on, off = t->marks().off;
        t->setCell(ChannelTable::Grid2, ChannelTable::VoxAttribute, 1, on);
        t->setCell(ChannelTable::Grid2, ChannelTable::VoxAttribute, 128, on);
        t->setCell(ChannelTable::Grid2, ChannelTable::VoxAttribute, 199, on);
        t->setCell(ChannelTable::Grid2, ChannelTable::BusyLockAttribute, 2, on);
        t->setCell(ChannelTable::Grid2, ChannelTable::VoxAttribute, 3, QStringLiteral("ON"));   // another language

        // Channel 1 is used and shown on the single-channel page.
        t->setCell(ChannelTable::Grid1, 1, 1, QStringLiteral("400.00000"));
        t->fillNewChannelDefaults(1);
        form.showPage(Tform1::SingleChannelPage);
        form.N13Click();
        QVERIFY(!control<QGroupBox>(form, "bsSkinPanel7")->isHidden());
        QVERIFY(vox->isEnabled());
        vox->setChecked(true);
        form.N12Click();
        QVERIFY(control<QGroupBox>(form, "bsSkinPanel7")->isHidden());
        QVERIFY(!vox->isEnabled());
        QVERIFY(!vox->isChecked());
        for (int row : {1, 128, 199})
            QCOMPARE(t->cell(ChannelTable::Grid2, ChannelTable::VoxAttribute, row), off);
        QCOMPARE(t->cell(ChannelTable::Grid2, ChannelTable::BusyLockAttribute, 2), on);
        QCOMPARE(t->cell(ChannelTable::Grid2, ChannelTable::VoxAttribute, 3), QStringLiteral("ON"));

        // Dual head: the box comes back only for a channel with a frequency.
        t->emptyRow(1);
        form.showPage(Tform1::ChannelPage);
        form.showPage(Tform1::SingleChannelPage);
        form.N13Click();
        QVERIFY(!vox->isEnabled());
        form.N12Click();
        t->setCell(ChannelTable::Grid1, 1, 1, QStringLiteral("400.00000"));
        t->fillNewChannelDefaults(1);
        form.showPage(Tform1::ChannelPage);
        form.showPage(Tform1::SingleChannelPage);
        form.N13Click();
        QVERIFY(vox->isEnabled());
        QVERIFY(!control<QGroupBox>(form, "bsSkinPanel7")->isHidden());
    }

    void languageChoice()
    {
        {
            Tform1 form(PreferencesPaths::single(iniPath()));
            QVERIFY(control<QAction>(form, "Chinese1")->isChecked());
            QSignalSpy language(&form, &Tform1::languageChosen);
            control<QAction>(form, "English1")->trigger();
            QCOMPARE(language.count(), 1);
            QCOMPARE(language.at(0).at(0).toInt(), 2);
            QVERIFY(control<QAction>(form, "English1")->isChecked() && !control<QAction>(form, "Chinese1")->isChecked() && !control<QAction>(form, "Chinese2")->isChecked());
            form.close();
        }
        QCOMPARE(openValue(iniPath(), "lang"), QStringLiteral("2"));

        // An unknown number marks nothing, loads nothing and is written back unchanged.
        writeAll(iniPath(), QStringLiteral("[open]\nlang=9\n"));
        Tform1 form(PreferencesPaths::single(iniPath()));
        QSignalSpy language(&form, &Tform1::languageChosen);
        QVERIFY(!control<QAction>(form, "Chinese1")->isChecked() && !control<QAction>(form, "English1")->isChecked() && !control<QAction>(form, "Chinese2")->isChecked());
        form.show();
        QCOMPARE(language.count(), 0);
        form.close();
        QCOMPARE(openValue(iniPath(), "lang"), QStringLiteral("9"));
    }

    // A first start (the user has no myini.ini yet, so the shipped one is read) speaks the
    // locale's language and writes it into the user's file; a saved choice wins; the build
    // folder (one file beside the program) keeps its lang=1.
    void firstStartLanguage_data()
    {
        QTest::addColumn<QString>("lang");
        QTest::addColumn<QString>("saved");   // the user's own myini.ini, if any
        QTest::addColumn<bool>("installed");
        QTest::addColumn<int>("shown");
        QTest::newRow("zh_TW") << "zh_TW.UTF-8" << "" << true << 3;
        QTest::newRow("en_US") << "en_US.UTF-8" << "" << true << 2;
        QTest::newRow("zh_CN") << "zh_CN.UTF-8" << "" << true << 1;
        QTest::newRow("saved Traditional, en_US") << "en_US.UTF-8" << "[open]\nlang=3\n" << true << 3;
        QTest::newRow("build folder, en_US") << "en_US.UTF-8" << "" << false << 1;
    }
    void firstStartLanguage()
    {
        QFETCH(QString, lang);
        QFETCH(QString, saved);
        QFETCH(bool, installed);
        QFETCH(int, shown);
        QTemporaryDir app, user;
        const QString shipped = QStringLiteral("[open]\ncom=1\nlang=1\n");
        writeAll(QDir(app.path()).filePath("myini.ini"), shipped);
        if (installed)
            writeAll(QDir(app.path()).filePath(InstalledLayout::markerName()), QString());
        if (!saved.isEmpty())
            writeAll(QDir(user.path()).filePath("myini.ini"), saved);
        const QLocale before;
        QLocale::setDefault(QLocale(lang.section(QLatin1Char('.'), 0, 0)));
        auto restore = qScopeGuard([&] { QLocale::setDefault(before); });
        const PreferencesPaths paths = PreferencesPaths::forDirectories(app.path(), user.path());
        {
            Tform1 form(paths);
            QSignalSpy language(&form, &Tform1::languageChosen);
            form.show();
            QCOMPARE(language.count(), 1);
            QCOMPARE(language.at(0).at(0).toInt(), shown);
            form.close();
        }
        QCOMPARE(openValue(paths.writePath, "lang"), QString::number(shown));
        if (installed) {   // the shipped file belongs to the system
            QFile shippedFile(QDir(app.path()).filePath("myini.ini"));
            QVERIFY(shippedFile.open(QIODevice::ReadOnly));
            QCOMPARE(QString::fromUtf8(shippedFile.readAll()), shipped);
        }
    }

    // Chinese chosen but no Chinese font installed: English is shown, one notice in English
    // names the package, and the choice stays in myini.ini for when the fonts are there.
    void chineseWithoutFontsStartsInEnglish()
    {
        writeAll(iniPath(), QStringLiteral("[open]\nlang=3\n"));
        QStringList notices;
        {
            Tform1 form(PreferencesPaths::single(iniPath()));
            form.setChineseFontCheck([](bool) { return false; });
            form.setNotice([&](const QString &, const QString &text) { notices << text; });
            QSignalSpy language(&form, &Tform1::languageChosen);
            form.show();
            QCOMPARE(language.count(), 1);
            QCOMPARE(language.at(0).at(0).toInt(), 2);
            QVERIFY(control<QAction>(form, "English1")->isChecked());
            form.close();
        }
        QCOMPARE(notices, QStringList{ChineseFonts::missingText()});
        QVERIFY(notices.first().contains(QLatin1String("fonts-noto-cjk")));
        QCOMPARE(openValue(iniPath(), "lang"), QStringLiteral("3"));
    }

    void helpFileByLanguage_data()
    {
        QTest::addColumn<int>("lang");
        QTest::addColumn<QStringList>("present");
        QTest::addColumn<QString>("file");   // the manual opened
        const QStringList all{"help/KVT560.html", "help/KVT560_e.html", "help/KVT560_t.html"};
        QTest::newRow("simplified") << 1 << all << "help/KVT560.html";
        QTest::newRow("english") << 2 << all << "help/KVT560_e.html";
        QTest::newRow("traditional") << 3 << all << "help/KVT560_t.html";
        QTest::newRow("traditional, falls back") << 3 << QStringList{"help/KVT560.html", "help/KVT560_e.html"}
                                                 << "help/KVT560.html";
    }
    void helpFileByLanguage()
    {
        QFETCH(int, lang);
        QFETCH(QStringList, present);
        QFETCH(QString, file);
        QTemporaryDir appDir;
        Tform1 form(PreferencesPaths::single(iniPath()));
        form.setExecutableDir(appDir.path());
        QList<QUrl> opened;
        form.setHelpOpener([&opened](const QUrl &url) {
            opened << url;
            return true;
        });
        QAction *items[] = {control<QAction>(form, "Chinese1"), control<QAction>(form, "English1"), control<QAction>(form, "Chinese2")};
        items[lang - 1]->trigger();

        control<QAction>(form, "H2")->trigger();
        QVERIFY(opened.isEmpty());   // no help file: nothing happens
        QDir(appDir.path()).mkdir(QStringLiteral("help"));
        for (const QString &name : present)
            writeAll(appDir.filePath(name), QStringLiteral("help"));
        control<QAction>(form, "H2")->trigger();
        QCOMPARE(opened.size(), 1);
        QCOMPARE(opened.at(0), QUrl::fromLocalFile(appDir.filePath(file)));
    }

    // F1 shows the manual in the program's own window, with no web browser to be had; the
    // window speaks the language of the main window.
    void f1OpensTheManualWithoutABrowser()
    {
        qunsetenv("BROWSER");
        QTemporaryDir appDir;
        QDir(appDir.path()).mkdir(QStringLiteral("help"));
        writeAll(appDir.filePath(QStringLiteral("help/KVT560_e.html")),
                 QStringLiteral("<html><body><h1>KVT560 user manual</h1></body></html>"));
        Tform1 form(PreferencesPaths::single(iniPath()));
        form.setExecutableDir(appDir.path());
        control<QAction>(form, "English1")->trigger();
        form.show();
        form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        QTest::keyClick(&form, Qt::Key_F1);
        auto *help = form.findChild<HelpWindow *>();
        QVERIFY(help && help->isVisible());
        QCOMPARE(help->currentSource(), QUrl::fromLocalFile(appDir.filePath(QStringLiteral("help/KVT560_e.html"))));
        QVERIFY(help->browser()->toPlainText().contains(QStringLiteral("KVT560 user manual")));
    }

    void themes()
    {
        {
            Tform1 form(PreferencesPaths::single(iniPath()));
            QCOMPARE(themes::current(), 1);
            const QColor blue = qApp->palette().color(QPalette::Window);
            control<QAction>(form, "sk3")->trigger();
            QCOMPARE(themes::current(), 3);
            QVERIFY(control<QAction>(form, "sk3")->isChecked() && !control<QAction>(form, "sk1")->isChecked());
            QVERIFY(qApp->palette().color(QPalette::Window) != blue);
            control<QAction>(form, "sk2")->trigger();
            QVERIFY(qApp->palette().color(QPalette::Window) != blue);
            form.close();
        }
        QCOMPARE(openValue(iniPath(), "skin"), QStringLiteral("2"));
        Tform1 again(PreferencesPaths::single(iniPath()));
        QCOMPARE(themes::current(), 2);
        QVERIFY(control<QAction>(again, "sk2")->isChecked());
    }

    void aboutBoxCloses()
    {
        // The box shows the version line of --version.
        const QString name = QCoreApplication::applicationName(), version = QCoreApplication::applicationVersion();
        QCoreApplication::setApplicationName(QStringLiteral("KVT560"));
        QCoreApplication::setApplicationVersion(QStringLiteral("1.0.1"));
        auto restore = qScopeGuard([&] {
            QCoreApplication::setApplicationName(name);
            QCoreApplication::setApplicationVersion(version);
        });
        Tform1 form(PreferencesPaths::single(iniPath()));
        TaboutForm about(&form);
        QCOMPARE(about.programVersionLabel->text(), QStringLiteral("KVT560 1.0.1"));
        form.setAboutForm(&about);
        bool wasShown = false;
        QTimer::singleShot(0, &about, [&] {
            wasShown = about.isVisible();
            about.okButton->click();
        });
        control<QAction>(form, "A1")->trigger();
        QVERIFY(wasShown);
        QVERIFY(!about.isVisible());
    }

    void sigtermWritesPreferences()
    {
        QTemporaryDir run;
        const QString exe = run.filePath(QStringLiteral("KVT560"));
        QVERIFY(QFile::copy(QStringLiteral(APP_DIR "/KVT560"), exe));
        QFile::setPermissions(exe, QFile::permissions(exe) | QFile::ExeOwner);
        QProcess proc;
        proc.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        proc.start(exe, {QStringLiteral("-platform"), QStringLiteral("offscreen")});
        QVERIFY(proc.waitForStarted());
        QTest::qWait(1500);   // let it reach its event loop
        QCOMPARE(proc.state(), QProcess::Running);
        ::kill(static_cast<pid_t>(proc.processId()), SIGTERM);
        QVERIFY(proc.waitForFinished(10000));
        QCOMPARE(proc.exitStatus(), QProcess::NormalExit);
        QCOMPARE(proc.exitCode(), 0);

        IniFile ini;
        QVERIFY(ini.load(run.filePath(QStringLiteral("myini.ini"))));
        QCOMPARE(ini.keys(QStringLiteral("open")), (QStringList{"com", "commode", "skin", "lang"}));
        QCOMPARE(ini.value(QStringLiteral("open"), QStringLiteral("commode")).value_or(QString()), QStringLiteral("13"));
        for (const auto &[section, count] : {std::pair{"list1_rx", "listcount"}, {"list1_tx", "list2count"},
                                             {"list2_rx", "list3count"}, {"list2_tx", "list4count"}})
            QCOMPARE(ini.value(QLatin1String(section), QLatin1String(count)).value_or(QString()), QStringLiteral("0"));
    }
};

REGISTER_TEST(TestMainWindow)
#include "tst_mainwindow.moc"
