#include "ProgramFixture.h"
#include "TestRegistry.h"

#include "files/CProgramDoc.h"
#include "files/ui/DocumentCommands.h"
#include "base/ResourceLibrary.h"
#include "frame/ui/CMainFrame.h"
#include "frame/ui/ProgramApp.h"
#include "model/ChannelCodec.h"
#include "model/MemoryImage.h"
#include "model/ui/CProgramView.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {

// A channel data file with channels the grid shows and stores back unchanged, and a pattern
// in every byte the program does not interpret.
QByteArray richImage()
{
    ImageBytes image;
    NewImage(image);
    const char *const freqs[] = {"410.12500", "433.00625", "469.99000"};
    const char *const tones[] = {"67.0", "D023N", "D754I"};
    for (int n = 1; n <= 3; ++n) {
        ChannelTexts t = newChannelTexts(QString::fromLatin1(freqs[n - 1]));
        t.rxTone = t.txTone = QString::fromLatin1(tones[n - 1]);
        t.name = QStringLiteral("CH%1").arg(n);
        StoreChannel(image, n, t);
        std::uint8_t *rec = image.data() + (n - 1) * 16;
        rec[13] = 0x13, rec[14] = 0x14, rec[15] = quint8(n);  // not interpreted
        rec[12] = (rec[12] & ~0xC8) | 0x48;                  // kept flag bits 3, 6, 7
        image[0x0C90 + (n - 1) * 8 + 6] = 0x66;          // name slot bytes 6-7
    }
    auto fill = [&image](int from, int to) {
        for (int a = from; a <= to; ++a)
            image[a] = std::uint8_t(a * 31 + 7);
    };
    fill(0x0640, 0x0C8F);
    fill(0x0FA8, 0x180F);
    fill(0x184E, 0x1D0F);
    fill(0x1D14, 0x1D2F);
    fill(0x1D41, 0x1FCF);
    fill(0x1FF0, 0x1FFF);
    // The bytes a store rewrites, holding other values than it writes.
    image[0x0630] = 0x12, image[0x0637] = 0x34, image[0x063C] = 0xFC;
    image[0x1D10] = 0x55, image[0x1D13] = 0x56;
    image[0x1811] = 0xFF;
    image[0x1817] = 0x77;
    image[0x1FE0] = 3;  // KVT270U09
    image[0x1FE1] = 0;
    return toByteArray(image);
}

} // namespace

class TestFileView : public QObject
{
    Q_OBJECT

private slots:
    void init() { LanguageIndex = LanguageEnglish; }
    void cleanup()
    {
        LanguageIndex = LanguageEnglish;
        installResources(builtInResources());
    }

    // A new document saved through the view: all channels empty, the fixed fields of a store,
    // the first model and band.
    void newDocumentSavedThroughTheView()
    {
        Program p;
        QVERIFY(p.ok);
        p.fileToOpen = p.dir.filePath(QStringLiteral("new"));
        p.trigger(ResId::FileSave);
        QVERIFY2(p.messages.isEmpty(), qPrintable(p.messages.join('\n')));
        const QByteArray file = p.dir.readFile(QStringLiteral("new.sin"));
        QCOMPARE(file.size(), 8192);
        QCOMPARE(file.left(0x0630), QByteArray(0x0630, '\xFF'));
        QCOMPARE(file.mid(0x0630, 8), QByteArray("\x00\x00\x50\x43\x00\x00\x50\x43", 8));
        QCOMPARE(quint8(file[0x063C]), quint8(0x3C));
        QCOMPARE(file.mid(0x1D10, 4), QByteArray(4, '\0'));
        QCOMPARE(quint8(file[0x1811]), quint8(0x78));
        QCOMPARE(quint8(file[0x1817]), quint8(0));
        QCOMPARE(file.mid(0x1FE0, 2), QByteArray(2, '\0'));
        QCOMPARE(p.app.document()->pathName(), p.dir.filePath(QStringLiteral("new.sin")));
        QCOMPARE(p.app.mainFrame()->windowTitle(), QStringLiteral("KVT PC Encoder[*]"));
    }

    // Open, then Save As without edits: the file comes back byte for byte, except the bytes
    // every store of the grid rewrites.
    void openThenSaveReproducesTheFile()
    {
        Program p;
        QVERIFY(p.ok);
        const QByteArray original = richImage();
        p.dir.writeFile(QStringLiteral("in.sin"), original);
        p.fileToOpen = p.dir.filePath(QStringLiteral("in.sin"));
        p.trigger(ResId::FileOpen);
        QCOMPARE(p.view()->modelText(), QStringLiteral("KVT270U09"));
        QCOMPARE(p.row(2).first(), QStringLiteral("433.00625"));
        p.fileToOpen = p.dir.filePath(QStringLiteral("out.sin"));
        p.trigger(ResId::FileSaveAs);
        QVERIFY2(p.messages.isEmpty(), qPrintable(p.messages.join('\n')));
        const QByteArray saved = p.dir.readFile(QStringLiteral("out.sin"));
        QCOMPARE(saved.size(), 8192);

        QByteArray expected = original;
        expected.replace(0x0630, 8, QByteArray("\x00\x00\x50\x43\x00\x00\x50\x43", 8));
        expected[0x063C] = char(original[0x063C] & 0x3F);
        expected.replace(0x1D10, 4, QByteArray(4, '\0'));
        expected[0x1811] = char(original[0x1811] & 0x78);
        expected[0x1817] = 0;
        for (int a = 0; a < 8192; ++a)
            if (saved[a] != expected[a])
                QFAIL(qPrintable(QStringLiteral("byte 0x%1 is 0x%2, expected 0x%3").arg(a, 4, 16)
                                     .arg(quint8(saved[a]), 2, 16).arg(quint8(expected[a]), 2, 16)));
    }

    // A short file is refused: image, grid and path stay as they were.
    void shortFileChangesNothing()
    {
        Program p;
        QVERIFY(p.ok);
        p.dir.writeFile(QStringLiteral("in.sin"), richImage());
        p.dir.writeFile(QStringLiteral("short.sin"), QByteArray(100, '\x11'));
        p.fileToOpen = p.dir.filePath(QStringLiteral("in.sin"));
        p.trigger(ResId::FileOpen);
        const QByteArray image = p.image();
        const QStringList row1 = p.row(1);

        p.fileToOpen = p.dir.filePath(QStringLiteral("short.sin"));
        p.trigger(ResId::FileOpen);
        QCOMPARE(p.messages.size(), 1);
        QVERIFY2(p.messages.at(0).contains(QStringLiteral("holds 100 bytes")), qPrintable(p.messages.at(0)));
        QCOMPARE(p.image(), image);
        QCOMPARE(p.row(1), row1);
        QCOMPARE(p.view()->modelText(), QStringLiteral("KVT270U09"));
        QCOMPARE(p.app.document()->pathName(), p.dir.filePath(QStringLiteral("in.sin")));
    }

    // Default Factory with "KVT270U09" selected loads Default1.sin and shows it; the
    // document keeps its path.
    void defaultFactoryLoadsDefault1ForU09()
    {
        Program p;
        QVERIFY(p.ok);
        QVERIFY(QFile::copy(QStringLiteral(SOURCE_DIR "/resources/Default1.sin"), p.dir.filePath(QStringLiteral("Default1.sin"))));
        p.modelSelector()->setCurrentIndex(3);
        QCOMPARE(p.view()->modelText(), QStringLiteral("KVT270U09"));
        // The model change is an edit: the question about it comes first.
        answerModal<QMessageBox>([](QMessageBox *box) {
            box->findChild<QPushButton *>(QStringLiteral("discardButton"))->click();
        });
        p.clickDefaultFactory();
        QVERIFY2(p.messages.isEmpty(), qPrintable(p.messages.join('\n')));
        QCOMPARE(p.image(), p.dir.readFile(QStringLiteral("Default1.sin")));
        QCOMPARE(p.row(1).first(), QStringLiteral("400.12500"));
        QCOMPARE(p.row(1).last(), QStringLiteral("CH1"));
        QCOMPARE(p.view()->modelText(), QStringLiteral("KVT270U01"));  // the file's model byte
        QCOMPARE(p.app.document()->pathName(), QString());
    }

    // Without the default file: the view's notice "Cound not found default file", and grid
    // and image as they were.
    void defaultFactoryWithoutTheFile()
    {
        Program p;
        QVERIFY(p.ok);
        p.dir.writeFile(QStringLiteral("in.sin"), richImage());
        p.fileToOpen = p.dir.filePath(QStringLiteral("in.sin"));
        p.trigger(ResId::FileOpen);
        const QByteArray image = p.image();
        const QStringList row1 = p.row(1);
        QString caption, text;
        QWidget *owner = nullptr;
        answerModal<QMessageBox>([&](QMessageBox *box) {
            caption = box->windowTitle();
            text = box->text();
            owner = box->parentWidget();
            box->button(QMessageBox::Ok)->click();
        });
        p.clickDefaultFactory();
        QCOMPARE(caption, QStringLiteral("Prompt"));
        QCOMPARE(text, QStringLiteral("Cound not found default file"));
        QCOMPARE(owner, static_cast<QWidget *>(p.view()));
        QCOMPARE(p.image(), image);
        QCOMPARE(p.row(1), row1);
        QCOMPARE(p.view()->modelText(), QStringLiteral("KVT270U09"));
    }
};

REGISTER_TEST(TestFileView)
#include "tst_fileview.moc"
