// File > Save as PDF through the real main window: the pages hold the heading, every channel
// row and the function settings as the window shows them; a file that cannot be written is
// noticed with its name and leaves nothing behind. The PDF is read back with poppler-utils.
#include "Controls.h"
#include "TestRegistry.h"
#include "channels/ChannelTable.h"
#include "channels/ui/ChannelGrid.h"
#include "settings/SettingsRegistry.h"
#include "shell/ui/CodeplugPrinting.h"
#include "shell/ui/Tform1.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace {

QString run(const QString &program, const QStringList &args)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(30000))
        return QString();
    return QString::fromUtf8(p.readAllStandardOutput());
}

} // namespace

class TestPrinting : public QObject
{
    Q_OBJECT
    QTemporaryDir dir;
    std::unique_ptr<Tform1> form;

    CodeplugPrinting *printing() { return form->findChild<CodeplugPrinting *>(); }

private slots:
    void init()
    {
        QFile ini(dir.filePath(QStringLiteral("myini.ini")));
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write("[list1_rx]\nlistcount=1\ncombo0=400-470MHz\nlistnow=0\n"
                  "[list2_rx]\nlist3count=1\ncom3bo0=136-174MHz\nlist3now=0\n");
        ini.close();
        form = std::make_unique<Tform1>(PreferencesPaths::single(ini.fileName()));
        form->show();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        QVERIFY(printing());
    }
    void cleanup() { form.reset(); }

    void menuHoldsTheThreeCommands()
    {
        QCOMPARE(control<QAction>(*form, "printAction")->shortcut(), QKeySequence(QKeySequence::Print));
        QVERIFY(control<QAction>(*form, "printPreviewAction"));
        QVERIFY(control<QAction>(*form, "savePdfAction"));
    }

    void savedPdfHoldsHeadingChannelsAndSettings()
    {
        const QString pdfinfo = QStandardPaths::findExecutable(QStringLiteral("pdfinfo"));
        const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
        if (pdfinfo.isEmpty() || pdftotext.isEmpty())
            QSKIP("poppler-utils (pdfinfo, pdftotext) is not installed");

        form->channelTable()->setCell(ChannelTable::Grid1, ChannelTable::RxFreqColumn, 1, QStringLiteral("438.50000"));
        form->channelTable()->setCell(ChannelTable::Grid1, ChannelTable::RxFreqColumn, 128, QStringLiteral("401.12500"));
        const QString path = dir.filePath(QStringLiteral("list.pdf"));
        printing()->setPdfFileChooser([path](QWidget *) { return path; });
        QString noticed;
        printing()->setNotifier([&noticed](const QString &t) { noticed = t; });
        control<QAction>(*form, "savePdfAction")->trigger();
        QVERIFY2(noticed.isEmpty(), qPrintable(noticed));
        QVERIFY(QFile::exists(path));

        const QRegularExpressionMatch pagesLine =
            QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(run(pdfinfo, {path}));
        QVERIFY(pagesLine.hasMatch());
        const int pages = pagesLine.captured(1).toInt();
        // 128 channel rows do not fit one page; the settings start a page of their own.
        QVERIFY2(pages >= 3, qPrintable(QString::number(pages)));

        auto pageText = [&](int page) {
            return run(pdftotext, {QStringLiteral("-f"), QString::number(page), QStringLiteral("-l"),
                                   QString::number(page), QStringLiteral("-layout"), path, QStringLiteral("-")});
        };
        const QString first = pageText(1);
        QVERIFY2(first.contains(QLatin1String("RD4400")), qPrintable(first));
        QVERIFY(first.contains(QLatin1String("400-470MHz")));
        QVERIFY(first.contains(QLatin1String("136-174MHz")));
        QVERIFY(first.contains(QLatin1String("438.50000")));
        // Every channel page repeats the grid's column header.
        const QString header = form->findChild<ChannelGrid *>(QStringLiteral("StringAlignGrid1"))
                                   ->model()->headerData(ChannelTable::RxFreqColumn, Qt::Horizontal).toString();
        QString all;
        for (int p = 1; p <= pages; ++p) {
            const QString text = pageText(p);
            all += text;
            static const QRegularExpression channelRow(QStringLiteral("^\\s*\\d{3}\\s"), QRegularExpression::MultilineOption);
            if (text.contains(channelRow))   // a page of channel rows
                QVERIFY2(text.contains(header), qPrintable(QString::number(p)));
        }
        QVERIFY(all.contains(QLatin1String("401.12500")));
        // The settings as their captions show them, after the channels.
        const QString last = pageText(pages);
        int captionsSeen = 0;
        for (const SettingDef &def : SettingsRegistry::all()) {
            auto *label = form->findChild<QLabel *>(SettingsRegistry::captionObjectName(def));
            if (!label || def.hidden || label->text().trimmed().isEmpty() || !form->findChild<QWidget *>(def.name))
                continue;
            QString caption = label->text();
            caption.remove(QLatin1Char('&'));
            caption = caption.trimmed();
            // pdftotext gives some ideographs in other code points; the Latin captions are exact.
            if (QRegularExpression(QStringLiteral("[^\\x20-\\x7e]")).match(caption).hasMatch())
                continue;
            QVERIFY2(all.contains(caption), qPrintable(caption));
            ++captionsSeen;
        }
        QVERIFY(captionsSeen >= 3);
        QVERIFY(!last.contains(QLatin1String("438.50000")));
        QVERIFY(!all.contains(QLatin1String("[*]")));
        QVERIFY(!all.contains(QLatin1String(">>")));
    }

    void unwritablePdfIsNoticedAndLeavesNothing()
    {
        const QString path = dir.filePath(QStringLiteral("missing/list.pdf"));
        QString noticed;
        printing()->setNotifier([&noticed](const QString &t) { noticed = t; });
        QVERIFY(!printing()->savePdfTo(path));
        QVERIFY2(noticed.contains(QLatin1String("list.pdf")), qPrintable(noticed));
        QVERIFY(noticed.contains(QLatin1Char('\n')));
        QVERIFY(!QFile::exists(path));
        printing()->setPdfFileChooser([](QWidget *) { return QString(); });
        noticed.clear();
        control<QAction>(*form, "savePdfAction")->trigger();   // cancelled: nothing happens
        QVERIFY(noticed.isEmpty());
    }
};

REGISTER_TEST(TestPrinting)
#include "tst_printing.moc"
