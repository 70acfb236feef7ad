#include "TestRegistry.h"

#include "common/Backups.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

namespace {

QByteArray contents(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QDateTime at(int minute, int second = 0)
{
    return QDateTime(QDate(2026, 12, 10), QTime(14, minute, second));
}

} // namespace

class TestBackups : public QObject
{
    Q_OBJECT

private slots:
    void namesAndContents()
    {
        QTemporaryDir tmp;
        const QString dir = tmp.path() + "/deeper/backups";
        const auto r = Backups::write("KVT560", {{"bin", QByteArray(4096, '\x5A')}, {"k56", "text"}},
                                      at(3, 22), 50, dir);
        QVERIFY2(r.ok, qPrintable(r.error));
        QCOMPARE(QFileInfo(r.paths.at(0)).fileName(), QStringLiteral("KVT560-2026-12-10T14-03-22.bin"));
        QCOMPARE(QFileInfo(r.paths.at(1)).fileName(), QStringLiteral("KVT560-2026-12-10T14-03-22.k56"));
        QCOMPARE(contents(r.paths.at(0)), QByteArray(4096, '\x5A'));
        QCOMPARE(contents(r.paths.at(1)), QByteArray("text"));

        // A second backup in the same second does not replace the first.
        const auto again = Backups::write("KVT560", {{"bin", "2"}, {"k56", "second"}}, at(3, 22), 50, dir);
        QVERIFY(again.ok);
        QCOMPARE(QFileInfo(again.paths.at(1)).fileName(), QStringLiteral("KVT560-2026-12-10T14-03-22-2.k56"));
        QCOMPARE(contents(r.paths.at(1)), QByteArray("text"));
        QCOMPARE(Backups::list("KVT560", "k56", dir), (QStringList{again.paths.at(1), r.paths.at(1)}));
    }

    // Newest first; another program's files and strangers in the folder are left alone, and
    // pruning keeps the newest `keep` backups of the program that wrote.
    void listAndPrune()
    {
        QTemporaryDir tmp;
        const QString dir = tmp.path();
        QFile stranger(dir + "/notes.k56");
        QVERIFY(stranger.open(QIODevice::WriteOnly));
        stranger.close();
        QVERIFY(Backups::write("Program", {{"sin", "p"}}, at(1), 50, dir).ok);
        for (int minute : {5, 2, 9, 7})
            QVERIFY(Backups::write("KVT560", {{"bin", "b"}, {"k56", QByteArray::number(minute)}}, at(minute), 3,
                                   dir).ok);
        const QStringList kept = Backups::list("KVT560", "k56", dir);
        QCOMPARE(kept.size(), 3);
        QCOMPARE(contents(kept.at(0)), QByteArray("9"));
        QCOMPARE(contents(kept.at(1)), QByteArray("7"));
        QCOMPARE(contents(kept.at(2)), QByteArray("5"));
        QCOMPARE(Backups::list("KVT560", "bin", dir).size(), 3);
        QVERIFY(!QFile::exists(dir + "/KVT560-2026-12-10T14-02-00.bin"));
        QVERIFY(QFile::exists(dir + "/notes.k56"));
        QCOMPARE(Backups::list("Program", "sin", dir).size(), 1);
    }

    // A folder that cannot be made fails the backup with its name; nothing is left behind.
    void unwritableFolder()
    {
        QTemporaryDir tmp;
        QFile blocker(tmp.path() + "/file");
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        const auto r = Backups::write("Program", {{"bin", "x"}, {"sin", "y"}}, at(0), 50, blocker.fileName() + "/b");
        QVERIFY(!r.ok);
        QVERIFY(r.error.contains("file"));
        QVERIFY(r.paths.isEmpty());
    }

    void keepSetting_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<int>("keep");
        QTest::newRow("empty") << "" << 50;
        QTest::newRow("number") << " 12 " << 12;
        QTest::newRow("zero keeps all") << "0" << 0;
        QTest::newRow("words") << "many" << 50;
    }
    void keepSetting()
    {
        QFETCH(QString, value);
        QFETCH(int, keep);
        QCOMPARE(Backups::keepFromSetting(value), keep);
    }
};

REGISTER_TEST(TestBackups)
#include "tst_backups.moc"
