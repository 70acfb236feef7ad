// The codeplug text file without a window: the exact bytes of the layout, the round trip of
// every setting and channel cell, the channel-line rules, refused files and bad values, the
// encodings the reader accepts, and saving that never destroys the old file.
#include "TestRegistry.h"
#include "channels/Marks.h"
#include "codeplug/CodePage.h"
#include "codeplug/CodeplugFile.h"
#include "channels/ToneList.h"
#include "settings/SettingsRegistry.h"
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <unistd.h>

namespace {

QByteArray fixture(const char *name)
{
    QFile f(QStringLiteral(SOURCE_DIR "/tests/kvt560/codeplug/data/") + QLatin1String(name));
    if (!f.open(QIODevice::ReadOnly))
        qFatal("missing fixture %s", name);
    return f.readAll();
}

QString emptyChannelLine(int row)
{
    return QStringLiteral("CH%1").arg(row, 3, 10, QLatin1Char('0')) + QStringLiteral(" | ").repeated(18);
}

// A channel in use with the defaults of a new channel, in the marks of one language.
void fillChannel(ChannelCells &cells, int row, const QString &freq, const Marks &m)
{
    const QStringList columns{freq, m.off, freq, m.off, m.high, m.wide, m.on, m.off, m.off, QString()};
    for (int c = 1; c <= 10; ++c)
        cells.setColumn(c, row, columns.at(c - 1));
    const QStringList attributes{m.on, m.off, m.off, QStringLiteral("0"), QStringLiteral("0"), m.off, m.off};
    for (int a = 1; a <= 7; ++a)
        cells.setAttribute(a, row, attributes.at(a - 1));
}

Codeplug exampleContent()
{
    Codeplug c;
    c.bandRanges = QStringList{"400-470MHz", "400-470MHz", "136-174MHz", "136-174MHz"};
    fillChannel(c.channels, 1, QStringLiteral("400.12500"), Marks::forLanguage(1));
    return c;
}

// The lines of the example file with the channel lines from row 1 on replaced.
QStringList withChannelLines(const QStringList &channelLines)
{
    QStringList lines = CodeplugFile::lines(exampleContent()).mid(0, CodeplugFile::SettingsLineCount);
    return lines + channelLines;
}

CodeplugReadResult readLines(const QStringList &lines, const ChannelCells &current = {})
{
    return CodeplugFile::read(CodeplugFile::encode(lines), SettingsValues(), current);
}

} // namespace

class TestCodeplugFile : public QObject
{
    Q_OBJECT
    QTemporaryDir dir;

private slots:
    void writesTheLayoutByteForByte()
    {
        const QByteArray bytes = CodeplugFile::write(exampleContent());
        QCOMPARE(bytes, fixture("start-settings.k56"));
        const QStringList lines = CodeplugFile::lines(exampleContent());
        QCOMPARE(lines.size(), CodeplugFile::LineCount);
        QCOMPARE(lines.at(60), emptyChannelLine(2));
    }

    void itemTextsAfterTheIndexComeFromTheCaller()
    {
        Codeplug c = exampleContent();
        c.settings.set(QStringLiteral("bsSkinComboBox10"), 0);
        const QStringList lines = CodeplugFile::lines(c, [](const QString &name, int index) {
            return name + QLatin1Char('#') + QString::number(index);
        });
        QCOMPARE(lines.at(13), QStringLiteral("TOT 0 bsSkinComboBox10#0"));
    }

    void roundTripRestoresEverySettingAndCell_data()
    {
        QTest::addColumn<int>("apo");
        for (int apo : {0, 1, 9, 10, 11, 12, 13, 14, 15})
            QTest::newRow(qPrintable(QStringLiteral("APO %1").arg(apo))) << apo;
    }
    void roundTripRestoresEverySettingAndCell()
    {
        QFETCH(int, apo);
        Codeplug c = exampleContent();
        // Every setting with a line away from its Start value.
        for (const SettingDef *def : SettingsRegistry::fileOrder()) {
            switch (def->kind) {
            case SettingKind::Index: QVERIFY(c.settings.set(def->name, def->itemCount() - 1)); break;
            case SettingKind::Check: QVERIFY(c.settings.set(def->name, 1 - def->start.toInt())); break;
            case SettingKind::Spin: QVERIFY(c.settings.set(def->name, def->spin.maximum - def->spin.step)); break;
            case SettingKind::Text:
                QVERIFY(c.settings.set(def->name, QStringLiteral("*#D0123").left(def->filter.maxLength)));
                break;
            case SettingKind::RangeList: break;
            }
        }
        QVERIFY(c.settings.set(QStringLiteral("bsSkinComboBox1"), apo));
        QVERIFY(c.settings.set(QStringLiteral("bsSkinCheckRadioBox14"), 1));   // keeps band 2 selectable
        QVERIFY(c.settings.set(QStringLiteral("bsSkinComboBox22"), 0));
        // Channels in the marks of every language, tones, aliases, the last row.
        fillChannel(c.channels, 2, QStringLiteral("438.00625"), Marks::forLanguage(2));
        fillChannel(c.channels, 77, QStringLiteral("136.00000"), Marks::forLanguage(3));
        fillChannel(c.channels, 128, QStringLiteral("470.00000"), Marks::forLanguage(1));
        c.channels.setColumn(2, 2, QStringLiteral("D023N"));
        c.channels.setAttribute(4, 2, QStringLiteral("53"));
        c.channels.setColumn(4, 77, QStringLiteral("67.0"));
        c.channels.setAttribute(5, 77, QStringLiteral("2"));
        c.channels.setColumn(10, 128, QStringLiteral("AB-1"));
        c.channels.setAttribute(6, 128, Marks::forLanguage(1).scrambler);

        const CodeplugReadResult r = CodeplugFile::read(CodeplugFile::write(c), SettingsValues(), ChannelCells());
        QCOMPARE(r.status, CodeplugReadResult::Read);
        for (const SettingDef *def : SettingsRegistry::fileOrder())
            if (def->isValue())
                QVERIFY2(r.content.settings.value(def->name) == c.settings.value(def->name), qPrintable(def->name));
        QVERIFY(r.content.settings == c.settings);
        QCOMPARE(r.content.bandRanges, c.bandRanges);
        QVERIFY(r.content.channels == c.channels);
    }

    void settingsWithoutALineAreLeftAsTheyAre()
    {
        SettingsValues current;
        for (const char *name : {"bsSkinComboBox3", "bsSkinComboBox2", "bsSkinComboBox13", "bsSkinComboBox16"})
            QVERIFY(current.set(QLatin1String(name), 6));
        QVERIFY(current.set(QStringLiteral("bsSkinEdit15"), QStringLiteral("123456")));
        QVERIFY(current.set(QStringLiteral("bsSkinCheckRadioBox22"), 0));
        const CodeplugReadResult r = CodeplugFile::read(fixture("start-settings.k56"), current, ChannelCells());
        QCOMPARE(r.status, CodeplugReadResult::Read);
        QVERIFY(r.content.settings == current);   // the fixture holds the Start values
    }

    void valueReadingRules_data()
    {
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QVariant>("expected");
        QTest::newRow("spin with decimals") << 30 << "Pretime 400.0" << "bsSkinSpinEdit13" << QVariant(400);
        QTest::newRow("spin above its range") << 30 << "Pretime 5000" << "bsSkinSpinEdit13" << QVariant(1000);
        QTest::newRow("APO up to the blank") << 8 << "APO 12 12H" << "bsSkinComboBox1" << QVariant(12);
        QTest::newRow("APO past the list") << 8 << "APO 16" << "bsSkinComboBox1" << QVariant(0);
        QTest::newRow("one digit only") << 10 << "step 23" << "bsSkinComboBox8" << QVariant(2);
        QTest::newRow("index past the list") << 10 << "step 7" << "bsSkinComboBox8" << QVariant(4);
        QTest::newRow("flag other than 1") << 18 << "Beep x" << "bsSkinCheckRadioBox8" << QVariant(0);
        QTest::newRow("missing flag") << 18 << "Beep" << "bsSkinCheckRadioBox8" << QVariant(0);
        QTest::newRow("DTMF text in lower case") << 36 << "BOT a*#d" << "bsSkinEdit3" << QVariant(QStringLiteral("A*#D"));
        QTest::newRow("empty call entry") << 38 << "Call0 " << "bsSkinStringGrid1:1" << QVariant(QString());
    }
    void valueReadingRules()
    {
        QFETCH(int, line);
        QFETCH(QString, text);
        QFETCH(QString, name);
        QFETCH(QVariant, expected);
        QStringList lines = CodeplugFile::lines(exampleContent());
        lines[line - 1] = text;
        const CodeplugReadResult r = readLines(lines);
        QCOMPARE(r.status, CodeplugReadResult::Read);
        QCOMPARE(r.content.settings.value(name), expected);
    }

    void badValuesRefuseTheWholeFile_data()
    {
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");
        QTest::newRow("index letter") << 10 << "step x 25kHz" << "'x' is not a valid integer value";
        QTest::newRow("index missing") << 13 << "Squelch" << "'' is not a valid integer value";
        QTest::newRow("APO not a number") << 8 << "APO 1x OFF" << "'1x' is not a valid integer value";
        QTest::newRow("spin not a number") << 27 << "Digit Time 1OO" << "'1OO' is not a valid floating point value";
        QTest::newRow("spin empty") << 50 << "Auto Reset " << "'' is not a valid floating point value";
        QTest::newRow("last setting") << 57 << "Key Assignment ?" << "'?' is not a valid integer value";
        QTest::newRow("text the field refuses") << 49 << "Private 12E4"
                                                << "'12E4' is not a valid value for \"Private\" (line 49)";
    }
    void badValuesRefuseTheWholeFile()
    {
        QFETCH(int, line);
        QFETCH(QString, text);
        QFETCH(QString, message);
        QStringList lines = CodeplugFile::lines(exampleContent());
        lines[line - 1] = text;
        const CodeplugReadResult r = readLines(lines);
        QCOMPARE(r.status, CodeplugReadResult::BadValue);
        QCOMPARE(r.message, message);
        QCOMPARE(r.line, line);
    }

    void fileEndingInTheSettingsBlockIsRefused()
    {
        const QStringList lines = CodeplugFile::lines(exampleContent()).mid(0, 20);
        const CodeplugReadResult r = readLines(lines);
        QCOMPARE(r.status, CodeplugReadResult::BadValue);
        QCOMPARE(r.line, 23);   // the first index line that is missing
        QCOMPARE(r.message, QStringLiteral("'' is not a valid integer value"));
    }

    void firstLineMustMatchExactly_data()
    {
        QTest::addColumn<QByteArray>("first");
        QTest::newRow("letter case") << QByteArray("KVT560 Memory Channel");
        QTest::newRow("trailing blank") << QByteArray("KVT560 MEMORY CHANNEL ");
        QTest::newRow("empty") << QByteArray();
    }
    void firstLineMustMatchExactly()
    {
        QFETCH(QByteArray, first);
        QByteArray bytes = fixture("start-settings.k56");
        bytes.replace(0, bytes.indexOf('\r'), first);
        const CodeplugReadResult r = CodeplugFile::read(bytes, SettingsValues(), ChannelCells());
        QCOMPARE(r.status, CodeplugReadResult::NotACodeplug);
        QVERIFY(r.message.isEmpty());
        QCOMPARE(CodeplugFile::read(QByteArray(), SettingsValues(), ChannelCells()).status,
                 CodeplugReadResult::NotACodeplug);
    }

    void channelLineRules_data()
    {
        const Marks zh = Marks::forLanguage(1);
        const QString full = QStringLiteral("CH001 | 400.12500 | 禁用 | 400.12500 | 禁用 | 高功率 | 宽带 | 启用 | 禁用 | 禁用 |"
                                            "  | 启用 | 禁用 | 禁用 | 0 | 0 | 禁用 | 禁用 | ");
        QTest::addColumn<QString>("line");
        QTest::addColumn<QStringList>("columns");      // columns 1-10 of row 1 afterwards
        QTest::addColumn<QStringList>("attributes");   // attributes 1-7 of row 1 afterwards
        const QStringList none(10);
        const QStringList kept{"k1", "k2", "k3", "k4", "k5", "k6", "k7"};
        const QStringList defaults{zh.on, zh.off, zh.off, "0", "0", zh.off, zh.off};
        const QStringList usedColumns{"400.12500", zh.off, "400.12500", zh.off, zh.high, zh.wide, zh.on, zh.off, zh.off, ""};
        QTest::newRow("full line") << full << usedColumns << defaults;
        QTest::newRow("blank 9th character leaves the row")
            << QStringLiteral("CH001 |  | 67.0 | 400.00000 | x | x | x | x | x | x | x | x | x | x | x | x | x | x | ")
            << none << kept;
        // Read as a channel, its other cells would be lost by the next save and open.
        QTest::newRow("empty receive field without its blank leaves the row")
            << QStringLiteral("CH001 | | 67.0 | 400.00000 | x | x | x | x | x | x | x | x | x | x | x | x | x | x | ")
            << none << kept;
        QTest::newRow("short line empties the attributes too") << QStringLiteral("CH001") << none << QStringList(7);
        QTest::newRow("fewer fields") << QStringLiteral("CH001 | 401.00000 | 67.0 | 401.00000 | ")
                                      << QStringList{"401.00000", "67.0", "401.00000", "", "", "", "", "", "", ""}
                                      << QStringList{"", "", "", "2", "", "", ""};
        QTest::newRow("trailing blank stripped by an editor")
            << full.chopped(1) << usedColumns << defaults;
        QTest::newRow("the number after CH is not read") << QString(full).replace(2, 3, QStringLiteral("099"))
                                                         << usedColumns << defaults;
        QTest::newRow("tone indexes follow the tone texts")
            << QStringLiteral("CH001 | 400.12500 | D023N | 400.12500 | 254.1 | High | Wide | ON | OFF | OFF | AB | ON | "
                              "OFF | OFF | 7 | 7 | OFF | OFF | ")
            << QStringList{"400.12500", "D023N", "400.12500", "254.1", "High", "Wide", "ON", "OFF", "OFF", "AB"}
            << QStringList{"ON", "OFF", "OFF", "53", "51", "OFF", "OFF"};
        QTest::newRow("off word of another language is tone 0")
            << QStringLiteral("CH001 | 400.12500 | OFF | 400.12500 | 禁用 | High | Wide | ON | OFF | OFF |  | ON | "
                              "OFF | OFF | 9 | 9 | OFF | OFF | ")
            << QStringList{"400.12500", "OFF", "400.12500", zh.off, "High", "Wide", "ON", "OFF", "OFF", ""}
            << QStringList{"ON", "OFF", "OFF", "0", "0", "OFF", "OFF"};
    }
    void channelLineRules()
    {
        QFETCH(QString, line);
        QFETCH(QStringList, columns);
        QFETCH(QStringList, attributes);
        ChannelCells current;
        fillChannel(current, 1, QStringLiteral("145.00000"), Marks::forLanguage(2));
        for (int a = 1; a <= 7; ++a)
            current.setAttribute(a, 1, QStringLiteral("k%1").arg(a));
        fillChannel(current, 2, QStringLiteral("145.00000"), Marks::forLanguage(2));

        const CodeplugReadResult r = readLines(withChannelLines({line}), current);
        QCOMPARE(r.status, CodeplugReadResult::Read);
        QStringList gotColumns, gotAttributes;
        for (int c = 1; c <= 10; ++c)
            gotColumns << r.content.channels.column(c, 1);
        for (int a = 1; a <= 7; ++a)
            gotAttributes << r.content.channels.attribute(a, 1);
        QCOMPARE(gotColumns, columns);
        QCOMPARE(gotAttributes, attributes);
        // Row 2 had no line: its columns are emptied, its attributes stay.
        QVERIFY(r.content.channels.column(1, 2).isEmpty());
        QCOMPARE(r.content.channels.attribute(1, 2), QStringLiteral("ON"));
    }

    void fileWithFewerOrMoreChannelLines()
    {
        const Marks zh = Marks::forLanguage(1);
        ChannelCells all;
        for (int row = 1; row <= 128; ++row)
            fillChannel(all, row, QStringLiteral("420.00000"), zh);
        Codeplug c = exampleContent();
        c.channels = all;
        QStringList lines = CodeplugFile::lines(c);

        // Only 100 channel lines: rows 101-128 are left without a channel.
        CodeplugReadResult r = readLines(lines.mid(0, CodeplugFile::SettingsLineCount + 100), all);
        QCOMPARE(r.status, CodeplugReadResult::Read);
        QCOMPARE(r.content.channels.column(1, 100), QStringLiteral("420.00000"));
        for (int row = 101; row <= 128; ++row)
            for (int col = 1; col <= 10; ++col)
                QVERIFY(r.content.channels.column(col, row).isEmpty());

        // Lines after the 128th channel line are not read.
        lines << QStringLiteral("CH129 | 999.99999 | x | ") << QStringLiteral("garbage");
        r = readLines(lines);
        QCOMPARE(r.status, CodeplugReadResult::Read);
        QVERIFY(r.content.channels == all);
    }

    void encodingsTheReaderAccepts_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("language");   // of the marks the file holds
        Codeplug c = exampleContent();
        fillChannel(c.channels, 1, QStringLiteral("400.12500"), Marks::forLanguage(3));
        // Item texts as a Traditional Chinese system shows them (Big5 has no Simplified forms).
        const QStringList lines = CodeplugFile::lines(c, [](const QString &, int index) {
            return QStringLiteral("頻段%1").arg(index);
        });
        const QString text = lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
        const auto big5 = CodePage(CodePage::Big5).encode(text);
        const auto gbk = CodePage(CodePage::Gbk).encode(text);
        QVERIFY(big5 && gbk);
        QTest::newRow("UTF-8") << text.toUtf8() << 3;
        // Edited by hand and saved as UTF-8 without a byte order mark: the Chinese marks tell.
        const QByteArray edited = CodePage(CodePage::Gbk).decode(CodeplugFile::write(exampleContent()))->toUtf8();
        QTest::newRow("UTF-8 with Simplified marks") << edited << 1;
        QTest::newRow("UTF-8 with byte order mark") << QByteArray("\xEF\xBB\xBF" + text.toUtf8()) << 3;
        QTest::newRow("Big5") << *big5 << 3;
        QTest::newRow("GBK") << *gbk << 3;
        QTest::newRow("GBK, lone LF") << QByteArray(fixture("start-settings.k56")).replace("\r\n", "\n") << 1;
    }
    void encodingsTheReaderAccepts()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, language);
        const CodeplugReadResult r = CodeplugFile::read(bytes, SettingsValues(), ChannelCells());
        QCOMPARE(r.status, CodeplugReadResult::Read);
        // The marks are put in the cells as they stand, whatever language is loaded.
        ChannelCells expected;
        fillChannel(expected, 1, QStringLiteral("400.12500"), Marks::forLanguage(language));
        QVERIFY(r.content.channels == expected);
        QCOMPARE(r.content.settings.value(QStringLiteral("bsSkinComboBox10")), QVariant(3));
    }

    void codePagesAndTheChoiceBetweenThem()
    {
        CodePage gbk(CodePage::Gbk), big5(CodePage::Big5);
        QVERIFY(gbk.isValid() && big5.isValid());
        QCOMPARE(gbk.encode(QStringLiteral("禁用")), QByteArray("\xBD\xFB\xD3\xC3"));
        QCOMPARE(big5.decode(QByteArray("\xB1\xD2\xA5\xCE")), QStringLiteral("啟用"));
        QCOMPARE(gbk.encode(QStringLiteral("啟用 寬帶")).has_value(), true);   // GBK holds every mark
        QVERIFY(!gbk.encode(QStringLiteral("\U0001F600")));     // not in GBK
        QVERIFY(!gbk.decode(QByteArray("\xBD")));               // cut in the middle of a character
        QCOMPARE(gbk.encode(QString()), QByteArray());

        // Big5 bytes that read as GBK too, as other characters: the mark words decide.
        const QString traditional = QStringLiteral("禁用 | 啟用 | 寬帶 | 擾頻");
        const QByteArray bytes = *big5.encode(traditional + QStringLiteral("\r\n"));
        QVERIFY(gbk.decode(bytes));
        QCOMPARE(CodeplugFile::decodeLines(bytes), QStringList{traditional});
        // Simplified marks in GBK stay GBK.
        const QString simplified = QStringLiteral("禁用 | 启用 | 宽带 | 扰频");
        QCOMPARE(CodeplugFile::decodeLines(*gbk.encode(simplified)), QStringList{simplified});
    }

    // Whatever the texts, a file this program writes reads back to the same texts: GBK bytes
    // that are valid UTF-8 too ("小" is D0 A1, which UTF-8 reads as "С") stay GBK, and a text
    // GBK cannot hold makes a UTF-8 file that says so with a byte order mark.
    void everyFileWrittenReopensToTheSameTexts_data()
    {
        QTest::addColumn<int>("language");   // of the marks
        QTest::addColumn<QString>("alias");
        QTest::addColumn<bool>("utf8");
        const QList<std::pair<const char *, QString>> aliases{
            {"Latin", QStringLiteral("CH-1")},
            {"Simplified", QStringLiteral("小")},
            {"Simplified pair", QStringLiteral("频道一")},
            {"Traditional", QStringLiteral("頻道")},
            {"Cyrillic", QStringLiteral("Связь")},
            {"not in GBK", QStringLiteral("小\U0001F600")},
        };
        for (int language = 1; language <= 3; ++language)
            for (const auto &[name, alias] : aliases)
                QTest::addRow("marks %d, %s", language, name)
                    << language << alias << alias.contains(QStringLiteral("\U0001F600"));
    }
    void everyFileWrittenReopensToTheSameTexts()
    {
        QFETCH(int, language);
        QFETCH(QString, alias);
        QFETCH(bool, utf8);
        Codeplug c = exampleContent();
        const Marks marks = Marks::forLanguage(language);
        fillChannel(c.channels, 1, QStringLiteral("400.12500"), marks);
        fillChannel(c.channels, 7, QStringLiteral("145.50000"), marks);
        c.channels.setColumn(10, 1, alias);
        c.channels.setColumn(10, 7, alias + alias);
        const QByteArray bytes = CodeplugFile::write(c);
        QCOMPARE(bytes.startsWith("\xEF\xBB\xBF"), utf8);
        const CodeplugReadResult r = CodeplugFile::read(bytes, SettingsValues(), ChannelCells());
        QCOMPARE(r.status, CodeplugReadResult::Read);
        QCOMPARE(r.content.channels.column(10, 1), alias);
        QVERIFY(r.content.channels == c.channels);
    }

    void textGbkCannotHoldIsWrittenInUtf8()
    {
        Codeplug c = exampleContent();
        c.channels.setColumn(10, 1, QStringLiteral("A\U0001F600"));
        const QByteArray bytes = CodeplugFile::write(c);
        QVERIFY(bytes.startsWith("\xEF\xBB\xBF" "KVT560 MEMORY CHANNEL\r\n"));
        QVERIFY(bytes.contains(QStringLiteral("禁用").toUtf8()));
        const CodeplugReadResult r = CodeplugFile::read(bytes, SettingsValues(), ChannelCells());
        QVERIFY(r.content.channels == c.channels);
    }

    void saveReplacesTheOldFile()
    {
        const QString path = dir.filePath(QStringLiteral("replace.k56"));
        QVERIFY(CodeplugFile::save(path, "old\r\n"));
        QVERIFY(CodeplugFile::save(path, "new\r\n"));
        QCOMPARE(*CodeplugFile::load(path), QByteArray("new\r\n"));
    }

    void saveReplacesOnlyWhenWritten_data()
    {
        QTest::addColumn<bool>("readOnlyFolder");
        QTest::newRow("name too long for the temporary file") << false;
        QTest::newRow("folder not writable") << true;
    }
    void saveReplacesOnlyWhenWritten()
    {
        QFETCH(bool, readOnlyFolder);
        if (readOnlyFolder && ::geteuid() == 0)
            QSKIP("permissions do not stop the superuser");
        QTemporaryDir folder;
        const QString path = readOnlyFolder ? folder.filePath(QStringLiteral("a.k56"))
                                            : folder.filePath(QString(251, QLatin1Char('n')) + QStringLiteral(".k56"));
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("old\r\n");
        old.close();

        if (readOnlyFolder)
            QVERIFY(QFile::setPermissions(folder.path(), QFile::ReadOwner | QFile::ExeOwner));
        QString reason;
        const bool saved = CodeplugFile::save(path, CodeplugFile::write(exampleContent()), &reason);
        if (readOnlyFolder)
            QFile::setPermissions(folder.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY(!saved);
        QVERIFY(!reason.isEmpty());
        QCOMPARE(*CodeplugFile::load(path), QByteArray("old\r\n"));
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files).size(), 1);   // no temporary file left
    }

    void loadReportsWhyAFileCannotBeRead()
    {
        QString reason;
        QVERIFY(!CodeplugFile::load(dir.filePath(QStringLiteral("missing.k56")), &reason));
        QVERIFY(!reason.isEmpty());
    }
};

REGISTER_TEST(TestCodeplugFile)
#include "tst_codeplugfile.moc"
