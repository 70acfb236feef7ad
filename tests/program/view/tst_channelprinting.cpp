#include "TestRegistry.h"

#include "model/ui/ChannelPrinting.h"

#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

class TestChannelPrinting : public QObject
{
    Q_OBJECT

    // Prints a grid whose cells read "r<row>c<column>" to a PDF and returns its text, pages
    // separated by form feeds.
    QString printToText(QPrinter::PrintRange range = QPrinter::AllPages, int from = 0, int to = 0)
    {
        const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
        if (pdftotext.isEmpty())
            return QString();
        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("channels.pdf"));
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        printer.setPrintRange(range);
        printer.setFromTo(from, to);
        const bool printed = ChannelPrinting::print(&printer, [](int row, int column) {
            if (row == 0)
                return column == 0 ? QStringLiteral("CH") : QStringLiteral("head%1").arg(column);
            if (column == 0)
                return QString::number(row);
            if (row == 7 && column == 3)
                return QString(); // an empty cell prints nothing and shifts nothing
            return QStringLiteral("r%1c%2").arg(row).arg(column);
        });
        if (!printed)
            return QStringLiteral("<not printed>");
        QProcess p;
        p.start(pdftotext, {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
        p.waitForFinished(30000);
        return QString::fromUtf8(p.readAllStandardOutput());
    }

    static QStringList lines(const QString &page)
    {
        QStringList result;
        for (const QString &line : page.split(QLatin1Char('\n')))
            if (!line.trimmed().isEmpty())
                result << line.simplified();
        return result;
    }

private slots:
    void twoPages()
    {
        const QString text = printToText();
        if (text.isNull())
            QSKIP("pdftotext (poppler-utils) is not installed");
        QStringList pages = text.split(QLatin1Char('\f'));
        while (!pages.isEmpty() && pages.last().trimmed().isEmpty())
            pages.removeLast();
        QCOMPARE(pages.size(), 2);

        const QStringList first = lines(pages.at(0));
        QCOMPARE(first.size(), 51);
        QCOMPARE(first.at(0), QStringLiteral("CH head1 head2 head3 head4 head5 head6 head7 head8 head9"));
        QCOMPARE(first.at(1), QStringLiteral("1 r1c1 r1c2 r1c3 r1c4 r1c5 r1c6 r1c7 r1c8 r1c9"));
        QCOMPARE(first.at(7), QStringLiteral("7 r7c1 r7c2 r7c4 r7c5 r7c6 r7c7 r7c8 r7c9"));
        QCOMPARE(first.last(), QStringLiteral("50 r50c1 r50c2 r50c3 r50c4 r50c5 r50c6 r50c7 r50c8 r50c9"));

        const QStringList second = lines(pages.at(1));
        QCOMPARE(second.size(), 49);
        QCOMPARE(second.first(), QStringLiteral("51 r51c1 r51c2 r51c3 r51c4 r51c5 r51c6 r51c7 r51c8 r51c9"));
        QCOMPARE(second.last(), QStringLiteral("99 r99c1 r99c2 r99c3 r99c4 r99c5 r99c6 r99c7 r99c8 r99c9"));
    }

    void pageRange()
    {
        const QString text = printToText(QPrinter::PageRange, 2, 2);
        if (text.isNull())
            QSKIP("pdftotext (poppler-utils) is not installed");
        QStringList pages = text.split(QLatin1Char('\f'));
        while (!pages.isEmpty() && pages.last().trimmed().isEmpty())
            pages.removeLast();
        QCOMPARE(pages.size(), 1);
        QVERIFY(lines(pages.at(0)).first().startsWith(QStringLiteral("51 ")));
    }
};

REGISTER_TEST(TestChannelPrinting)
#include "tst_channelprinting.moc"
