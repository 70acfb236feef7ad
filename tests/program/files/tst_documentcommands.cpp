#include "FilesFixture.h"
#include "TestRegistry.h"

#include "files/CProgramDoc.h"
#include "files/ui/DocumentCommands.h"
#include "files/ui/ImageHistory.h"
#include "base/ResourceLibrary.h"
#include "frame/ui/CMainFrame.h"
#include "model/MemoryImage.h"
#include "model/ui/CProgramView.h"

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>
#include <QFileInfo>
#include <QDir>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

namespace {

// The bytes Save writes for an image: its values stored first.
QByteArray stored(const QByteArray &image)
{
    return toByteArray(CProgramDoc::storedImage(imageFromBytes(image)));
}

// The main window with the document, its commands and the view that shows it, on the
// application directory `appDirectory` (where the default files lie).
struct Window {
    CProgramDoc document;
    ImageHistory history{&document};
    std::unique_ptr<CMainFrame> frame = std::make_unique<CMainFrame>();
    DocumentCommands *commands;
    CProgramView view{&document};
    QStringList steps;     // the steps the document recorded
    QStringList messages;  // notices the frame showed
    QString fileToChoose;  // answer of the file dialogs; empty: cancelled
    std::function<QString(DocumentCommands::FileDialog, const QString &)> realFileDialog;

    explicit Window(const QString &appDirectory = QString())
        : commands(new DocumentCommands(&document, frame.get(), appDirectory))
    {
        commands->setView(&view);
        QObject::connect(&document, &CProgramDoc::stepRecorded,
                         [this](const QString &label) { steps << label; });
        commands->showMessage = [this](const QString &text) { messages << text; };
        QObject::connect(&document, &CProgramDoc::pathNameChanged, frame.get(), &QWidget::setWindowFilePath);
        realFileDialog = commands->askFileName;
        commands->askFileName = [this](DocumentCommands::FileDialog, const QString &) { return fileToChoose; };
    }
    // The user's own change of the image, outside the commands; it counts as saved, so
    // that New and Open ask nothing.
    void setImage(const QByteArray &bytes)
    {
        document.editImage([&bytes](ImageBytes &image) { copyIntoImage(image, bytes); });
        document.markClean();
    }
    QByteArray image() const { return document.imageBytes(); }
    // Whether the view shows the document: every channel, the model.
    bool viewShowsTheDocument() const
    {
        for (int n = 1; n <= 99; ++n)
            for (int c = 1; c <= 9; ++c)
                if (view.cellText(n, c) != document.channel(n).text(c))
                    return false;
        return view.modelText() == document.modelText();
    }
    void trigger(int command)
    {
        switch (command) {
        case ResId::FileNew: commands->onFileNew(); break;
        case ResId::FileOpen: commands->onFileOpen(); break;
        case ResId::FileSave: commands->onFileSave(); break;
        case ResId::FileSaveAs: commands->onFileSaveAs(); break;
        default: QFAIL("not a file command");
        }
    }
};

} // namespace

class TestDocumentCommands : public QObject
{
    Q_OBJECT

private slots:
    void init() { LanguageIndex = LanguageEnglish; }

    void newMakesANewUntitledImage()
    {
        FilesDir fx;
        QVERIFY(fx.write("a.sin", pattern(8192)));
        Window w;
        QVERIFY(w.commands->openDocumentFile(fx.path("a.sin")));
        w.trigger(ResId::FileNew);
        ImageBytes newImage;
        NewImage(newImage);
        const QByteArray fresh = toByteArray(newImage);
        QCOMPARE(w.image(), fresh);
        w.setImage(pattern(8192));
        w.trigger(ResId::FileNew);
        QCOMPARE(w.image(), fresh);
        QCOMPARE(w.document.pathName(), QString());
        QVERIFY(w.viewShowsTheDocument());
        QCOMPARE(w.steps, QStringList({"Open", "New", "New"}));
        QCOMPARE(w.frame->windowTitle(), QStringLiteral("KVT PC Encoder[*]"));
    }

    // The file dialogs: captions, the channel data filter first, ".sin" added to a name
    // without extension.
    void fileDialogs_data()
    {
        QTest::addColumn<int>("command");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("acceptMode");
        QTest::newRow("Open") << int(ResId::FileOpen) << "Open" << int(QFileDialog::AcceptOpen);
        QTest::newRow("Save As") << int(ResId::FileSaveAs) << "Save As" << int(QFileDialog::AcceptSave);
    }
    void fileDialogs()
    {
        QFETCH(int, command);
        QFETCH(QString, caption);
        QFETCH(int, acceptMode);
        Window w;
        w.commands->askFileName = w.realFileDialog;
        QString title, suffix;
        QStringList filters;
        int mode = -1;
        QWidget *owner = nullptr;
        answerModal<QFileDialog>([&](QFileDialog *d) {
            title = d->windowTitle();
            filters = d->nameFilters();
            suffix = d->defaultSuffix();
            mode = d->acceptMode();
            owner = d->parentWidget();
            d->reject();
        });
        w.trigger(command);
        QCOMPARE(title, caption);
        QCOMPARE(filters.value(0), QStringLiteral("Channel Data (*.sin)"));
        QCOMPARE(suffix, QStringLiteral("sin"));
        QCOMPARE(mode, acceptMode);
        QCOMPARE(owner, static_cast<QWidget *>(w.frame.get()));
        QVERIFY(w.messages.isEmpty());
    }

    // Open: the image is read and the view updated; a cancelled dialog and a refused file
    // change nothing.
    void open()
    {
        FilesDir fx;
        const QByteArray data = pattern(8192, 13, 1);
        QVERIFY(fx.write("radio.sin", data));
        QVERIFY(fx.write("short.sin", QByteArray(100, '\x22')));
        Window w;
        w.trigger(ResId::FileNew);
        w.steps.clear();

        w.fileToChoose = fx.path("radio.sin");
        w.trigger(ResId::FileOpen);
        QCOMPARE(w.image(), data);
        QCOMPARE(w.document.pathName(), fx.path("radio.sin"));
        QVERIFY(w.viewShowsTheDocument());
        QCOMPARE(w.steps, QStringList{"Open"});
        QCOMPARE(w.frame->windowFilePath(), fx.path("radio.sin"));
        QCOMPARE(w.frame->windowTitle(), QStringLiteral("KVT PC Encoder[*]"));

        w.fileToChoose.clear();
        w.trigger(ResId::FileOpen);
        w.fileToChoose = fx.path("short.sin");
        w.trigger(ResId::FileOpen);
        QCOMPARE(w.image(), data);
        QCOMPARE(w.document.pathName(), fx.path("radio.sin"));
        QCOMPARE(w.steps, QStringList{"Open"});
        QCOMPARE(w.messages.size(), 1);
        QVERIFY2(w.messages.at(0).contains(QStringLiteral("holds 100 bytes")), qPrintable(w.messages.at(0)));
    }

    // Save of an untitled document asks for a name (".sin" is added), stores the grid
    // first and writes the image; the next Save writes to that file without asking.
    void saveAsksOnceThenWritesToThePath()
    {
        FilesDir fx;
        Window w;
        w.trigger(ResId::FileNew);
        w.fileToChoose = fx.path("first");
        w.trigger(ResId::FileSave);
        QCOMPARE(w.document.pathName(), fx.path("first.sin"));
        QCOMPARE(fx.read("first.sin"), w.image());
        QCOMPARE(w.image(), stored(w.image()));
        QVERIFY(!w.document.isModified());

        w.setImage(pattern(8192));
        bool asked = false;
        w.commands->askFileName = [&asked](DocumentCommands::FileDialog, const QString &) { asked = true; return QString(); };
        w.trigger(ResId::FileSave);
        QVERIFY(!asked);
        QCOMPARE(fx.read("first.sin"), stored(pattern(8192)));
        QVERIFY(w.messages.isEmpty());
    }

    // Save As: the grid is stored first, the dialog is offered the current file, a name
    // without extension gets ".sin", a cancelled dialog writes nothing.
    void saveAs()
    {
        FilesDir fx;
        QVERIFY(fx.write("a.sin", pattern(8192)));
        Window w;
        QVERIFY(w.commands->openDocumentFile(fx.path("a.sin")));
        QString offered;
        w.commands->askFileName = [&](DocumentCommands::FileDialog dialog, const QString &suggested) {
            offered = suggested;
            return dialog == DocumentCommands::FileDialog::SaveAs ? fx.path("copy") : QString();
        };
        w.trigger(ResId::FileSaveAs);
        QCOMPARE(offered, fx.path("a.sin"));
        QCOMPARE(w.document.pathName(), fx.path("copy.sin"));
        QCOMPARE(fx.read("copy.sin"), stored(pattern(8192)));

        w.commands->askFileName = [](DocumentCommands::FileDialog, const QString &) { return QString(); };
        w.setImage(pattern(8192, 3, 3));
        w.trigger(ResId::FileSaveAs);
        QCOMPARE(w.document.pathName(), fx.path("copy.sin"));
        QCOMPARE(fx.read("copy.sin"), stored(pattern(8192)));

        // An untitled document offers its title in the folder last used.
        w.commands->askFileName = [&](DocumentCommands::FileDialog, const QString &suggested) { offered = suggested; return QString(); };
        w.trigger(ResId::FileNew);
        w.trigger(ResId::FileSaveAs);
        QCOMPARE(offered, fx.path(QStringLiteral("Untitled.sin")));
    }

    // Where the file dialogs start: the user's documents folder at first, then the folder
    // last chosen, kept in Program.ini for the next run; a file chosen in the application
    // folder is not remembered, and a document from there saves elsewhere first.
    void dialogsStartInTheFolderLastUsed()
    {
        FilesDir app, elsewhere;
        QVERIFY(app.write("Program.ini", "[Setup]\nLanguage=Eng\n"));
        QVERIFY(app.write("inside.sin", pattern(8192)));
        QVERIFY(elsewhere.write("a.sin", pattern(8192, 2, 2)));
        const QString docs = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        const QString firstStart = QFileInfo(docs).isDir() ? docs : QDir::homePath();
        using D = DocumentCommands::FileDialog;
        QList<QPair<D, QString>> offers;
        QString answer;
        const auto watch = [&](DocumentCommands *commands) {
            commands->askFileName = [&](D dialog, const QString &start) {
                offers.append({dialog, start});
                return answer;
            };
        };
        {
            Window w(app.dir.path() + QLatin1Char('/'));
            watch(w.commands);
            answer = app.path("inside.sin");
            w.trigger(ResId::FileOpen);
            answer = elsewhere.path("a.sin");
            w.trigger(ResId::FileOpen);
            answer.clear();
            w.trigger(ResId::FileOpen);
            QCOMPARE(offers, (QList<QPair<D, QString>>{{D::Open, firstStart}, {D::Open, firstStart},
                                                       {D::Open, QFileInfo(elsewhere.path("a.sin")).absolutePath()}}));
        }
        QVERIFY(QString::fromUtf8(app.read("Program.ini")).contains("LastFolder=" + QFileInfo(elsewhere.path("a.sin")).absolutePath()));
        offers.clear();
        // The next run: a document of the application folder offers its name in the folder
        // last used.
        Window w(app.dir.path() + QLatin1Char('/'));
        watch(w.commands);
        QVERIFY(w.commands->openDocumentFile(app.path("inside.sin")));
        w.trigger(ResId::FileSaveAs);
        w.commands->onImportChannels();
        const QString last = QFileInfo(elsewhere.path("a.sin")).absolutePath();
        QCOMPARE(offers, (QList<QPair<D, QString>>{{D::SaveAs, last + "/inside.sin"}, {D::ImportChannels, last}}));
    }

    void saveIntoAnUnwritablePlace()
    {
        FilesDir fx;
        const QByteArray old = pattern(8192, 9, 9);
        QVERIFY(fx.write("old.sin", old));
        QVERIFY(fx.write("plain-file", "x"));
        Window w;
        QVERIFY(w.commands->openDocumentFile(fx.path("old.sin")));
        w.setImage(pattern(8192, 1, 1));
        w.commands->askFileName = [&](DocumentCommands::FileDialog, const QString &) { return fx.path("plain-file/new.sin"); };
        w.trigger(ResId::FileSaveAs);
        QCOMPARE(w.messages.size(), 1);
        QVERIFY2(w.messages.at(0).startsWith(QStringLiteral("Could not save ")), qPrintable(w.messages.at(0)));
        QCOMPARE(w.document.pathName(), fx.path("old.sin"));
        QCOMPARE(fx.read("old.sin"), old);
    }

    // Default Factory loads the selected model's file and shows it; the document's path
    // stays.
    void defaultFactoryLoadsTheModelsFile()
    {
        FilesDir fx;
        QVERIFY(fx.write("Default1.sin", pattern(8192, 7, 7)));
        QVERIFY(fx.write("Default2.sin", pattern(8192, 5, 5)));
        QVERIFY(fx.write("a.sin", pattern(8192)));
        Window w(fx.dir.path() + QLatin1Char('/'));
        QVERIFY(w.commands->openDocumentFile(fx.path("a.sin")));
        w.document.setModelIndex(3);  // KVT270U09
        w.document.markClean();       // nothing to ask about
        w.steps.clear();
        w.commands->onDefaultFactory();
        QCOMPARE(w.image(), pattern(8192, 7, 7));
        QVERIFY(w.viewShowsTheDocument());
        QCOMPARE(w.steps, QStringList{"Default Factory"});
        QCOMPARE(w.document.pathName(), fx.path("a.sin"));
    }

    // A missing default file gives the notice of the view, caption "Prompt", and changes
    // nothing.
    void defaultFactoryWithoutTheFile_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("text");
        QTest::newRow("English") << 0 << "Prompt" << "Cound not found default file";
        QTest::newRow("Traditional") << 2 << "提示" << "沒找到默認文件";
    }
    void defaultFactoryWithoutTheFile()
    {
        QFETCH(int, language);
        QFETCH(QString, caption);
        QFETCH(QString, text);
        FilesDir fx;
        LanguageIndex = std::uint8_t(language);
        Window w(fx.dir.path() + QLatin1Char('/'));
        w.view.show();
        w.setImage(pattern(8192));
        w.document.setModelIndex(4);  // KVT270U10
        const QByteArray before = w.image();
        w.steps.clear();
        QString shownCaption, shownText;
        QWidget *owner = nullptr;
        answerModal<QMessageBox>([&](QMessageBox *box) {
            shownCaption = box->windowTitle();
            shownText = box->text();
            owner = box->parentWidget();
            box->button(QMessageBox::Ok)->click();
        });
        w.commands->onDefaultFactory();
        QCOMPARE(shownCaption, caption);
        QCOMPARE(shownText, text);
        QCOMPARE(owner, static_cast<QWidget *>(&w.view));
        QCOMPARE(w.image(), before);
        QVERIFY(w.steps.isEmpty());
    }
};

REGISTER_TEST(TestDocumentCommands)
#include "tst_documentcommands.moc"
