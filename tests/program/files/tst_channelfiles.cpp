// File > Export channels, Import channels and Open backup in the running program: the
// channels go out as a CSV file and come back as one undo step, a refused file changes
// nothing, and a backup of a read opens as Open would, after the question about unsaved
// changes.
#include "ProgramFixture.h"
#include "TestRegistry.h"

#include "common/Backups.h"
#include "files/CsvChannels.h"
#include "files/FileMessages.h"
#include "files/ReadBackup.h"
#include "files/ui/ImageHistory.h"
#include "base/ResourceLibrary.h"
#include "model/GridContents.h"

#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QStandardPaths>
#include <QTest>
#include <QUndoStack>

namespace {

QByteArray defaultImage()
{
    QFile f(QStringLiteral(SOURCE_DIR "/resources/Default1.sin"));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QList<QStringList> rows(const Program &p)
{
    QList<QStringList> all;
    for (int n = 1; n <= 99; ++n)
        all << p.row(n);
    return all;
}

// The program showing the sixteen channels of Default1.sin, opened from a file, unmodified.
bool openDefaults(Program &p)
{
    p.dir.writeFile(QStringLiteral("defaults.sin"), defaultImage());
    return p.ok && p.app.documentCommands()->openDocumentFile(p.dir.filePath(QStringLiteral("defaults.sin")))
           && !p.row(16).constFirst().isEmpty() && !p.app.document()->isModified();
}

int undoSteps(const Program &p)
{
    return p.app.history()->undoStack()->count();
}

void answerSaveQuestion(const char *button)
{
    answerModal<QMessageBox>([button](QMessageBox *box) {
        box->findChild<QPushButton *>(QLatin1String(button))->click();
    });
}

} // namespace

class TestChannelFiles : public QObject
{
    Q_OBJECT

private slots:
    void init() { LanguageIndex = LanguageEnglish; }

    // Export, empty the channels, import: the channels are back as one undo step that
    // undo takes back and redo does again. A name without extension gets ".csv"; a file that
    // cannot be written is named in the notice.
    void exportThenImportIsOneStep()
    {
        Program p;
        QVERIFY(openDefaults(p));
        const QList<QStringList> original = rows(p);

        p.dir.writeFile(QStringLiteral("plain-file"), "x");
        p.fileToOpen = p.dir.filePath(QStringLiteral("plain-file/channels.csv"));
        p.trigger(ResId::ExportChannels);
        QCOMPARE(p.messages.size(), 1);
        QVERIFY2(p.messages.at(0).startsWith(QStringLiteral("Could not save ")), qPrintable(p.messages.at(0)));
        p.messages.clear();

        p.fileToOpen = p.dir.filePath(QStringLiteral("channels"));
        p.trigger(ResId::ExportChannels);
        QCOMPARE(p.messages, QStringList());
        QCOMPARE(p.fileDialogs.constLast(), DocumentCommands::FileDialog::ExportChannels);
        // The document lies in the application folder, where the dialogs never start: the
        // export offers its name in the user's documents folder (the home folder without one).
        const QString docs = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        QCOMPARE(p.fileDialogStarts.constLast(),
                 QDir(QFileInfo(docs).isDir() ? docs : QDir::homePath()).filePath(QStringLiteral("defaults.csv")));
        const QString csv = QString::fromUtf8(p.dir.readFile(QStringLiteral("channels.csv")));
        QVERIFY(csv.startsWith(CsvChannels::columns().join(QLatin1Char(','))));
        QCOMPARE(csv.count(QLatin1Char('\n')), 17);
        QVERIFY(!p.app.document()->isModified());

        QByteArray emptied = defaultImage();
        emptied.replace(0, 16 * 16, QByteArray(16 * 16, char(0xFF)));
        QVERIFY(p.changeImage(QStringLiteral("empty"), emptied));
        const QList<QStringList> empty = rows(p);
        QVERIFY(empty != original);
        const int steps = undoSteps(p);

        p.fileToOpen = p.dir.filePath(QStringLiteral("channels.csv"));
        p.trigger(ResId::ImportChannels);
        QCOMPARE(p.messages, QStringList());
        QCOMPARE(p.fileDialogs.constLast(), DocumentCommands::FileDialog::ImportChannels);
        QCOMPARE(rows(p), original);
        QCOMPARE(undoSteps(p), steps + 1);
        QCOMPARE(p.app.history()->undoText(), QStringLiteral("Import channels"));
        p.trigger(ResId::EditUndo);
        QCOMPARE(rows(p), empty);
        p.trigger(ResId::EditRedo);
        QCOMPARE(rows(p), original);
    }

    // A file that is refused: one notice with the file and the line, and nothing changes.
    void refusedImportChangesNothing_data()
    {
        QTest::addColumn<int>("field");      // the field of line 3 to replace; -1: no file
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("notice");
        QTest::newRow("frequency outside the band") << 2 << "999.000000" << "\nLine 3: ";
        QTest::newRow("channel given twice") << 0 << "1" << "\nLine 3: channel 1 was already given on line 2";
        QTest::newRow("no such file") << -1 << QString() << "No such file or directory";
    }
    void refusedImportChangesNothing()
    {
        QFETCH(int, field);
        QFETCH(QString, value);
        QFETCH(QString, notice);
        Program p;
        QVERIFY(openDefaults(p));
        QStringList lines = CsvChannels::exportText(imageToGridContents(p.document()->RadioImage()).channels).split(QLatin1Char('\n'));
        if (field >= 0) {
            QStringList fields = lines.at(2).split(QLatin1Char(','));
            fields[field] = value;
            lines[2] = fields.join(QLatin1Char(','));
            p.dir.writeFile(QStringLiteral("in.csv"), lines.join(QLatin1Char('\n')).toUtf8());
        }
        const QByteArray image = p.image();
        const QList<QStringList> before = rows(p);
        const int steps = undoSteps(p);
        p.fileToOpen = p.dir.filePath(QStringLiteral("in.csv"));
        p.trigger(ResId::ImportChannels);
        QCOMPARE(p.messages.size(), 1);
        QVERIFY2(p.messages.at(0).contains(notice), qPrintable(p.messages.at(0)));
        QVERIFY2(p.messages.at(0).contains(QDir::toNativeSeparators(p.fileToOpen)), qPrintable(p.messages.at(0)));
        QVERIFY(p.messages.at(0).endsWith(QStringLiteral("\nNothing was changed.")));
        QCOMPARE(p.image(), image);
        QCOMPARE(rows(p), before);
        QCOMPARE(undoSteps(p), steps);
        QVERIFY(!p.app.document()->isModified());
    }

    // Open backup: without a backup a notice says where they go; with one, the question
    // about unsaved changes comes first (Cancel keeps everything), then the dialog offers the
    // newest backup, which opens as one undo step.
    void openBackupAsksFirst()
    {
        QDir(Backups::folder()).removeRecursively();
        Program p;
        QVERIFY(p.ok);
        p.trigger(ResId::OpenBackup);
        QCOMPARE(p.messages, QStringList{noBackupsText(LanguageEnglish, Backups::folder())});
        QVERIFY(p.fileDialogs.isEmpty());
        p.messages.clear();

        const Backups::WriteResult backup =
            Backups::write(QLatin1String(ReadBackup::ProgramName), {{QStringLiteral("sin"), defaultImage()}});
        QVERIFY2(backup.ok, qPrintable(backup.error));
        QByteArray edited = p.image();
        edited[0x1814] = char(edited.at(0x1814) ^ 1);
        QVERIFY(p.changeImage(QStringLiteral("edit"), edited));
        QVERIFY(p.app.document()->isModified());
        p.fileToOpen = backup.paths.constFirst();

        answerSaveQuestion("cancelButton");
        p.trigger(ResId::OpenBackup);
        QVERIFY(p.fileDialogs.isEmpty());
        QCOMPARE(p.image(), edited);

        answerSaveQuestion("discardButton");
        p.trigger(ResId::OpenBackup);
        QCOMPARE(p.fileDialogs, QList<DocumentCommands::FileDialog>{DocumentCommands::FileDialog::OpenBackup});
        QCOMPARE(p.fileDialogStarts, QStringList{backup.paths.constFirst()});
        QCOMPARE(p.messages, QStringList());
        QCOMPARE(p.image(), defaultImage());
        // The backup opens without a file of its own: Save asks for a name instead of
        // writing over the backup.
        QVERIFY(p.app.document()->pathName().isEmpty());
        QVERIFY(!p.app.document()->isModified());
        QVERIFY(!p.row(16).constFirst().isEmpty());
        QCOMPARE(p.app.history()->undoText(), QStringLiteral("Open backup"));
        p.fileToOpen.clear();
        p.trigger(ResId::FileSave);
        QCOMPARE(p.fileDialogs.constLast(), DocumentCommands::FileDialog::SaveAs);
        p.trigger(ResId::EditUndo);
        QCOMPARE(p.image(), edited);
        QDir(Backups::folder()).removeRecursively();
    }
};

REGISTER_TEST(TestChannelFiles)
#include "tst_channelfiles.moc"
