#include "FilesFixture.h"
#include "SmallDisk.h"
#include "TestRegistry.h"

#include "files/CProgramDoc.h"
#include "model/ChannelCodec.h"
#include "model/GridContents.h"
#include "model/MemoryImage.h"
#include "model/OptionLists.h"
#include "model/SettingFields.h"

#include <QDir>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>

#include <unistd.h>

class TestProgramDoc : public QObject
{
    Q_OBJECT

private slots:
    void init() { LanguageIndex = LanguageEnglish; }

    // Each kind of change is one step: putting back the state before it gives the image, the
    // path and the values back byte for byte, and the state after it the change again.
    void stepsGiveTheDocumentBack_data()
    {
        QTest::addColumn<QString>("change");
        for (const char *c : {"rx frequency", "tone", "list value", "name", "model", "paste", "import",
                              "default factory", "option", "ptt id", "pcba", "new", "open", "read"})
            QTest::newRow(c) << QString::fromLatin1(c);
    }
    void stepsGiveTheDocumentBack()
    {
        QFETCH(QString, change);
        FilesDir fx;
        QVERIFY(fx.write("a.sin", storeRewritesFile()));
        QVERIFY(fx.write("b.sin", pattern(8192)));
        QVERIFY(fx.write("Default1.sin", pattern(100, 3, 1)));
        CProgramDoc doc;
        QVERIFY(doc.openDocument(fx.path("a.sin"), nullptr));
        QList<QPair<CProgramDoc::State, CProgramDoc::State>> steps;
        QStringList labels;
        connect(&doc, &CProgramDoc::stepRecorded, this,
                [&](const QString &label, const CProgramDoc::State &before, const CProgramDoc::State &after) {
                    labels << label;
                    steps.append({before, after});
                });
        const CProgramDoc::State before = doc.state();
        const GridContents valuesBefore = doc.contents();

        const auto edit = [&doc](int n, int column, const QString &text) {
            ChannelTexts t = doc.channel(n);
            t.setText(column, text);
            doc.setChannel(n, t);
        };
        const auto run = [&]() {
            if (change == QLatin1String("rx frequency"))
                edit(1, ChannelTexts::RxFreq, QStringLiteral("455.50000"));
            else if (change == QLatin1String("tone"))
                edit(1, ChannelTexts::RxTone, QStringLiteral("77.0"));
            else if (change == QLatin1String("list value"))
                edit(1, ChannelTexts::Power, QStringLiteral("Low"));
            else if (change == QLatin1String("name"))
                edit(1, ChannelTexts::Name, QStringLiteral("NEW"));
            else if (change == QLatin1String("model"))
                doc.setModelIndex(1);
            else if (change == QLatin1String("paste")) {
                doc.setChannel(5, doc.channel(1));
                doc.setChannel(6, doc.channel(2));
            } else if (change == QLatin1String("import")) {
                GridContents grid = doc.contents();
                grid.channels[9] = newChannelTexts(QStringLiteral("420.00000"));
                doc.editImage([&grid](ImageBytes &image) { gridContentsToImage(image, grid); });
            } else if (change == QLatin1String("default factory"))
                QCOMPARE(doc.loadDefaultFile(fx.path("Default1.sin"), nullptr), CProgramDoc::DefaultLoad::Loaded);
            else if (change == QLatin1String("option"))
                doc.editImage([](ImageBytes &image) { storePosition(image, optionDialogLists().at(0), 2); });
            else if (change == QLatin1String("ptt id"))
                doc.editImage([](ImageBytes &image) { storePttIdCode(image, QStringLiteral("123")); });
            else if (change == QLatin1String("pcba"))
                doc.editImage([](ImageBytes &image) { storePcbaText(image, QStringLiteral("AB12")); });
            else if (change == QLatin1String("new"))
                doc.newDocument();
            else if (change == QLatin1String("open"))
                QVERIFY(doc.openDocument(fx.path("b.sin"), nullptr));
            else if (change == QLatin1String("read"))
                doc.applyRead(pattern(8192, 9, 4));
        };
        QVERIFY(doc.change(change, run));
        QCOMPARE(labels, QStringList{change});
        const CProgramDoc::State after = doc.state();
        QCOMPARE(steps.at(0).first.image, before.image);
        QCOMPARE(steps.at(0).second.image, after.image);
        QVERIFY(after.image != before.image);
        const bool replacesDocument = change == QLatin1String("new") || change == QLatin1String("open")
                                      || change == QLatin1String("read");
        QCOMPARE(doc.isModified(), !replacesDocument);
        // The values always show the image: what a view opened on it now would show.
        const GridContents shown = imageToGridContents(doc.RadioImage());
        QCOMPARE(doc.modelIndex(), shown.modelIndex);

        doc.restoreState(steps.at(0).first);
        QCOMPARE(doc.imageBytes(), before.image);
        QCOMPARE(doc.pathName(), before.pathName);
        QCOMPARE(doc.contents().channels, valuesBefore.channels);
        QCOMPARE(doc.modelIndex(), valuesBefore.modelIndex);
        QVERIFY(!doc.isModified());

        doc.restoreState(steps.at(0).second);
        QCOMPARE(doc.imageBytes(), after.image);
        QCOMPARE(doc.pathName(), after.pathName);
        QCOMPARE(doc.contents().channels, imageToGridContents(doc.RadioImage()).channels);
        QCOMPARE(doc.isModified(), !replacesDocument);
        QCOMPARE(steps.size(), 1);  // putting a state back is no step
    }

    // A change that leaves every byte as it was is no step; steps inside a step are one.
    void unchangedIsNoStep()
    {
        CProgramDoc doc;
        int steps = 0;
        connect(&doc, &CProgramDoc::stepRecorded, this, [&steps] { ++steps; });
        QVERIFY(!doc.change(QStringLiteral("nothing"), [&doc] { doc.setChannel(1, doc.channel(1)); }));
        QVERIFY(!doc.change(QStringLiteral("empty row"), [&doc] { doc.setChannel(100, newChannelTexts(QStringLiteral("410.00000"))); }));
        QVERIFY(doc.change(QStringLiteral("outer"), [&doc] {
            doc.change(QStringLiteral("inner"), [&doc] { doc.setChannel(1, newChannelTexts(QStringLiteral("410.00000"))); });
            doc.setChannel(2, newChannelTexts(QStringLiteral("411.00000")));
        }));
        QCOMPARE(steps, 1);
    }

    // What the document holds and whether it counts as modified after each of its
    // operations, and what it signals.
    void stateAfterOperations_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<bool>("modified");
        QTest::addColumn<QString>("path");  // the document's file name; empty for none
        QTest::newRow("new") << "new" << false << "";
        QTest::newRow("open") << "open" << false << "a.sin";
        QTest::newRow("edit") << "edit" << true << "a.sin";
        QTest::newRow("save") << "save" << false << "saved.sin";
        QTest::newRow("read") << "read" << false << "a.sin";
        QTest::newRow("write") << "write" << false << "a.sin";
        QTest::newRow("store values") << "store values" << false << "a.sin";
        QTest::newRow("edit, store values") << "edit, store values" << true << "a.sin";
    }
    void stateAfterOperations()
    {
        QFETCH(QString, operation);
        QFETCH(bool, modified);
        QFETCH(QString, path);
        FilesDir fx;
        const QByteArray file = storeRewritesFile();
        QVERIFY(fx.write("a.sin", file));
        CProgramDoc doc;
        QVERIFY(!doc.isModified());
        QCOMPARE(doc.imageBytes(), [] { ImageBytes i; NewImage(i); return toByteArray(i); }());
        if (operation != QLatin1String("new"))
            QVERIFY(doc.openDocument(fx.path("a.sin"), nullptr));
        QSignalSpy reset(&doc, &CProgramDoc::documentReset);
        QSignalSpy rows(&doc, &CProgramDoc::channelsChanged);
        QSignalSpy modifiedChanged(&doc, &CProgramDoc::modifiedChanged);
        const QByteArray read = pattern(8192, 9, 4);
        QByteArray expected = doc.imageBytes();
        const ChannelTexts edited = newChannelTexts(QStringLiteral("430.00000"));
        const auto edit = [&] {
            doc.setChannel(7, edited);
            QCOMPARE(rows.count(), 1);
            QCOMPARE(rows.at(0), (QVariantList{7, 7}));
            ImageBytes image = imageFromBytes(expected);
            GridContents grid = imageToGridContents(image);
            grid.channels[6] = edited;
            gridContentsToImage(image, grid);
            expected = toByteArray(image);
        };
        if (operation == QLatin1String("new")) {
            doc.newDocument();
            QCOMPARE(reset.count(), 1);
        } else if (operation.startsWith(QLatin1String("edit"))) {
            edit();
        } else if (operation == QLatin1String("save")) {
            QVERIFY(doc.saveDocument(fx.path("saved.sin"), nullptr));
            QCOMPARE(fx.read("saved.sin"), file);  // as it is: the file commands store first
        } else if (operation == QLatin1String("read")) {
            doc.applyRead(read);
            expected = read;
            QCOMPARE(reset.count(), 1);
        } else if (operation == QLatin1String("write")) {
            edit();
            QCOMPARE(doc.imageForWrite(), expected);
            doc.markWritten();
        }
        if (operation.endsWith(QLatin1String("store values"))) {
            doc.storeValues();
            expected = toByteArray(CProgramDoc::storedImage(imageFromBytes(expected)));
        }
        QCOMPARE(doc.imageBytes(), expected);
        QCOMPARE(doc.contents().channels, imageToGridContents(imageFromBytes(expected)).channels);
        QCOMPARE(doc.isModified(), modified);
        QCOMPARE(QFileInfo(doc.pathName()).fileName(), path);
        if (modifiedChanged.count() > 0)
            QCOMPARE(modifiedChanged.constLast().at(0).toBool(), modified);
    }

    // A new document saved: 8192 bytes, every channel record 0xFF, the fixed fields of a
    // store in place, model and band 0 as the grid stores them.
    void newDocumentSaved()
    {
        FilesDir fx;
        CProgramDoc doc;
        doc.editImage([](ImageBytes &image) { copyIntoImage(image, pattern(8192)); });
        doc.newDocument();
        QCOMPARE(doc.pathName(), QString());
        QCOMPARE(doc.title(), QStringLiteral("Untitled"));
        // What GridToImage does for an empty grid with the first model and band selected.
        doc.storeValues();
        QString error;
        QVERIFY2(doc.saveDocument(fx.path("new.sin"), &error), qPrintable(error));
        QCOMPARE(doc.title(), QStringLiteral("new.sin"));
        const QByteArray file = fx.read("new.sin");
        QCOMPARE(file.size(), 8192);
        QCOMPARE(file.left(99 * 16), QByteArray(99 * 16, '\xFF'));
        QCOMPARE(file.mid(0x0630, 8), QByteArray("\x00\x00\x50\x43\x00\x00\x50\x43", 8));
        QCOMPARE(quint8(file[0x063C]), quint8(0x3C));
        QCOMPARE(file.mid(0x1D10, 4), QByteArray(4, '\0'));
        QCOMPARE(quint8(file[0x1811]), quint8(0x78));
        QCOMPARE(quint8(file[0x1817]), quint8(0x00));
        QCOMPARE(file.mid(0x1840, 6), QByteArray("KVT270"));
        QCOMPARE(file.mid(0x1FE0, 2), QByteArray(2, '\0'));
        QCOMPARE(file, doc.imageBytes());
    }

    // Open reads the first 8192 bytes in order; longer files open, the rest is ignored.
    void openReadsTheFirst8192Bytes_data()
    {
        QTest::addColumn<int>("size");
        QTest::newRow("exact") << 8192;
        QTest::newRow("longer") << 8192 + 500;
    }
    void openReadsTheFirst8192Bytes()
    {
        QFETCH(int, size);
        FilesDir fx;
        const QByteArray data = pattern(size, 13, 5);
        QVERIFY(fx.write("radio.sin", data));
        CProgramDoc doc;
        QSignalSpy pathChanged(&doc, &CProgramDoc::pathNameChanged);
        QString error;
        QVERIFY2(doc.openDocument(fx.path("radio.sin"), &error), qPrintable(error));
        QCOMPARE(doc.imageBytes(), data.left(8192));
        QCOMPARE(doc.pathName(), fx.path("radio.sin"));
        QCOMPARE(doc.title(), QStringLiteral("radio.sin"));
        QCOMPARE(pathChanged.count(), 1);
    }

    // A file that is not a whole image, or not there, is refused and changes nothing: the
    // image keeps every byte and the document its path.
    void refusedFileChangesNothing_data()
    {
        QTest::addColumn<int>("size");  // -1: no file
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("message");
        QTest::newRow("empty") << 0 << 0 << "holds 0 bytes, a channel data file holds 8192";
        QTest::newRow("100 bytes") << 100 << 0 << "holds 100 bytes";
        QTest::newRow("one short") << 8191 << 0 << "holds 8191 bytes";
        QTest::newRow("Chinese") << 100 << 1 << "不是信道数据文件";
        QTest::newRow("missing") << -1 << 0 << "Could not open";
        QTest::newRow("a folder") << -2 << 0 << "";
    }
    void refusedFileChangesNothing()
    {
        QFETCH(int, size);
        QFETCH(int, language);
        QFETCH(QString, message);
        FilesDir fx;
        LanguageIndex = std::uint8_t(language);
        QVERIFY(fx.write("good.sin", pattern(8192, 3, 1)));
        if (size >= 0)
            QVERIFY(fx.write("bad.sin", QByteArray(size, '\x11')));
        if (size == -2)
            QVERIFY(QDir(fx.dir.path()).mkdir("bad.sin"));
        CProgramDoc doc;
        QVERIFY(doc.openDocument(fx.path("good.sin"), nullptr));
        doc.editImage([](ImageBytes &image) { copyIntoImage(image, pattern(8192, 5, 9)); });
        const QByteArray before = doc.imageBytes();

        QString error;
        QVERIFY(!doc.openDocument(fx.path("bad.sin"), &error));
        QVERIFY2(error.contains(message) && error.contains(QStringLiteral("bad.sin")), qPrintable(error));
        QCOMPARE(doc.imageBytes(), before);
        QCOMPARE(doc.pathName(), fx.path("good.sin"));
    }

    // A failed save reports why, keeps the document's path and leaves the files as they were.
    void failedSaveKeepsTheOldFile()
    {
        FilesDir fx;
        const QByteArray old = pattern(8192, 11, 2);
        QVERIFY(fx.write("old.sin", old));
        QVERIFY(fx.write("plain-file", "x"));
        CProgramDoc doc;
        QVERIFY(doc.openDocument(fx.path("old.sin"), nullptr));
        doc.editImage([](ImageBytes &image) { copyIntoImage(image, pattern(8192, 17, 4)); });
        QString error;
        // A folder that cannot exist: its parent is a plain file.
        const QString target = fx.path("plain-file/radio.sin");
        QVERIFY(!doc.saveDocument(target, &error));
        QVERIFY2(error.startsWith(QStringLiteral("Could not save ")) && error.contains(QStringLiteral("radio.sin")),
                 qPrintable(error));
        QCOMPARE(doc.pathName(), fx.path("old.sin"));
        QCOMPARE(fx.read("old.sin"), old);
        QCOMPARE(fx.read("plain-file"), QByteArray("x"));
    }

    // On a full disk the save says so (the bytes did not all reach the disk) and the old
    // file stays whole: neither cut short nor replaced.
    void saveOntoAFullDiskKeepsTheOldFile_data()
    {
        QTest::addColumn<qint64>("free");
        QTest::newRow("no byte free") << qint64(0);
        QTest::newRow("half the image fits") << qint64(4096);
    }
    void saveOntoAFullDiskKeepsTheOldFile()
    {
        QFETCH(qint64, free);
        SmallDisk disk;
        if (!disk.isMounted())
            QSKIP(qPrintable(disk.whyNot()));
        const QByteArray old = pattern(8192, 11, 2);
        QVERIFY(disk.put(QStringLiteral("radio.sin"), old));
        QVERIFY(disk.fill(free));
        CProgramDoc doc;
        QVERIFY(doc.openDocument(disk.filePath(QStringLiteral("radio.sin")), nullptr));
        doc.editImage([](ImageBytes &image) { copyIntoImage(image, pattern(8192, 17, 4)); });
        QString error;
        QVERIFY(!doc.saveDocument(disk.filePath(QStringLiteral("radio.sin")), &error));
        QVERIFY2(error.contains(QStringLiteral("radio.sin")) && error.contains(QString::fromLocal8Bit(std::strerror(ENOSPC))),
                 qPrintable(error));
        QFile kept(disk.filePath(QStringLiteral("radio.sin")));
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), old);
        QCOMPARE(disk.files(), QStringList{QStringLiteral("radio.sin")});
    }

    // Saving over a file that may not be written fails without touching it. Permissions do
    // not hold for the superuser, so the case needs an ordinary account.
    void readOnlyFileIsNotReplaced()
    {
        if (::geteuid() == 0)
            QSKIP("file permissions do not bind the superuser");
        FilesDir fx;
        const QByteArray old = pattern(8192, 11, 2);
        QVERIFY(fx.write("locked.sin", old));
        QVERIFY(QFile::setPermissions(fx.path("locked.sin"), QFile::ReadOwner));
        QString error;
        QVERIFY(!CProgramDoc::writeImageFile(fx.path("locked.sin"), imageFromBytes(pattern(8192, 17, 4)), &error));
        QVERIFY(!error.isEmpty());
        QCOMPARE(fx.read("locked.sin"), old);
    }

    // Open then save without changes gives the same bytes.
    void openThenSaveReproducesTheFile()
    {
        FilesDir fx;
        const QByteArray data = pattern(8192, 29, 7);
        QVERIFY(fx.write("in.sin", data));
        CProgramDoc doc;
        QVERIFY(doc.openDocument(fx.path("in.sin"), nullptr));
        QVERIFY(doc.saveDocument(fx.path("out.sin"), nullptr));
        QCOMPARE(fx.read("out.sin"), data);
        QCOMPARE(doc.pathName(), fx.path("out.sin"));
    }

    void defaultFileByModel_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<QString>("file");
        QTest::newRow("U01") << "KVT270U01" << "Default1.sin";
        QTest::newRow("V01") << "KVT270V01" << "Default2.sin";
        QTest::newRow("U04") << "KVT270U04" << "Default3.sin";
        QTest::newRow("U09") << "KVT270U09" << "Default1.sin";
        QTest::newRow("U10") << "KVT270U10" << "Default4.sin";
        QTest::newRow("none selected") << "" << "Default1.sin";
        QTest::newRow("small letters") << "kvt270v01" << "Default1.sin";
    }
    void defaultFileByModel()
    {
        QFETCH(QString, model);
        QFETCH(QString, file);
        FilesDir fx;
        QCOMPARE(CProgramDoc::defaultFilePath(fx.dir.path() + QLatin1Char('/'), model), fx.path(file));
    }

    // A default file replaces as many image bytes as it holds, at most 8192.
    void defaultFileReplacesItsBytes_data()
    {
        QTest::addColumn<int>("size");
        QTest::newRow("100 bytes") << 100;
        QTest::newRow("empty") << 0;
        QTest::newRow("whole image") << 8192;
        QTest::newRow("longer") << 9000;
    }
    void defaultFileReplacesItsBytes()
    {
        QFETCH(int, size);
        FilesDir fx;
        const QByteArray data = pattern(size, 3, 200);
        QVERIFY(fx.write("Default1.sin", data));
        CProgramDoc doc;
        doc.editImage([](ImageBytes &image) { copyIntoImage(image, pattern(8192, 5, 1)); });
        QByteArray expected = doc.imageBytes();
        expected.replace(0, std::min(size, 8192), data.left(8192));
        QString error;
        QCOMPARE(doc.loadDefaultFile(fx.path("Default1.sin"), &error), CProgramDoc::DefaultLoad::Loaded);
        QCOMPARE(doc.imageBytes(), expected);
        // The grid's values come from the new bytes.
        QCOMPARE(doc.contents().channels, imageToGridContents(imageFromBytes(expected)).channels);
    }

    void missingDefaultFile_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("message");
        QTest::newRow("English") << 0 << "Cound not found default file";
        QTest::newRow("Simplified") << 1 << "没找到默认文件";
        QTest::newRow("Traditional") << 2 << "沒找到默認文件";
    }
    void missingDefaultFile()
    {
        QFETCH(int, language);
        QFETCH(QString, message);
        FilesDir fx;
        LanguageIndex = std::uint8_t(language);
        CProgramDoc doc;
        doc.editImage([](ImageBytes &image) { copyIntoImage(image, pattern(8192)); });
        QString error;
        QCOMPARE(doc.loadDefaultFile(fx.path("Default2.sin"), &error), CProgramDoc::DefaultLoad::Missing);
        QCOMPARE(error, message);
        QCOMPARE(doc.imageBytes(), pattern(8192));
    }

    // The shipped factory default files are what the generator makes: regenerate them and
    // compare byte for byte, then check what each one holds.
    void shippedDefaultFilesMatchTheGenerator()
    {
        QTemporaryDir out;
        QProcess p;
        p.start(QStringLiteral(MAKEDEFAULTS_PATH), {out.path()});
        QVERIFY(p.waitForFinished(30000));
        QCOMPARE(p.exitCode(), 0);
        const int models[] = {0, 1, 2, 4};
        // Band limits of each file's model, MHz.
        const int bands[][2] = {{400, 470}, {136, 174}, {330, 400}, {450, 520}};
        for (int k = 1; k <= 4; ++k) {
            const QString name = QStringLiteral("Default%1.sin").arg(k);
            QFile shippedFile(QStringLiteral(SOURCE_DIR "/resources/") + name);
            QVERIFY(shippedFile.open(QIODevice::ReadOnly));
            const QByteArray shipped = shippedFile.readAll();
            QFile made(QDir(out.path()).filePath(name));
            QVERIFY(made.open(QIODevice::ReadOnly));
            QVERIFY2(shipped == made.readAll(), qPrintable(name + QStringLiteral(" differs from the generator's")));
            QFile laidOut(QStringLiteral(APP_DIR "/") + name);
            QVERIFY(laidOut.open(QIODevice::ReadOnly));
            QVERIFY2(laidOut.readAll() == shipped, qPrintable(name + QStringLiteral(" is not laid out in the build")));

            QCOMPARE(shipped.size(), 8192);
            const ImageBytes image = imageFromBytes(shipped);
            QCOMPARE(int(image[0x1FE0]), models[k - 1]);
            QCOMPARE(int(image[0x1FE1]), 0);
            QCOMPARE(shipped.mid(0x1840, 6), QByteArray("KVT270"));
            QCOMPARE(shipped.mid(0x0630, 8), QByteArray("\x00\x00\x50\x43\x00\x00\x50\x43", 8));
            QCOMPARE(shipped.mid(0x1D10, 4), QByteArray(4, '\0'));
            for (int n = 1; n <= 16; ++n) {
                const ChannelTexts ch = LoadChannel(image, n);
                const std::uint32_t rx = frequencyUnits(ch.rxFreq);
                QVERIFY2(rx >= std::uint32_t(bands[k - 1][0]) * 100000 && rx <= std::uint32_t(bands[k - 1][1]) * 100000,
                         qPrintable(name + QLatin1Char(' ') + ch.rxFreq));
                QCOMPARE(ch.txFreq, ch.rxFreq);
                QCOMPARE(ch.name, QStringLiteral("CH%1").arg(n));
            }
            QVERIFY(LoadChannel(image, 17).rxFreq.isEmpty());
        }
    }
};

REGISTER_TEST(TestProgramDoc)
#include "tst_programdoc.moc"
