// Undo and redo of every kind of change, the modified flag, and the question before a
// modified document would be replaced or closed, through the running program's commands.
#include "ProgramFixture.h"
#include "TestRegistry.h"

#include "base/ResourceLibrary.h"
#include "files/CProgramDoc.h"
#include "files/FileMessages.h"
#include "files/ui/ImageHistory.h"
#include "model/ChannelCodec.h"
#include "model/MemoryImage.h"
#include "model/ui/COptionDlg.h"
#include "model/ui/CPcbaDlg.h"
#include "model/ui/CPttIdDlg.h"
#include "model/ui/ChannelGridWidget.h"

#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <QUndoStack>

#include <memory>

namespace {

QStringList loadedRow(const Program &p, int n)
{
    const ChannelTexts t = LoadChannel(p.document()->RadioImage(), n);
    QStringList texts;
    for (int c = 1; c <= 9; ++c)
        texts << t.text(c);
    return texts;
}

void clickCell(CProgramView *view, int row, int column)
{
    ChannelGridWidget *grid = view->grid();
    const QModelIndex index = grid->model()->index(row - 1, column - 1);
    grid->scrollTo(index);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(index).center());
}

// Types into the editor over a cell and presses Enter.
void typeIntoCell(CProgramView *view, int row, int column, const QString &text)
{
    clickCell(view, row, column);
    auto *editor = qobject_cast<QLineEdit *>(view->openEditor());
    QVERIFY(editor);
    editor->selectAll();
    QTest::keyClicks(editor, text);
    QTest::keyClick(editor, Qt::Key_Return);
}

void chooseInCell(CProgramView *view, int row, int column, int entry)
{
    clickCell(view, row, column);
    auto *editor = qobject_cast<QComboBox *>(view->openEditor());
    QVERIFY(editor);
    editor->setCurrentIndex(entry);
    QTest::keyClick(editor, Qt::Key_Return);
}

// Answers the next Save / Discard / Cancel question with the button of that object name and
// records its text.
void answerQuestion(const QString &button, QString *text)
{
    answerModal<QMessageBox>([button, text](QMessageBox *box) {
        *text = box->text();
        box->findChild<QPushButton *>(button)->click();
    });
}

} // namespace

class TestUndoHistory : public QObject
{
    Q_OBJECT

private slots:
    void init() { LanguageIndex = LanguageEnglish; }
    void cleanup()
    {
        LanguageIndex = LanguageEnglish;
        installResources(builtInResources());
    }

    // Each kind of change is one step: Undo gives the image back byte for byte and shows it,
    // Redo brings the changed image back.
    void undoAndRedoRestoreTheImage_data()
    {
        QTest::addColumn<QString>("change");
        for (const char *c : {"rx frequency", "tone", "list value", "name", "model", "default factory", "option",
                              "ptt id", "pcba", "new", "open"})
            QTest::newRow(c) << QString::fromLatin1(c);
    }
    void undoAndRedoRestoreTheImage()
    {
        QFETCH(QString, change);
        Program p;
        QVERIFY(p.ok);
        p.dir.writeFile(QStringLiteral("a.sin"), storeRewritesFile());
        p.dir.writeFile(QStringLiteral("b.sin"), pattern(8192));
        p.dir.writeFile(QStringLiteral("Default1.sin"), pattern(100, 3, 1));
        QVERIFY(p.app.documentCommands()->openDocumentFile(p.dir.filePath(QStringLiteral("a.sin"))));
        QUndoStack *stack = p.app.history()->undoStack();
        QVERIFY(stack);
        const QByteArray before = p.image();
        const QString pathBefore = p.app.document()->pathName();
        const QStringList rowBefore = p.row(1);
        const int steps = stack->count();

        CProgramView *view = p.view();
        if (change == QLatin1String("rx frequency"))
            typeIntoCell(view, 1, 1, QStringLiteral("455.5"));
        else if (change == QLatin1String("tone"))
            chooseInCell(view, 1, 3, 5);
        else if (change == QLatin1String("list value"))
            chooseInCell(view, 1, 6, 1);
        else if (change == QLatin1String("name"))
            typeIntoCell(view, 1, 9, QStringLiteral("NEW"));
        else if (change == QLatin1String("model"))
            p.modelSelector()->setCurrentIndex(1);
        else if (change == QLatin1String("default factory"))
            p.clickDefaultFactory();
        else if (change == QLatin1String("option")) {
            answerModal<COptionDlg>([](COptionDlg *d) {
                d->list(1081)->setCurrentIndex(2);
                d->close();
            });
            p.trigger(ResId::Option);
        } else if (change == QLatin1String("ptt id")) {
            answerModal<CPttIdDlg>([](CPttIdDlg *d) {
                d->codeEdit->setText(QStringLiteral("123"));
                d->close();
            });
            p.trigger(ResId::PttId);
        } else if (change == QLatin1String("pcba")) {
            answerModal<CPcbaDlg>([](CPcbaDlg *d) {
                d->pcbaEdit->setText(QStringLiteral("AB12"));
                d->okButton->click();
            });
            p.trigger(ResId::Embed);
        } else if (change == QLatin1String("new")) {
            p.trigger(ResId::FileNew);
        } else if (change == QLatin1String("open")) {
            p.fileToOpen = p.dir.filePath(QStringLiteral("b.sin"));
            p.trigger(ResId::FileOpen);
        }
        QVERIFY2(p.messages.isEmpty(), qPrintable(p.messages.join('\n')));
        const QByteArray after = p.image();
        const QString pathAfter = p.app.document()->pathName();
        QVERIFY(after != before);
        QCOMPARE(stack->count(), steps + 1);
        const bool replacesDocument = change == QLatin1String("new") || change == QLatin1String("open");
        QCOMPARE(p.app.document()->isModified(), !replacesDocument);

        p.trigger(ResId::EditUndo);
        QCOMPARE(p.image(), before);
        QCOMPARE(p.app.document()->pathName(), pathBefore);
        QCOMPARE(p.row(1), rowBefore);
        QVERIFY(!p.app.document()->isModified());
        QVERIFY(!p.app.mainFrame()->isWindowModified());

        p.trigger(ResId::EditRedo);
        QCOMPARE(p.image(), after);
        QCOMPARE(p.app.document()->pathName(), pathAfter);
        QCOMPARE(p.row(1), loadedRow(p, 1));
        QCOMPARE(p.app.document()->isModified(), !replacesDocument);
    }

    // Nothing to undo at start; a dialog closed without a change is no step.
    void unchangedIsNoStep()
    {
        Program p;
        QVERIFY(p.ok);
        QAction *undo = p.app.mainFrame()->action(ResId::EditUndo);
        QVERIFY(!undo->isEnabled());
        QCOMPARE(undo->shortcut(), QKeySequence(QStringLiteral("Ctrl+Z")));
        QCOMPARE(p.app.mainFrame()->action(ResId::EditRedo)->shortcut(), QKeySequence(QStringLiteral("Ctrl+Y")));
        answerModal<CPcbaDlg>([](CPcbaDlg *d) { d->cancelButton->click(); });
        p.trigger(ResId::Embed);
        QVERIFY(!undo->isEnabled());
        QVERIFY(!p.app.document()->isModified());

        // Option and PTT ID opened and left with Escape, on a file whose APO and Roger bytes
        // no list shows: no byte changes, nothing to undo, nothing to save.
        QByteArray file = storeRewritesFile();
        file[0x1820] = char(0xFF);
        file[0x1821] = char(0xFF);
        p.dir.writeFile(QStringLiteral("radio.sin"), file);
        QVERIFY(p.app.documentCommands()->openDocumentFile(p.dir.filePath(QStringLiteral("radio.sin"))));
        const int steps = p.app.history()->undoStack()->count();
        for (int command : {int(ResId::Option), int(ResId::PttId)}) {
            answerModal<QDialog>([](QDialog *d) { QTest::keyClick(d, Qt::Key_Escape); });
            p.trigger(command);
        }
        QCOMPARE(p.image().toHex(), file.toHex());
        QVERIFY(!p.app.document()->isModified());
        QVERIFY(!p.app.mainFrame()->isWindowModified());
        QCOMPARE(p.app.history()->undoStack()->count(), steps);
    }

    // Default Factory replaces the channels: a modified document asks first, as New does;
    // Cancel keeps the edits, Discard loads the defaults.
    void defaultFactoryAsks_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<bool>("replaced");
        QTest::newRow("cancel") << "cancelButton" << false;
        QTest::newRow("discard") << "discardButton" << true;
    }
    void defaultFactoryAsks()
    {
        QFETCH(QString, button);
        QFETCH(bool, replaced);
        Program p;
        QVERIFY(p.ok);
        p.dir.writeFile(QStringLiteral("Default1.sin"), pattern(8192, 3, 1));
        typeIntoCell(p.view(), 1, 1, QStringLiteral("430"));
        const QByteArray edited = p.image();
        QString question;
        answerQuestion(button, &question);
        p.clickDefaultFactory();
        QCOMPARE(question, saveChangesText(LanguageEnglish, QStringLiteral("Untitled")));
        QCOMPARE(p.image() == pattern(8192, 3, 1), replaced);
        QCOMPARE(p.image() == edited, !replaced);
        QCOMPARE(p.row(1).constFirst(), replaced ? LoadChannel(p.document()->RadioImage(), 1).rxFreq
                                                 : QStringLiteral("430.00000"));
    }

    // Modified after an edit, with the title's mark; clean after Save; an undo past the save
    // is modified again.
    void modifiedUntilSaved()
    {
        Program p;
        QVERIFY(p.ok);
        CMainFrame *frame = p.app.mainFrame();
        QCOMPARE(frame->windowTitle(), QStringLiteral("KVT PC Encoder[*]"));
        QVERIFY(!frame->isWindowModified());
        typeIntoCell(p.view(), 1, 1, QStringLiteral("410"));
        QVERIFY(p.app.document()->isModified());
        QVERIFY(frame->isWindowModified());
        p.fileToOpen = p.dir.filePath(QStringLiteral("saved.sin"));
        p.trigger(ResId::FileSave);
        QVERIFY(!p.app.document()->isModified());
        QVERIFY(!frame->isWindowModified());
        QCOMPARE(p.dir.readFile(QStringLiteral("saved.sin")), p.image());
        p.trigger(ResId::EditUndo);
        QVERIFY(p.app.document()->isModified());
        p.trigger(ResId::EditRedo);
        QVERIFY(!p.app.document()->isModified());
    }

    // Closing a modified document asks; Cancel keeps the window, Discard closes, Save on an
    // untitled document goes through Save As, and cancelling that keeps the window.
    void closeAsksAboutChanges_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("saveAsAnswer");
        QTest::addColumn<bool>("closed");
        QTest::addColumn<bool>("saved");
        QTest::newRow("cancel") << "cancelButton" << "" << false << false;
        QTest::newRow("discard") << "discardButton" << "" << true << false;
        QTest::newRow("save, Save As cancelled") << "saveButton" << "" << false << false;
        QTest::newRow("save") << "saveButton" << "kept.sin" << true << true;
    }
    void closeAsksAboutChanges()
    {
        QFETCH(QString, button);
        QFETCH(QString, saveAsAnswer);
        QFETCH(bool, closed);
        QFETCH(bool, saved);
        Program p;
        QVERIFY(p.ok);
        typeIntoCell(p.view(), 1, 9, QString());
        typeIntoCell(p.view(), 1, 1, QStringLiteral("420"));
        p.fileToOpen = saveAsAnswer.isEmpty() ? QString() : p.dir.filePath(saveAsAnswer);
        QString question;
        answerQuestion(button, &question);
        QCOMPARE(p.app.mainFrame()->close(), closed);
        QCOMPARE(question, saveChangesText(LanguageEnglish, QStringLiteral("Untitled")));
        QCOMPARE(p.app.mainFrame()->isVisible(), !closed);
        QCOMPARE(p.fileDialogs, button == QLatin1String("saveButton")
                                     ? QList<DocumentCommands::FileDialog>{DocumentCommands::FileDialog::SaveAs}
                                     : QList<DocumentCommands::FileDialog>{});
        QCOMPARE(QFileInfo::exists(p.dir.filePath(QStringLiteral("kept.sin"))), saved);
    }

    // An unmodified document closes without a question (a question would be cancelled).
    void unmodifiedClosesWithoutAsking()
    {
        Program p;
        QVERIFY(p.ok);
        auto asked = std::make_shared<bool>(false);
        QTimer::singleShot(0, [asked] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                *asked = true;
                box->reject();
            }
        });
        QVERIFY(p.app.mainFrame()->close());
        QTest::qWait(20);  // the answer's timer, had there been no question to answer
        QVERIFY(!*asked);
    }

    // New, Open and Read ask as well; Cancel changes nothing, Discard goes ahead. The
    // question is in the language of the program.
    void replacingAsks_data()
    {
        QTest::addColumn<int>("command");
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("language");
        QTest::addColumn<bool>("replaced");
        QTest::newRow("New, cancel") << int(ResId::FileNew) << "cancelButton" << 0 << false;
        QTest::newRow("New, discard") << int(ResId::FileNew) << "discardButton" << 0 << true;
        QTest::newRow("Open, cancel") << int(ResId::FileOpen) << "cancelButton" << 1 << false;
        QTest::newRow("Open, discard") << int(ResId::FileOpen) << "discardButton" << 2 << true;
        QTest::newRow("Read, cancel") << int(ResId::Read) << "cancelButton" << 2 << false;
    }
    void replacingAsks()
    {
        QFETCH(int, command);
        QFETCH(QString, button);
        QFETCH(int, language);
        QFETCH(bool, replaced);
        Program p;
        QVERIFY(p.ok);
        LanguageIndex = std::uint8_t(language);
        p.dir.writeFile(QStringLiteral("b.sin"), pattern(8192));
        p.fileToOpen = p.dir.filePath(QStringLiteral("b.sin"));
        typeIntoCell(p.view(), 1, 1, QStringLiteral("430"));
        const QByteArray edited = p.image();
        QString question;
        QStringList buttons;
        answerModal<QMessageBox>([&](QMessageBox *box) {
            question = box->text();
            for (const char *name : {"saveButton", "discardButton", "cancelButton"})
                buttons << box->findChild<QPushButton *>(QLatin1String(name))->text();
            box->findChild<QPushButton *>(button)->click();
        });
        p.trigger(command);
        QCOMPARE(question, saveChangesText(language, untitledText(language)));
        QCOMPARE(buttons, (QStringList{saveButtonText(language), discardButtonText(language),
                                       cancelButtonText(language)}));
        QCOMPARE(p.image() != edited, replaced);
        QCOMPARE(p.app.document()->isModified(), !replaced);
    }

    // Grabs the Edit menu and the question in Simplified Chinese when PROGRAM_SHOTS_DIR names
    // a folder, for a person to look at.
    void screenshots()
    {
        const QString dir = qEnvironmentVariable("PROGRAM_SHOTS_DIR");
        if (dir.isEmpty())
            QSKIP("PROGRAM_SHOTS_DIR not set");
        QDir().mkpath(dir);
        AppDirFixture chs(QStringLiteral("[Setup]\nLanguage=Chs\nCOM=COM1\n"));
        ProgramApp app;
        QVERIFY(app.initInstance({QStringLiteral("Program")}, chs.path()));
        typeIntoCell(app.view(), 1, 1, QStringLiteral("410"));
        auto *edit = app.mainFrame()->findChild<QMenu *>(QStringLiteral("menuEdit"));
        QVERIFY(edit);
        edit->popup(QPoint(0, 0));
        QTest::qWait(50);
        QVERIFY(edit->grab().save(dir + QStringLiteral("/program-edit-menu-chs.png")));
        edit->hide();
        QVERIFY(app.mainFrame()->grab().save(dir + QStringLiteral("/program-modified-chs.png")));
        answerModal<QMessageBox>([dir](QMessageBox *box) {
            box->grab().save(dir + QStringLiteral("/program-save-question-chs.png"));
            box->findChild<QPushButton *>(QStringLiteral("cancelButton"))->click();
        });
        QVERIFY(!app.mainFrame()->close());
    }
};

REGISTER_TEST(TestUndoHistory)
#include "tst_undohistory.moc"
