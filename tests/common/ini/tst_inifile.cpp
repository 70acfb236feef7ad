// The ini engine of both programs' preferences: a file nothing changed in keeps its bytes, a
// changed key is written where it stands, a new key goes to the end of its section, names
// match without regard to case and keep their spelling, and a failed save keeps the old file.
#include "SmallDisk.h"
#include "TestRegistry.h"
#include "common/IniFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <cstring>

namespace {
QByteArray readBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
} // namespace

class TestIniFile : public QObject
{
    Q_OBJECT
private slots:
    void unchangedFileKeepsItsBytes_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("plain") << QByteArray("[open]\ncom=2\nlang=1\n");
        QTest::newRow("CR LF") << QByteArray("; note\r\n[Setup]\r\nLanguage=Eng\r\n\r\n[Ports]\r\nCOM1=/dev/pts/3\r\n");
        QTest::newRow("mixed line ends") << QByteArray("[a]\r\nx=1\ny=2\r\n");
        QTest::newRow("byte order mark") << QByteArray("\xEF\xBB\xBF[open]\ncom=2\n");
        QTest::newRow("no last line break") << QByteArray("[open]\ncom=2");
        QTest::newRow("blanks and comments") << QByteArray("  ; a\n\n[ open ]  \n com = 2 \n#x=1\nnot an entry\n\n\n");
        QTest::newRow("not UTF-8") << QByteArray("[list1_rx]\ncombo0=\xC6\xB5\xB6\xCE\n");
        QTest::newRow("duplicates") << QByteArray("[open]\ncom=1\ncom=2\n[OPEN]\ncom=3\n");
    }
    // Set to the values it holds, too: the lines stay as written.
    void unchangedFileKeepsItsBytes()
    {
        QFETCH(QByteArray, bytes);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("prefs.ini"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        f.close();
        IniFile ini;
        QVERIFY(ini.load(path));
        for (const QString &section : {QStringLiteral("open"), QStringLiteral("Setup"), QStringLiteral("a")})
            for (const QString &key : ini.keys(section))
                ini.setValue(section, key, ini.value(section, key).value_or(QString()));
        QCOMPARE(ini.toBytes(), bytes);
        QVERIFY(ini.save(path));
        QCOMPARE(readBytes(path), bytes);
    }

    // A changed key is written where it stands, with its own spelling and line end; a new key
    // goes after the last line of its section that is not blank, in the file's line ends; a
    // new section goes to the end. Lookups ignore case.
    void changesGoWhereTheyBelong_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("after");
        QTest::newRow("changed in place") << QByteArray("[Setup]\r\nLanguage = Chs\r\nCOM=COM1\r\n")
                                          << QByteArray("[Setup]\r\nLanguage=Eng\r\nCOM=COM1\r\n");
        QTest::newRow("new key before the blank lines") << QByteArray("[SETUP]\r\nCOM=COM1\r\n\r\n[Ports]\r\n")
                                                        << QByteArray("[SETUP]\r\nCOM=COM1\r\nLanguage=Eng\r\n\r\n[Ports]\r\n");
        QTest::newRow("new section") << QByteArray("[Ports]\nCOM1=/dev/ttyUSB0")
                                     << QByteArray("[Ports]\nCOM1=/dev/ttyUSB0\n[setup]\nLanguage=Eng\n");
        QTest::newRow("after a byte order mark") << QByteArray("\xEF\xBB\xBF[setup]\n")
                                                 << QByteArray("\xEF\xBB\xBF[setup]\nLanguage=Eng\n");
        QTest::newRow("other lines kept byte for byte") << QByteArray("[x]\nv=\xC6\xB5\n[setup]\nlanguage=Chs\n")
                                                        << QByteArray("[x]\nv=\xC6\xB5\n[setup]\nlanguage=Eng\n");
    }
    void changesGoWhereTheyBelong()
    {
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, after);
        IniFile ini;
        ini.parse(before);
        ini.setValue(QStringLiteral("setup"), QStringLiteral("Language"), QStringLiteral("Eng"));
        ini.setValue(QStringLiteral("SETUP"), QStringLiteral("LANGUAGE"), QStringLiteral("Eng"));   // found, unchanged
        QCOMPARE(ini.toBytes(), after);
        QCOMPARE(ini.value(QStringLiteral("SeTuP"), QStringLiteral("Language")), std::optional<QString>(QStringLiteral("Eng")));
    }

    // A section or key that appears twice: the first counts for reading and for setValue,
    // the later ones stay in the file as they stand.
    void duplicatesResolveToTheFirst()
    {
        IniFile ini;
        ini.parse(QStringLiteral("com=9\n[open]\ncom=2\nCOM=3\n\n[Open]\ncom=5\nlang=2\n[ports]\n"));
        QCOMPARE(ini.value(QStringLiteral("OPEN"), QStringLiteral("Com")).value_or(QString()), QStringLiteral("2"));
        QVERIFY(!ini.value(QStringLiteral("open"), QStringLiteral("lang")));   // only in the second [open]
        QCOMPARE(ini.keys(QStringLiteral("open")), (QStringList{"com", "COM"}));
        QVERIFY(ini.hasSection(QStringLiteral("PORTS")));
        ini.setValue(QStringLiteral("open"), QStringLiteral("COM"), QStringLiteral("7"));
        ini.setValue(QStringLiteral("open"), QStringLiteral("lang"), QStringLiteral("1"));
        ini.setValue(QStringLiteral("new"), QStringLiteral("a"), QStringLiteral("1"));
        ini.setValue(QStringLiteral("NEW"), QStringLiteral("b"), QStringLiteral("2"));
        QCOMPARE(ini.toText(), QStringLiteral("com=9\n[open]\ncom=7\nCOM=3\nlang=1\n\n[Open]\ncom=5\nlang=2\n[ports]\n"
                                              "[new]\na=1\nb=2\n"));
        QCOMPARE(ini.value(QStringLiteral("open"), QStringLiteral("lang")).value_or(QString()), QStringLiteral("1"));
    }

    void failedSaveKeepsTheOldFile()
    {
        SmallDisk disk;
        if (!disk.isMounted())
            QSKIP(qPrintable(disk.whyNot()));
        const QByteArray old = "[open]\r\ncom=3\r\n";
        QVERIFY(disk.put(QStringLiteral("prefs.ini"), old));
        QVERIFY(disk.fill());
        IniFile ini;
        QVERIFY(ini.load(disk.filePath(QStringLiteral("prefs.ini"))));
        ini.setValue(QStringLiteral("open"), QStringLiteral("big"), QString(8000, QLatin1Char('x')));
        QString reason;
        QVERIFY(!ini.save(disk.filePath(QStringLiteral("prefs.ini")), &reason));
        QCOMPARE(reason, QString::fromLocal8Bit(std::strerror(ENOSPC)));
        QCOMPARE(readBytes(disk.filePath(QStringLiteral("prefs.ini"))), old);
        QCOMPARE(disk.files(), QStringList{QStringLiteral("prefs.ini")});
    }

    // A file that is there but cannot be read gives an empty profile and the reason.
    void unreadableFile()
    {
        QTemporaryDir dir;
        IniFile ini;
        ini.parse(QByteArray("[open]\ncom=2\n"));
        QString reason;
        QVERIFY(!ini.load(dir.path(), &reason));   // a folder
        QVERIFY(!reason.isEmpty());
        QVERIFY(!ini.hasSection(QStringLiteral("open")));
        QVERIFY(ini.toBytes().isEmpty());
    }
};

REGISTER_TEST(TestIniFile)
#include "tst_inifile.moc"
