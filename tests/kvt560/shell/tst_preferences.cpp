// myini.ini: reading with defaults, writing in order, keeping what the program does not own.
#include "SmallDisk.h"
#include "TestRegistry.h"
#include "common/IniFile.h"
#include "shell/Preferences.h"
#include "common/InstalledLayout.h"
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {
QString readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}
void writeAll(const QString &path, const QString &text)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(text.toUtf8());
}
} // namespace

class TestPreferences : public QObject
{
    Q_OBJECT
private slots:
    void firstRunWritesDefaultsInOrder()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("myini.ini"));
        const Preferences p = Preferences::load(path);
        QCOMPARE(p, Preferences());
        QVERIFY(p.save(path));
        QCOMPARE(readAll(path), QStringLiteral("[open]\ncom=1\ncommode=13\nskin=1\nlang=1\n"
                                               "[list1_rx]\nlistnow=-1\nlistcount=0\n"
                                               "[list1_tx]\nlist2now=-1\nlist2count=0\n"
                                               "[list2_rx]\nlist3now=-1\nlist3count=0\n"
                                               "[list2_tx]\nlist4now=-1\nlist4count=0\n"));
    }

    void reading_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("com");
        QTest::addColumn<int>("commode");
        QTest::addColumn<int>("skin");
        QTest::addColumn<int>("lang");
        QTest::addColumn<QStringList>("items");   // list1_rx
        QTest::addColumn<int>("now");

        const QStringList none;
        QTest::newRow("all set") << "[open]\ncom=3\ncommode=12\nskin=2\nlang=2\n[list1_rx]\nlistcount=2\n"
                                    "combo0=136-174MHz\ncombo1=400-480MHz\nlistnow=1\n"
                                 << 3 << 12 << 2 << 2 << QStringList{"136-174MHz", "400-480MHz"} << 1;
        QTest::newRow("count with a missing item")
            << "[list1_rx]\nlistcount=2\ncombo0=136-174MHz\n" << 1 << 13 << 1 << 1
            << QStringList{"136-174MHz", "400-470MHz"} << 0;
        QTest::newRow("items without a count") << "[list1_rx]\ncombo0=136-174MHz\nlistnow=0\n" << 1 << 13 << 1
                                               << 1 << none << -1;
        QTest::newRow("not whole numbers") << "[open]\ncom=2.5\ncommode=abc\nskin=\nlang=x1\n[list1_rx]\n"
                                              "listcount=two\ncombo0=136-174MHz\n"
                                           << 1 << 13 << 1 << 1 << none << -1;
        QTest::newRow("out of range keeps defaults") << "[open]\ncom=5\ncommode=11\nskin=4\nlang=7\n" << 1 << 13
                                                     << 1 << 7 << none << -1;
        QTest::newRow("port 0 and theme 0") << "[open]\ncom=0\nskin=0\n" << 1 << 13 << 1 << 1 << none << -1;
        QTest::newRow("selection beyond the list") << "[list1_rx]\nlistcount=1\ncombo0=136-174MHz\nlistnow=3\n"
                                                   << 1 << 13 << 1 << 1 << QStringList{"136-174MHz"} << -1;
        QTest::newRow("negative count") << "[list1_rx]\nlistcount=-4\n" << 1 << 13 << 1 << 1 << none << -1;
        QTest::newRow("keys in other case, blanks, CRLF")
            << "[OPEN]\r\n Com = 4 \r\n[List1_RX]\r\nLISTCOUNT=1\r\nCombo0= 350-390MHz\r\n" << 4 << 13 << 1 << 1
            << QStringList{"350-390MHz"} << 0;
    }
    void reading()
    {
        QFETCH(QString, file);
        IniFile ini;
        ini.parse(file);
        const Preferences p = Preferences::fromIni(ini);
        QTEST(p.com, "com");
        QTEST(p.commode, "commode");
        QTEST(p.skin, "skin");
        QTEST(p.lang, "lang");
        QTEST(p.lists[Preferences::List1Rx].items, "items");
        QTEST(p.lists[Preferences::List1Rx].now, "now");
    }

    void hugeCountIsBounded()
    {
        IniFile ini;
        ini.parse(QStringLiteral("[list2_tx]\nlist4count=2000000000\n"));
        QCOMPARE(Preferences::fromIni(ini).lists[Preferences::List2Tx].items.size(), Preferences::MaxListItems);
    }

    void roundTrip()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("myini.ini"));
        Preferences p;
        p.com = 4;
        p.commode = 12;
        p.skin = 3;
        p.lang = 3;
        p.fastLink = true;
        p.lists[Preferences::List1Rx] = {{"400-470MHz", "136-174MHz"}, 1};
        p.lists[Preferences::List1Tx] = {{"400-470MHz"}, 0};
        p.lists[Preferences::List2Rx] = {{"FFF-FFFMHz", "350-390MHz", "245-246MHz"}, 2};
        QVERIFY(p.save(path));
        QCOMPARE(Preferences::load(path), p);
    }

    // The fast link has a key of its own, written once it was chosen and kept when turned off.
    void fastLinkKey()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("myini.ini"));
        writeAll(path, QStringLiteral("[open]\ncom=2\n"));
        Preferences p = Preferences::load(path);
        QVERIFY(!p.fastLink);
        p.fastLink = true;
        QVERIFY(p.save(path));
        QVERIFY(readAll(path).startsWith(QStringLiteral("[open]\ncom=2\ncommode=13\nskin=1\nlang=1\nfastlink=1\n")));
        p = Preferences::load(path);
        QVERIFY(p.fastLink);
        p.fastLink = false;
        QVERIFY(p.save(path));
        QVERIFY(readAll(path).contains(QStringLiteral("lang=1\nfastlink=0\n")));
        QVERIFY(!Preferences::load(path).fastLink);
    }

    // Saving over an existing file updates keys where they stand, appends new keys at the
    // end of their section and keeps every line the preferences do not own.
    void saveKeepsOtherLines()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("myini.ini"));
        writeAll(path, QStringLiteral("; delivered lists\n[ports]\nCOM1=/dev/ttyUSB3\n\n"
                                      "[list1_rx]\ncombo0=136-174MHz\ncombo1=400-470MHz\ncombo2=350-390MHz\n"
                                      "listcount=3\nlistnow=2\n\n[open]\nskin=2\n"));
        Preferences p = Preferences::load(path);
        p.lists[Preferences::List1Rx] = {{"245-246MHz"}, 0};
        p.com = 2;
        QVERIFY(p.save(path));
        QCOMPARE(readAll(path),
                 QStringLiteral("; delivered lists\n[ports]\nCOM1=/dev/ttyUSB3\n\n"
                                "[list1_rx]\ncombo0=245-246MHz\ncombo1=400-470MHz\ncombo2=350-390MHz\n"
                                "listcount=1\nlistnow=0\n\n[open]\nskin=2\ncom=2\ncommode=13\nlang=1\n"
                                "[list1_tx]\nlist2now=-1\nlist2count=0\n"
                                "[list2_rx]\nlist3now=-1\nlist3count=0\n"
                                "[list2_tx]\nlist4now=-1\nlist4count=0\n"));
        // The stale items above the count are not read back.
        QCOMPARE(Preferences::load(path).lists[Preferences::List1Rx].items, QStringList{"245-246MHz"});
    }

    // Parsed once: the four lists at their largest in a file of megabytes read in a moment
    // (each lookup used to walk the whole file: ten seconds).
    void largeFileLoadsQuickly()
    {
        QString text;
        for (int l = 0; l < Preferences::ListCount; ++l) {
            const auto id = Preferences::ListId(l);
            text += QLatin1Char('[') + Preferences::sectionName(id) + QStringLiteral("]\n");
            text += Preferences::countKey(id) + QStringLiteral("=%1\n").arg(Preferences::MaxListItems);
            for (int i = 0; i < Preferences::MaxListItems; ++i)
                text += Preferences::itemKey(id, i) + QStringLiteral("=400-470MHz\n");
        }
        text += QStringLiteral("[other]\n");
        for (int i = 0; text.size() < 2'000'000; ++i)
            text += QStringLiteral("key%1=a value kept as it stands\n").arg(i);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("myini.ini"));
        writeAll(path, text);

        QElapsedTimer timer;
        timer.start();
        Preferences p = Preferences::load(path);
        QCOMPARE(p.lists[Preferences::List2Tx].items.size(), Preferences::MaxListItems);
        p.com = 3;
        QVERIFY(p.save(path));
        QVERIFY2(timer.elapsed() < 3000, qPrintable(QString::number(timer.elapsed())));
        QCOMPARE(Preferences::load(path).com, 3);
        QVERIFY(readAll(path).contains(QStringLiteral("[other]\nkey0=a value kept as it stands\nkey1=")));
    }

    void saveOntoAFullDiskKeepsTheOldFile()
    {
        SmallDisk disk;
        if (!disk.isMounted())
            QSKIP(qPrintable(disk.whyNot()));
        const QString old = QStringLiteral("[open]\ncom=3\n[list1_rx]\nlistcount=1\ncombo0=136-174MHz\n");
        QVERIFY(disk.put(QStringLiteral("myini.ini"), old.toUtf8()));
        QVERIFY(disk.fill());
        Preferences p;
        p.lists[Preferences::List1Rx] = {QStringList(400, QStringLiteral("400-470MHz")), 0};
        QString reason;
        QVERIFY(!p.save(disk.filePath(QStringLiteral("myini.ini")), &reason));
        QCOMPARE(reason, QString::fromLocal8Bit(std::strerror(ENOSPC)));
        QCOMPARE(readAll(disk.filePath(QStringLiteral("myini.ini"))), old);
        QCOMPARE(disk.files(), QStringList{QStringLiteral("myini.ini")});
    }

    void unwritableProgramFolderUsesUserFolder()
    {
        QTemporaryDir user;
        const QString missingExeDir = user.filePath(QStringLiteral("no-such-folder"));
        PreferencesPaths paths = PreferencesPaths::forDirectories(missingExeDir, user.path());
        QCOMPARE(paths.readPath, QDir(missingExeDir).filePath(QStringLiteral("myini.ini")));
        QCOMPARE(paths.writePath, QDir(user.path()).filePath(QStringLiteral("myini.ini")));
        writeAll(paths.writePath, QStringLiteral("[open]\ncom=2\n"));
        paths = PreferencesPaths::forDirectories(missingExeDir, user.path());
        QCOMPARE(paths.readPath, paths.writePath);

        QTemporaryDir exe;
        QCOMPARE(PreferencesPaths::forDirectories(exe.path(), user.path()).writePath,
                 QDir(exe.path()).filePath(QStringLiteral("myini.ini")));
    }

    // An installed folder is never written, even when it could be (root, a staging folder):
    // the first run reads the shipped file, saves the whole of it (the [ports] section too)
    // into the user folder, and later runs read that.
    void installedFolderIsNeverWritten()
    {
        QTemporaryDir exe, user;
        const QString shipped = QStringLiteral("[ports]\nCOM1=/dev/ttyS4\n[open]\ncom=1\n");
        writeAll(exe.filePath(QStringLiteral("myini.ini")), shipped);
        writeAll(exe.filePath(InstalledLayout::markerName()), QString());
        PreferencesPaths paths = PreferencesPaths::forDirectories(exe.path(), user.path());
        QCOMPARE(paths.readPath, exe.filePath(QStringLiteral("myini.ini")));
        QCOMPARE(paths.writePath, user.filePath(QStringLiteral("myini.ini")));

        IniFile ini;
        QVERIFY(ini.load(paths.readPath));
        Preferences p = Preferences::fromIni(ini);
        p.com = 3;
        p.toIni(ini);
        QVERIFY(ini.save(paths.writePath));
        QCOMPARE(readAll(exe.filePath(QStringLiteral("myini.ini"))), shipped);
        paths = PreferencesPaths::forDirectories(exe.path(), user.path());
        QCOMPARE(paths.readPath, paths.writePath);
        QCOMPARE(Preferences::load(paths.readPath).com, 3);
        QVERIFY(readAll(paths.readPath).contains(QStringLiteral("COM1=/dev/ttyS4")));
    }
};

REGISTER_TEST(TestPreferences)
#include "tst_preferences.moc"
