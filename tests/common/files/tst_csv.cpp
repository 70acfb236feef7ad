#include "TestRegistry.h"

#include "common/Csv.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestCsv : public QObject
{
    Q_OBJECT

private slots:
    void parse_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("separator");
        QTest::addColumn<QList<QStringList>>("records");
        QTest::addColumn<QList<int>>("lines");

        QTest::newRow("plain, CR LF") << "a,b,c\r\n1,2,3\r\n" << ","
                                      << QList<QStringList>{{"a", "b", "c"}, {"1", "2", "3"}} << QList<int>{1, 2};
        QTest::newRow("LF, no final end") << "a,b\n1,2" << ","
                                          << QList<QStringList>{{"a", "b"}, {"1", "2"}} << QList<int>{1, 2};
        QTest::newRow("empty fields kept") << ",x,\r\n" << "," << QList<QStringList>{{"", "x", ""}} << QList<int>{1};
        QTest::newRow("quoted separator, quote, line break")
            << "\"a,b\",\"say \"\"hi\"\"\",\"two\r\nlines\"\r\nnext,1\r\n" << ","
            << QList<QStringList>{{"a,b", "say \"hi\"", "two\r\nlines"}, {"next", "1"}} << QList<int>{1, 3};
        QTest::newRow("empty lines skipped, numbers kept") << "a\r\n\r\nb\r\n" << ","
                                                           << QList<QStringList>{{"a"}, {"b"}} << QList<int>{1, 3};
        QTest::newRow("byte order mark") << QString(QChar(0xFEFF)) + "x,y\n" << ","
                                         << QList<QStringList>{{"x", "y"}} << QList<int>{1};
        QTest::newRow("tabs, comma is text") << "1\t438,5\tA B\n" << "\t"
                                             << QList<QStringList>{{"1", "438,5", "A B"}} << QList<int>{1};
    }
    void parse()
    {
        QFETCH(QString, text);
        QFETCH(QString, separator);
        QFETCH(QList<QStringList>, records);
        QFETCH(QList<int>, lines);
        const Csv::ParseResult r = Csv::parse(text, separator.at(0));
        QVERIFY2(r.ok(), qPrintable(r.error));
        QCOMPARE(r.records.size(), records.size());
        for (int i = 0; i < records.size(); ++i) {
            QCOMPARE(r.records.at(i).fields, records.at(i));
            QCOMPARE(r.records.at(i).line, lines.at(i));
        }
    }

    void refused_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("line");
        QTest::newRow("quote never closed") << "a,b\r\nc,\"open\r\nmore\r\n" << 2;
        QTest::newRow("text after closing quote") << "a\r\n\"x\"y,z\r\n" << 2;
        QTest::newRow("quote inside unquoted field") << "a\r\nb\r\nab\"c\r\n" << 3;
    }
    void refused()
    {
        QFETCH(QString, text);
        QFETCH(int, line);
        const Csv::ParseResult r = Csv::parse(text);
        QVERIFY(!r.ok());
        QCOMPARE(r.errorLine, line);
        QVERIFY(r.records.isEmpty());
    }

    // Whatever the fields hold, writing then reading gives them back, in both forms.
    void roundTrip()
    {
        const QList<QStringList> records{{"1", "CH,1", "say \"x\"", ""},
                                         {"2", " lead", "trail ", "a\tb"},
                                         {"3", "line\nbreak", "", "Z"}};
        for (const QChar sep : {QLatin1Char(','), QLatin1Char('\t')}) {
            const Csv::ParseResult r = Csv::parse(Csv::write(records, sep), sep);
            QVERIFY2(r.ok(), qPrintable(r.error));
            QCOMPARE(r.records.size(), records.size());
            for (int i = 0; i < records.size(); ++i)
                QCOMPARE(r.records.at(i).fields, records.at(i));
        }
        QCOMPARE(Csv::write({{"a", "b"}}), QStringLiteral("a,b\r\n"));
        QCOMPARE(Csv::write({{"a", "b"}}, QLatin1Char('\t')), QStringLiteral("a\tb\n"));
    }

    // A file is read whole or refused: a missing one with the system's reason, one larger
    // than the limit with the refusal, never its first 16 MB.
    void readFile()
    {
        QTemporaryDir dir;
        QString text, error;
        QVERIFY(!Csv::readFile(dir.filePath("missing.csv"), &text, &error));
        QVERIFY(!error.isEmpty());

        QFile big(dir.filePath("big.csv"));
        QVERIFY(big.open(QIODevice::WriteOnly) && big.write("Location,Name\n1,A\n") > 0);
        QVERIFY(big.resize(Csv::MaxFileSize + 1));
        big.close();
        text.clear();
        QVERIFY(!Csv::readFile(big.fileName(), &text, &error));
        QCOMPARE(error, QStringLiteral("The file is larger than 16 MB."));
        QVERIFY(text.isEmpty());

        QVERIFY(big.resize(Csv::MaxFileSize));
        QVERIFY(Csv::readFile(big.fileName(), &text, &error));
        QVERIFY(text.startsWith(QStringLiteral("Location,Name\n1,A\n")));
    }
};

REGISTER_TEST(TestCsv)
#include "tst_csv.moc"
