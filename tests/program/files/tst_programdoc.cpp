#include "FilesFixture.h"
#include "SmallDisk.h"
#include "TestRegistry.h"

#include "files/CProgramDoc.h"
#include "model/ChannelCodec.h"
#include "model/MemoryImage.h"

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

    // A new document saved: 8192 bytes, every channel record 0xFF, the fixed fields of a
    // store in place, model and band 0 as the grid stores them.
    void newDocumentSaved()
    {
        FilesDir fx;
        setImage(pattern(8192));
        CProgramDoc doc;
        doc.newDocument();
        QCOMPARE(doc.pathName(), QString());
        QCOMPARE(doc.title(), QStringLiteral("Untitled"));
        // What GridToImage does for an empty grid with the first model and band selected.
        WriteFixedFields(RadioImage);
        RadioImage[ImageMap::ModelIndex] = 0;
        RadioImage[ImageMap::BandIndex] = 0;
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
        QCOMPARE(file, imageBytes());
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
        NewImage(RadioImage);
        CProgramDoc doc;
        QSignalSpy pathChanged(&doc, &CProgramDoc::pathNameChanged);
        QString error;
        QVERIFY2(doc.openDocument(fx.path("radio.sin"), &error), qPrintable(error));
        QCOMPARE(imageBytes(), data.left(8192));
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
        setImage(pattern(8192, 5, 9));
        const QByteArray before = imageBytes();

        QString error;
        QVERIFY(!doc.openDocument(fx.path("bad.sin"), &error));
        QVERIFY2(error.contains(message) && error.contains(QStringLiteral("bad.sin")), qPrintable(error));
        QCOMPARE(imageBytes(), before);
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
        setImage(pattern(8192, 17, 4));
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
        setImage(pattern(8192, 17, 4));
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
        setImage(pattern(8192, 17, 4));
        QString error;
        QVERIFY(!CProgramDoc::writeImageFile(fx.path("locked.sin"), RadioImage, &error));
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
        QCOMPARE(CProgramDoc::defaultFilePath(model), fx.path(file));
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
        setImage(pattern(8192, 5, 1));
        QByteArray expected = imageBytes();
        expected.replace(0, std::min(size, 8192), data.left(8192));
        QString error;
        QCOMPARE(CProgramDoc::loadDefaultFile(fx.path("Default1.sin"), &error), CProgramDoc::DefaultLoad::Loaded);
        QCOMPARE(imageBytes(), expected);
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
        setImage(pattern(8192));
        QString error;
        QCOMPARE(CProgramDoc::loadDefaultFile(fx.path("Default2.sin"), &error), CProgramDoc::DefaultLoad::Missing);
        QCOMPARE(error, message);
        QCOMPARE(imageBytes(), pattern(8192));
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
            setImage(shipped);
            QCOMPARE(int(RadioImage[0x1FE0]), models[k - 1]);
            QCOMPARE(int(RadioImage[0x1FE1]), 0);
            QCOMPARE(shipped.mid(0x1840, 6), QByteArray("KVT270"));
            QCOMPARE(shipped.mid(0x0630, 8), QByteArray("\x00\x00\x50\x43\x00\x00\x50\x43", 8));
            QCOMPARE(shipped.mid(0x1D10, 4), QByteArray(4, '\0'));
            for (int n = 1; n <= 16; ++n) {
                const ChannelTexts ch = LoadChannel(RadioImage, n);
                const std::uint32_t rx = frequencyUnits(ch.rxFreq);
                QVERIFY2(rx >= std::uint32_t(bands[k - 1][0]) * 100000 && rx <= std::uint32_t(bands[k - 1][1]) * 100000,
                         qPrintable(name + QLatin1Char(' ') + ch.rxFreq));
                QCOMPARE(ch.txFreq, ch.rxFreq);
                QCOMPARE(ch.name, QStringLiteral("CH%1").arg(n));
            }
            QVERIFY(LoadChannel(RadioImage, 17).rxFreq.isEmpty());
        }
    }
};

REGISTER_TEST(TestProgramDoc)
#include "tst_programdoc.moc"
