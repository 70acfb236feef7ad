#include "TestRegistry.h"
#include "shell/LanguageLibrary.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

QString writeLibrary(const QTemporaryDir &dir, const QByteArray &content)
{
    const QString path = dir.filePath(QStringLiteral("test.dll"));
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return {};
    f.write(content);
    return path;
}

} // namespace

class TestLanguageLibrary : public QObject
{
    Q_OBJECT
private slots:
    void deliveredLibraries_data();
    void deliveredLibraries();
    void format_data();
    void format();
    void invalidLibraryChangesNothing_data();
    void invalidLibraryChangesNothing();
    void missingLibraryChangesNothing();
    void truncation_data();
    void truncation();
    void longTextIsCutOnLoad();
};

void TestLanguageLibrary::deliveredLibraries_data()
{
    QTest::addColumn<QString>("library");
    QTest::addColumn<QStringList>("marks");  // strings 34, 35, 36, 37, 74, 75, 78, 79
    QTest::newRow("chinese") << "chinese" << QStringList{"禁用", "启用", "高功率", "低功率", "宽带", "窄带", "压扩", "扰频"};
    QTest::newRow("english") << "english" << QStringList{"OFF", "ON", "High", "Low", "Wide", "Narrow", "Comp", "scrambler"};
    QTest::newRow("taiwan") << "taiwan" << QStringList{"禁用", "啟用", "高功率", "低功率", "寬帶", "窄帶", "壓擴", "擾頻"};
}

void TestLanguageLibrary::deliveredLibraries()
{
    QFETCH(QString, library);
    QFETCH(QStringList, marks);
    // The copy laid out beside the program is the one the program loads.
    const QString path = LanguageLibrary::pathOf(QStringLiteral(APP_DIR), library);
    LanguageLibrary lib;
    QVERIFY2(lib.load(path), qPrintable(lib.errorString()));
    for (int id : LanguageLibrary::appliedIds())
        QVERIFY2(!lib.text(id).isEmpty(), qPrintable(QStringLiteral("string %1 missing").arg(id)));

    const int markIds[] = {34, 35, 36, 37, 74, 75, 78, 79};
    for (int i = 0; i < 8; ++i)
        QCOMPARE(lib.text(markIds[i]), marks.at(i));

    // The English library is a translation: no Chinese characters in any text.
    if (library == QLatin1String("english")) {
        const QRegularExpression han(QStringLiteral("\\p{Han}"));
        for (auto it = lib.texts().cbegin(); it != lib.texts().cend(); ++it)
            QVERIFY2(!it.value().contains(han), qPrintable(QStringLiteral("string %1").arg(it.key())));
    }
}

void TestLanguageLibrary::format_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("text");
    QTest::newRow("plain") << QByteArray("7\tOK\n") << 7 << "OK";
    QTest::newRow("UTF-8") << QByteArray("34\t禁用\n") << 34 << "禁用";
    QTest::newRow("blanks kept") << QByteArray("48\t min \n") << 48 << " min ";
    QTest::newRow("CR LF") << QByteArray("1\tA\r\n2\tB\r\n") << 2 << "B";
    QTest::newRow("byte order mark") << QByteArray("\xEF\xBB\xBF" "5\tx\n") << 5 << "x";
    QTest::newRow("comments and blank lines") << QByteArray("# head\n\n   \n9\tmenu\n#9\tno\n") << 9 << "menu";
    QTest::newRow("escapes") << QByteArray("64\tline\\none\\ttab\\\\end\n") << 64 << "line\none\ttab\\end";
    QTest::newRow("tab in text") << QByteArray("3\ta\tb\n") << 3 << "a\tb";
    QTest::newRow("empty text") << QByteArray("90\t\n") << 90 << "";
    QTest::newRow("no final newline") << QByteArray("8\tCancel") << 8 << "Cancel";
}

void TestLanguageLibrary::format()
{
    QFETCH(QByteArray, content);
    QFETCH(int, id);
    QFETCH(QString, text);
    QTemporaryDir dir;
    LanguageLibrary lib;
    QVERIFY2(lib.load(writeLibrary(dir, content)), qPrintable(lib.errorString()));
    QVERIFY(lib.contains(id));
    QCOMPARE(lib.text(id), text);
    QVERIFY(!lib.contains(999));
    QCOMPARE(lib.text(999), QString());
}

void TestLanguageLibrary::invalidLibraryChangesNothing_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("where");
    QTest::newRow("no tab") << QByteArray("1\tA\n2 B\n") << "line 2";
    QTest::newRow("not a number") << QByteArray("x1\tA\n") << "line 1";
    QTest::newRow("negative") << QByteArray("-1\tA\n") << "line 1";
    QTest::newRow("blank before number") << QByteArray(" 1\tA\n") << "line 1";
    QTest::newRow("twice") << QByteArray("1\tA\n# c\n1\tB\n") << "line 3";
    QTest::newRow("unknown escape") << QByteArray("1\tC:\\dir\n") << "line 1";
    QTest::newRow("backslash at end") << QByteArray("1\tA\\\n") << "line 1";
    QTest::newRow("not UTF-8") << QByteArray("1\t\xBD\xFB\xD3\xC3\n") << "UTF-8";
}

void TestLanguageLibrary::invalidLibraryChangesNothing()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, where);
    QTemporaryDir dir;
    LanguageLibrary lib;
    QVERIFY(lib.load(writeLibrary(dir, "34\tOFF\n")));
    QVERIFY(!lib.load(writeLibrary(dir, content)));
    QVERIFY2(lib.errorString().contains(where), qPrintable(lib.errorString()));
    QCOMPARE(lib.texts().size(), 1);
    QCOMPARE(lib.text(34), QStringLiteral("OFF"));
}

void TestLanguageLibrary::missingLibraryChangesNothing()
{
    QTemporaryDir dir;
    LanguageLibrary lib;
    const QString missing = LanguageLibrary::pathOf(dir.path(), QStringLiteral("taiwan"));
    QVERIFY(missing.endsWith(QLatin1String("/taiwan.dll")));
    QVERIFY(!lib.load(missing));
    QVERIFY(!lib.isLoaded());
    QVERIFY(lib.errorString().contains(QLatin1String("taiwan.dll")));

    QVERIFY(lib.load(writeLibrary(dir, "35\tON\n")));
    QVERIFY(!lib.load(missing));
    QVERIFY(lib.isLoaded());
    QCOMPARE(lib.text(35), QStringLiteral("ON"));
}

void TestLanguageLibrary::truncation_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("kept");
    const QString ascii(300, QLatin1Char('x'));
    const QString han = QString::fromUtf8("汉").repeated(100);   // 3 bytes each
    const QString face = QString::fromUtf8("😀").repeated(70);  // 4 bytes, two UTF-16 units each
    QTest::newRow("short") << "OFF" << "OFF";
    QTest::newRow("exactly 253") << ascii.left(253) << ascii.left(253);
    QTest::newRow("ASCII") << ascii << ascii.left(253);
    QTest::newRow("three-byte characters") << han << han.left(84);                // 252 bytes
    QTest::newRow("ends on a boundary") << "a" + han << "a" + han.left(84);       // 253 bytes
    QTest::newRow("four-byte characters") << face << face.left(2 * 63);           // 252 bytes
}

void TestLanguageLibrary::truncation()
{
    QFETCH(QString, text);
    QFETCH(QString, kept);
    const QString result = LanguageLibrary::truncatedToBytes(text, LanguageLibrary::MaxTextBytes);
    QCOMPARE(result, kept);
    QVERIFY(result.toUtf8().size() <= LanguageLibrary::MaxTextBytes);
}

void TestLanguageLibrary::longTextIsCutOnLoad()
{
    QTemporaryDir dir;
    LanguageLibrary lib;
    const QByteArray longText = QString::fromUtf8("警").repeated(120).toUtf8();
    QVERIFY(lib.load(writeLibrary(dir, "64\t" + longText + "\n")));
    QCOMPARE(lib.text(64), QString::fromUtf8("警").repeated(84));
}

REGISTER_TEST(TestLanguageLibrary)
#include "tst_language.moc"
