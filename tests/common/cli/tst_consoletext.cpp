// What the command lines print besides their verbs' results: the progress line on a terminal
// and the aligned tables of --dump.
#include "TestRegistry.h"
#include "common/CommandLineKit.h"
#include "common/ConsoleProgress.h"

#include <QTest>

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

class TestConsoleText : public QObject
{
    Q_OBJECT

private slots:
    void displayWidth_data();
    void displayWidth();
    void alignedTable();
    void progressRewritesOneLineOnTerminal();
};

void TestConsoleText::displayWidth_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("width");
    QTest::newRow("latin") << QStringLiteral("Rx Freq") << 7;
    QTest::newRow("latin-1 name") << QStringLiteral("ÄÖÜ") << 3;
    QTest::newRow("simplified") << QStringLiteral("接收频率") << 8;
    QTest::newRow("mixed") << QStringLiteral("信道CH") << 6;
    QTest::newRow("full-width digit") << QStringLiteral("１") << 2;
}

void TestConsoleText::displayWidth()
{
    QFETCH(QString, text);
    QFETCH(int, width);
    QCOMPARE(CommandLineKit::displayWidth(text), width);
}

// Columns as wide as their widest cell in terminal columns, two blanks apart, no trailing
// blanks: a wide character counts twice, a short row ends where its cells end.
void TestConsoleText::alignedTable()
{
    const QStringList lines = CommandLineKit::alignedTable({{QStringLiteral("信道"), QStringLiteral("Rx"), QStringLiteral("x")},
                                                            {QStringLiteral("1"), QStringLiteral("430.00000"), QString()},
                                                            {QStringLiteral("2")}});
    QCOMPARE(lines, (QStringList{QStringLiteral("信道  Rx         x"), QStringLiteral("1     430.00000"),
                                 QStringLiteral("2")}));
}

void TestConsoleText::progressRewritesOneLineOnTerminal()
{
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
    QVERIFY(master >= 0);
    QVERIFY(::grantpt(master) == 0 && ::unlockpt(master) == 0);
    std::FILE *terminal = std::fopen(::ptsname(master), "w");
    QVERIFY(terminal);
    {
        ConsoleProgress progress(QStringLiteral("Write Data"), 942, terminal);
        for (int v = 0; v <= 942; ++v)
            progress.setValue(v);
    }
    std::fclose(terminal);
    QByteArray shown;
    char buffer[4096];
    ::fcntl(master, F_SETFL, O_NONBLOCK);
    for (ssize_t n; (n = ::read(master, buffer, sizeof buffer)) > 0;)
        shown.append(buffer, int(n));
    ::close(master);
    // Every percentage once (942 blocks make 0% to 100%), each rewriting the line, and one
    // line end at the finish (the terminal turns it into CR LF).
    QCOMPARE(shown.count("\r"), 101 + 1);
    QVERIFY(shown.contains("\rWrite Data: 10%\033[K"));
    QVERIFY(shown.endsWith("\rWrite Data: 100%\033[K\r\n"));
}

REGISTER_TEST(TestConsoleText)
#include "tst_consoletext.moc"
