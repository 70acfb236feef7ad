// "Verify after writing" in the write dialog: the radio is read back after the write and
// compared with what was sent; only a write the radio confirmed counts as saved. Run through
// the main window's Write against the simulated radio.
#include "Kvt270Simulator.h"
#include "TestRegistry.h"
#include "base/Globals.h"
#include "base/ProgramIni.h"
#include "base/ResourceLibrary.h"
#include "files/CProgramDoc.h"
#include "frame/ui/CMainFrame.h"
#include "frame/ui/ProgramApp.h"
#include "model/ImageComparison.h"
#include "model/ui/CProgramView.h"
#include "radiolink/RadioTransfer.h"
#include "radiolink/ui/CReadWriteDlg.h"
#include "radiolink/ui/RadioCommands.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

// The application on the simulator's directory, showing the factory defaults of its model
// (sixteen channels), unsaved. Write is answered with Start; what the dialog showed is kept.
struct WritingProgram {
    ProgramApp app;
    QStringList notices;
    QStringList captions;
    QString checkText;       // what the dialog said of the check when it closed
    bool boxShown = false;
    bool boxChecked = false;
    int rangeAtEnd = -1;     // the bar's range when the dialog closed: 944 after a read-back

    bool start(Kvt270Simulator &sim)
    {
        for (const char *file : {"Eng.dll", "Chs.dll", "Default1.sin"})
            if (!QFile::copy(QStringLiteral(SOURCE_DIR "/resources/") + QLatin1String(file), sim.dir.filePath(file)))
                return false;
        app.showMessage = [this](const QString &, const QString &text) { notices << text; };
        if (!app.initInstance({QStringLiteral("Program")}, sim.appDirectory()))
            return false;
        app.radioCommands()->dialogCreated = [this](CReadWriteDlg &dialog) {
            dialog.showMessage = [this](const QString &caption, const QString &text) {
                captions << caption;
                notices << text;
            };
            dialog.confirmationMs = 50;
            boxShown = !dialog.verifyCheckBox->isHidden();
            boxChecked = dialog.verifyCheckBox->isChecked();
            QObject::connect(&dialog, &QDialog::finished, &dialog,
                             [this, &dialog] {
                                 rangeAtEnd = dialog.progressBar->maximum();
                                 checkText = dialog.checkLabel->text();
                             });
            QTimer::singleShot(0, dialog.startButton, &QPushButton::click);
        };
        app.view()->findChild<QPushButton *>(QStringLiteral("defaultFactoryButton"))->click();
        return app.document()->isModified();
    }
    void write() { app.mainFrame()->action(ResId::Write)->trigger(); }
};

} // namespace

class TestVerifyWrite : public QObject
{
    Q_OBJECT

private slots:
    void cleanup()
    {
        LanguageIndex = LanguageEnglish;
        installResources(ResourceLibrary());
    }

    // A good write, with and without the read-back: the document counts as saved, and the
    // radio holds the image that the document still holds.
    void confirmedWriteIsSaved_data()
    {
        QTest::addColumn<QString>("setting");
        QTest::addColumn<bool>("verify");
        QTest::newRow("verify, no setting yet") << QString() << true;
        QTest::newRow("verify off") << "0" << false;
    }
    void confirmedWriteIsSaved()
    {
        QFETCH(QString, setting);
        QFETCH(bool, verify);
        Kvt270Simulator sim;
        QVERIFY(sim.start(QByteArray(int(RadioImageSize), char(0x33))));
        if (!setting.isEmpty())
            QVERIFY(ProgramIni(sim.appDirectory()).write(QStringLiteral("Setup"), QStringLiteral("Verify"), setting));
        WritingProgram program;
        QVERIFY(program.start(sim));
        program.write();
        QCOMPARE(program.notices, QStringList());
        QVERIFY(program.boxShown);
        QCOMPARE(program.boxChecked, verify);
        QCOMPARE(program.rangeAtEnd, verify ? 944 : 942);
        QCOMPARE(program.checkText, verify ? QStringLiteral("Written and checked") : QString());
        QVERIFY(!program.app.document()->isModified());
        const QByteArray sent = program.app.document()->imageBytes();
        const QByteArray radio = sim.memoryAfter();
        QCOMPARE(radio.left(0x1D50).toHex(), sent.left(0x1D50).toHex());
        QCOMPARE(radio.mid(0x1FD0, 0x20).toHex(), sent.mid(0x1FD0, 0x20).toHex());
        program.app.exitInstance();
    }

    // The radio does not keep what it was sent, or cannot be read back: one notice, the
    // document stays modified and holds the image sent.
    void unconfirmedWriteIsNotSaved_data()
    {
        QTest::addColumn<QStringList>("faults");
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("notice");   // a pattern
        QStringList twentyTwo;
        for (int n = 0; n < 22; ++n)
            twentyTwo << QStringLiteral("--corrupt-write") << QString::number(0x10 * n, 16);
        QTest::newRow("one byte changed")
            << QStringList{"--corrupt-write", "0010"} << "Eng"
            << "^The radio does not hold what was written:\nChannel 2: receive frequency [0-9.]+ in the file, [0-9.]+ in "
               "the radio\n    block 0x0010\n\nWrite again; if the same channels differ, the radio did not accept those values.$";
        QTest::newRow("one byte changed, Simplified Chinese")
            << QStringList{"--corrupt-write", "0010"} << "Chs"
            << "^对讲机中的数据与写入的不一致：\n信道 2：接收频率 [0-9.]+（文件），[0-9.]+（对讲机）\n    数据块 0x0010\n\n请再写一次.*$";
        QTest::newRow("22 channels changed")
            << twentyTwo << "Eng"
            << "^The radio does not hold what was written:\nChannel 1: (.*\n    block 0x[0-9A-F]{4}\n){20}and 2 more\n\nWrite again;.*$";
        // The write's 942 blocks go through; the read-back stops at its 943rd.
        QTest::newRow("read-back fails") << QStringList{"--stop-at", "943"} << "Eng" << "^Communication error$";
    }
    void unconfirmedWriteIsNotSaved()
    {
        QFETCH(QStringList, faults);
        QFETCH(QString, language);
        QFETCH(QString, notice);
        Kvt270Simulator sim;
        QVERIFY(sim.start(QByteArray(int(RadioImageSize), char(0x33)), faults));
        QVERIFY(ProgramIni(sim.appDirectory()).write(QStringLiteral("Setup"), QStringLiteral("Language"), language));
        WritingProgram program;
        QVERIFY(program.start(sim));
        const QByteArray shown = program.app.document()->imageBytes();
        program.write();
        QCOMPARE(program.notices.size(), 1);
        QVERIFY2(program.notices.at(0).contains(QRegularExpression(notice)), qPrintable(program.notices.at(0)));
        // A check that found differences is titled as such; a failed read-back is a link error.
        const bool differs = !notice.startsWith(QStringLiteral("^Communication"));
        QCOMPARE(program.captions.at(0), differs ? notVerifiedCaption(LanguageIndex) : resources().string(ResId::AppTitle));
        QVERIFY(program.app.document()->isModified());
        QCOMPARE(program.rangeAtEnd, 944);
        // GridToImage before the write may only have rewritten the fixed fields.
        QCOMPARE(program.app.document()->imageBytes().left(0x630), shown.left(0x630));
        QCOMPARE(TransferBusy.load(), 0);
        program.app.exitInstance();
    }

    // The check box: shown for a write only, on unless Program.ini says Verify=0, and each
    // click is written there, the other keys kept.
    void verifySettingIsRemembered_data()
    {
        QTest::addColumn<QString>("ini");
        QTest::addColumn<bool>("checked");
        QTest::newRow("no file") << QString() << true;
        QTest::newRow("no key") << "[Setup]\nLanguage=Eng\nCOM=COM3\n" << true;
        QTest::newRow("off") << "[Setup]\nLanguage=Eng\nCOM=COM3\nVerify=0\n" << false;
        QTest::newRow("on") << "[setup]\nverify = 1\n" << true;
        QTest::newRow("bad value") << "[Setup]\nVerify=maybe\n" << true;
    }
    void verifySettingIsRemembered()
    {
        QFETCH(QString, ini);
        QFETCH(bool, checked);
        QTemporaryDir dir;
        const QString appDirectory = dir.path() + QLatin1Char('/');
        const QString path = dir.filePath(QStringLiteral("Program.ini"));
        if (!ini.isNull()) {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            QVERIFY(f.write(ini.toUtf8()) == ini.toUtf8().size() && f.flush());
            // The INI reader keeps a file it read and takes it again while size and time
            // stand: a rewrite within the same clock tick would pass unseen.
            QVERIFY(f.setFileTime(QDateTime::currentDateTime().addSecs(-10), QFileDevice::FileModificationTime));
        }
        {
            CProgramDoc document;
            CReadWriteDlg read(&document, QString(), appDirectory);
            QVERIFY(read.verifyCheckBox->isHidden());
            CReadWriteDlg write(&document, QString(), appDirectory);
            write.setReadFlag(false);
            QVERIFY(!write.verifyCheckBox->isHidden());
            QCOMPARE(write.verifyCheckBox->text(), QStringLiteral("Verify after writing"));
            QCOMPARE(write.verifyAfterWriting(), checked);
            write.verifyCheckBox->click();
        }
        const ProgramIni file(appDirectory);
        QCOMPARE(file.read(QStringLiteral("Setup"), QStringLiteral("Verify")), checked ? QString("0") : QString("1"));
        if (ini.contains(QLatin1String("COM3")))
            QCOMPARE(file.read(QStringLiteral("Setup"), QStringLiteral("COM")), QStringLiteral("COM3"));
        CProgramDoc document;
        CReadWriteDlg again(&document, QString(), appDirectory);
        again.setReadFlag(false);
        QCOMPARE(again.verifyAfterWriting(), !checked);
    }
};

REGISTER_TEST(TestVerifyWrite)
#include "tst_verifywrite.moc"
