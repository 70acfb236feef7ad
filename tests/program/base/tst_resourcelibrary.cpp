#include "TestRegistry.h"

#include "base/ResourceLibrary.h"

#include <QKeySequence>
#include <QSet>
#include <QTest>

namespace {

QSet<int> commandIds(const QList<MenuEntry> &entries)
{
    QSet<int> ids;
    for (const MenuEntry &e : entries) {
        if (e.kind == MenuEntry::Item)
            ids.insert(e.id);
        ids.unite(commandIds(e.children));
    }
    return ids;
}

QSet<int> keysOf(const QMap<int, QString> &m)
{
    return QSet<int>(m.keyBegin(), m.keyEnd());
}

// A library whose menu 1 holds `depth` popups one inside the other around item 7.
QByteArray nestedMenus(int depth)
{
    QByteArray text = "library \"x\"\nmenu 1\n";
    for (int i = 0; i < depth; ++i)
        text += "popup \"p\"\n";
    text += "item 7 \"i\"\n";
    for (int i = 0; i < depth; ++i)
        text += "end\n";
    return text + "end\n";
}

ResourceLibrary shipped(const QString &name)
{
    ResourceLibrary lib;
    QString error;
    if (!lib.loadFile(QStringLiteral(SOURCE_DIR "/resources/") + name, &error))
        qWarning("%s", qPrintable(error));
    return lib;
}

} // namespace

class TestResourceLibrary : public QObject
{
    Q_OBJECT
private slots:
    void parsesEveryKindOfResource()
    {
        const QByteArray text = "# comment\n"
                                "library \"Test\"\n"
                                "strings\n"
                                "  7 \"two\\nlines \\\"quoted\\\" back\\\\slash\\ttab\"\n"
                                "end\n"
                                "menu 5\n"
                                "  popup \"&A\"\n"
                                "    item 10 \"One\"\n"
                                "    separator\n"
                                "    popup \"Sub\"\n"
                                "      item 11 \"Two\"\n"
                                "    end\n"
                                "  end\n"
                                "end\n"
                                "accelerators 5\n"
                                "  10 \"Shift+F6\"\n"
                                "end\n"
                                "toolbar 5\n"
                                "  button 10\n"
                                "  separator\n"
                                "  button 11\n"
                                "end\n"
                                "dialog 9 \"Cap\"\n"
                                "  label 1081 \"SQL\"\n"
                                "  control 1 \"OK\"\n"
                                "  static 1 \"Line\"\n"
                                "end\n";
        ResourceLibrary lib;
        QString error;
        QVERIFY2(lib.parse(text, QStringLiteral("t"), &error), qPrintable(error));
        QCOMPARE(lib.name(), QStringLiteral("Test"));
        QCOMPARE(lib.string(7), QStringLiteral("two\nlines \"quoted\" back\\slash\ttab"));
        QCOMPARE(lib.promptText(7), QStringLiteral("two"));
        QCOMPARE(lib.tipText(7), QStringLiteral("lines \"quoted\" back\\slash\ttab"));
        const QList<MenuEntry> menu = lib.menu(5);
        QCOMPARE(menu.size(), 1);
        QCOMPARE(menu.at(0).text, QStringLiteral("&A"));
        QCOMPARE(menu.at(0).children.size(), 3);
        QCOMPARE(menu.at(0).children.at(1).kind, MenuEntry::Separator);
        QCOMPARE(menu.at(0).children.at(2).children.at(0).id, 11);
        QCOMPARE(lib.accelerators(5).at(0).keys, QStringLiteral("Shift+F6"));
        QCOMPARE(lib.toolbar(5), (QList<int>{10, 0, 11}));
        QCOMPARE(lib.dialogCaption(9), QStringLiteral("Cap"));
        QCOMPARE(lib.labelText(9, 1081), QStringLiteral("SQL"));
        QCOMPARE(lib.controlText(9, 1), QStringLiteral("OK"));
        QCOMPARE(lib.staticText(9, 1), QStringLiteral("Line"));
    }

    void rejectsDamagedFiles_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("where");
        QTest::newRow("empty") << QByteArray("") << "t:1:";
        QTest::newRow("no library line") << QByteArray("strings\nend\n") << "t:1:";
        QTest::newRow("open quote") << QByteArray("library \"x\"\nstrings\n 1 \"abc\nend\n") << "t:3:";
        QTest::newRow("bad escape") << QByteArray("library \"x\"\nstrings\n 1 \"a\\qb\"\nend\n") << "t:3:";
        QTest::newRow("missing end") << QByteArray("library \"x\"\nstrings\n 1 \"a\"\n") << "t:3:";
        QTest::newRow("duplicate string") << QByteArray("library \"x\"\nstrings\n 1 \"a\"\n 1 \"b\"\nend\n") << "t:4:";
        QTest::newRow("id not a number") << QByteArray("library \"x\"\nmenu x\nend\n") << "t:2:";
        QTest::newRow("unknown entry") << QByteArray("library \"x\"\nmenu 1\n  knob 3 \"a\"\nend\n") << "t:3:";
        QTest::newRow("unknown block") << QByteArray("library \"x\"\nbitmap 1\nend\n") << "t:2:";
        QTest::newRow("not utf-8") << QByteArray("library \"\xff\xfe\"\n") << "not valid UTF-8";
        QTest::newRow("popups 17 deep") << nestedMenus(17) << "t:19: popup menus nested deeper than 16 levels";
        // Read recursively, a file nested this deep would overflow the stack.
        QTest::newRow("popups 50000 deep") << nestedMenus(50000) << "t:19: popup menus nested deeper";
    }
    void rejectsDamagedFiles()
    {
        QFETCH(QByteArray, text);
        QFETCH(QString, where);
        ResourceLibrary lib;
        QString error;
        QVERIFY(!lib.parse(text, QStringLiteral("t"), &error));
        QVERIFY2(error.contains(where), qPrintable(error));
        QVERIFY(lib.isEmpty());
    }

    void popupsSixteenDeepAreRead()
    {
        ResourceLibrary lib;
        QString error;
        QVERIFY2(lib.parse(nestedMenus(16), QStringLiteral("t"), &error), qPrintable(error));
        QList<MenuEntry> level = lib.menu(1);
        for (int depth = 1; depth <= 16; ++depth) {
            QCOMPARE(level.size(), 1);
            QCOMPARE(level.first().kind, MenuEntry::Popup);
            level = level.first().children;
        }
        QCOMPARE(level.size(), 1);
        QCOMPARE(level.first().id, 7);
    }

    void missingResourcesComeFromTheFallback()
    {
        ResourceLibrary lib;
        QVERIFY(lib.parse("library \"Partial\"\nstrings\n 57344 \"Own title\"\nend\n"
                          "dialog 162 \"Own caption\"\n label 1094 \"Own label\"\nend\n",
                          QStringLiteral("p")));
        lib.setFallback(&builtInResources());
        QCOMPARE(lib.string(ResId::AppTitle), QStringLiteral("Own title"));
        QCOMPARE(lib.promptText(ResId::Read), QStringLiteral("Read Data From Radio"));
        QCOMPARE(lib.menu(ResId::MainMenu).size(), builtInResources().menu(ResId::MainMenu).size());
        QCOMPARE(lib.dialogCaption(ResId::LanguageDialog), QStringLiteral("Own caption"));
        QCOMPARE(lib.labelText(ResId::LanguageDialog, 1094), QStringLiteral("Own label"));
        QCOMPARE(lib.controlText(ResId::LanguageDialog, ResId::IdOk), QStringLiteral("OK"));
    }

    void builtInIsTheEnglishLibrary()
    {
        const ResourceLibrary &lib = builtInResources();
        QCOMPARE(lib.name(), QStringLiteral("English"));
        QCOMPARE(lib.string(ResId::AppTitle), QStringLiteral("KVT PC Encoder"));
        QCOMPARE(lib.string(ResId::Read), QStringLiteral("Read Data From Radio\nRead"));
        QCOMPARE(lib.string(ResId::Com1), QStringLiteral("Choose Communication Port 1\nCom1"));
        QCOMPARE(lib.string(ResId::DocumentString),
                 QStringLiteral("KVT PC Encoder\n\nWrite Data\nChannel Data (*.sin)\n.sin\nProgram.Document\nProgram Document"));
        QCOMPARE(lib.staticText(ResId::AboutDialog, 1), QStringLiteral("Vesion 1.0.1"));
        QCOMPARE(lib.controlText(ResId::ReadWriteDialog, 1005), QStringLiteral("0%"));
    }

    // Every shipped library carries every resource of the English one under the same ids,
    // with real texts of its own language.
    void shippedLibrariesAreComplete_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("fileMenu");
        QTest::addColumn<QString>("okText");
        QTest::newRow("Eng") << "Eng.dll" << "&File" << "OK";
        QTest::newRow("Chs") << "Chs.dll" << "文件(&F)" << "确定";
        QTest::newRow("Cht") << "Cht.dll" << "文件(&F)" << "確定";
    }
    void shippedLibrariesAreComplete()
    {
        QFETCH(QString, file);
        QFETCH(QString, fileMenu);
        QFETCH(QString, okText);
        const ResourceLibrary &eng = builtInResources();
        const ResourceLibrary lib = shipped(file);
        QVERIFY(!lib.isEmpty());

        QCOMPARE(lib.menu(ResId::MainMenu).at(0).text, fileMenu);
        QCOMPARE(commandIds(lib.menu(ResId::MainMenu)), commandIds(eng.menu(ResId::MainMenu)));
        QCOMPARE(lib.toolbar(ResId::MainMenu), eng.toolbar(ResId::MainMenu));
        QCOMPARE(lib.stringIds(), eng.stringIds());
        for (int id : lib.stringIds())
            QVERIFY2(!lib.string(id).isEmpty() || id == ResId::DocumentString, qPrintable(QString::number(id)));

        QMap<int, QKeySequence> keys;
        for (const AcceleratorEntry &a : lib.accelerators(ResId::MainMenu)) {
            const QKeySequence k = QKeySequence::fromString(a.keys, QKeySequence::PortableText);
            QVERIFY2(!k.isEmpty() && k.toString(QKeySequence::PortableText) == a.keys, qPrintable(a.keys));
            keys.insert(a.command, k);
        }
        QCOMPARE(keys.value(ResId::NextPane), QKeySequence(Qt::Key_F6));
        QCOMPARE(keys.value(ResId::PrevPane), QKeySequence(Qt::SHIFT | Qt::Key_F6));
        QCOMPARE(keys.value(ResId::Read), QKeySequence(Qt::CTRL | Qt::Key_R));
        QCOMPARE(keys.value(ResId::EditUndo), QKeySequence(Qt::CTRL | Qt::Key_Z));
        QCOMPARE(keys.value(ResId::EditRedo), QKeySequence(Qt::CTRL | Qt::Key_Y));
        QCOMPARE(keys.size(), 10);

        const QList<int> dialogs{100, 101, 133, 156, 162, 164, 166};
        QCOMPARE(lib.dialogIds(), dialogs);
        for (int id : dialogs) {
            const DialogResource d = lib.dialog(id);
            const DialogResource e = eng.dialog(id);
            QCOMPARE(keysOf(d.controls), keysOf(e.controls));
            QCOMPARE(keysOf(d.labels), keysOf(e.labels));
            QCOMPARE(keysOf(d.statics), keysOf(e.statics));
        }
        QCOMPARE(lib.controlText(ResId::LanguageDialog, ResId::IdOk), okText);
        QCOMPARE(lib.string(ResId::AppTitle), QStringLiteral("KVT PC Encoder"));
    }
};

REGISTER_TEST(TestResourceLibrary)
#include "tst_resourcelibrary.moc"
