// Saving a whole file so that a failure is reported and never costs the old file: onto a
// full disk (a tmpfs of a few kilobytes), into a missing folder, and the plain replacement.
#include "SmallDisk.h"
#include "TestRegistry.h"
#include "common/CheckedSave.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <cstring>

namespace {

QByteArray contents(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(missing)");
}

QString noSpaceReason()
{
    return QString::fromLocal8Bit(std::strerror(ENOSPC));
}

} // namespace

class TestCheckedSave : public QObject
{
    Q_OBJECT

private slots:
    void replacesTheFileWhole()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("a.bin"));
        QVERIFY(CheckedSave::writeFile(path, QByteArray(20000, 'o')));
        QString reason;
        QVERIFY(CheckedSave::writeFile(path, "new", &reason));
        QVERIFY(reason.isEmpty());
        QCOMPARE(contents(path), QByteArray("new"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("a.bin")});
        QVERIFY(CheckedSave::writeFile(path, QByteArray()));
        QCOMPARE(contents(path), QByteArray());
    }

    void fullDiskFailsAndKeepsTheOldFile_data()
    {
        QTest::addColumn<qint64>("free");
        QTest::addColumn<bool>("oldFile");
        QTest::newRow("no byte free, old file") << qint64(0) << true;
        QTest::newRow("part of the file fits, old file") << qint64(4096) << true;
        QTest::newRow("part of the file fits, new file") << qint64(4096) << false;
    }
    void fullDiskFailsAndKeepsTheOldFile()
    {
        QFETCH(qint64, free);
        QFETCH(bool, oldFile);
        SmallDisk disk;
        if (!disk.isMounted())
            QSKIP(qPrintable(disk.whyNot()));
        const QByteArray old(5000, 'o');
        if (oldFile)
            QVERIFY(disk.put(QStringLiteral("a.bin"), old));
        QVERIFY(disk.fill(free));

        QString reason;
        QVERIFY(!CheckedSave::writeFile(disk.filePath(QStringLiteral("a.bin")), QByteArray(16384, 'n'), &reason));
        QCOMPARE(reason, noSpaceReason());
        if (oldFile)
            QCOMPARE(contents(disk.filePath(QStringLiteral("a.bin"))), old);
        // No temporary file is left behind, and no half-written target.
        QCOMPARE(disk.files(), oldFile ? QStringList{QStringLiteral("a.bin")} : QStringList());
    }

    void missingFolderFailsWithReason()
    {
        QTemporaryDir dir;
        QString reason;
        QVERIFY(!CheckedSave::writeFile(dir.filePath(QStringLiteral("no/such/a.bin")), "x", &reason));
        QVERIFY(!reason.isEmpty());
        QVERIFY(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty());
    }
};

REGISTER_TEST(TestCheckedSave)
#include "tst_checkedsave.moc"
