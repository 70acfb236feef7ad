// The Read and Write commands with their progress dialog CReadWriteDlg, run modally against
// the simulated radio; the answers to the dialog are scheduled before it is shown.
#include "Kvt270Simulator.h"
#include "TestRegistry.h"
#include "base/Globals.h"
#include "files/CProgramDoc.h"
#include "radiolink/PortDevice.h"
#include "radiolink/RadioTransfer.h"
#include "radiolink/ui/CReadWriteDlg.h"
#include "radiolink/ui/RadioCommands.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

namespace {

// The image the document holds when a test begins.
QByteArray startImage()
{
    return QByteArray(int(RadioImageSize), char(0x5A));
}

// What the commands did, in order, and what the dialog showed.
struct Bench {
    CProgramDoc document;
    RadioCommands commands;
    QStringList events;              // "commitEdit", "dialog", the steps of the document ("Read")
    QByteArray imageAtDialog;        // the document's image when the dialog showed
    QStringList notices;
    QString caption;
    int range = -1;
    QString labelBefore;
    QString labelAfter;
    bool buttonsDisabledWhileRunning = false;
    bool stayedOpenWhileRunning = false;
    bool started = false;

    // press: the button the user presses once the dialog shows; port: the port of the
    // transfer; appDirectory: the folder of its Program.ini.
    explicit Bench(const QString &press, const QString &port = QString(), const QString &appDirectory = QString())
        : commands(&document, nullptr, appDirectory)
    {
        document.editImage([](ImageBytes &image) { copyIntoImage(image, startImage()); });
        document.markClean();
        commands.portName = [port] { return port; };
        commands.commitEdit = [this] { events << "commitEdit"; };
        QObject::connect(&document, &CProgramDoc::stepRecorded, [this](const QString &label) { events << label; });
        commands.dialogCreated = [this, press](CReadWriteDlg &dialog) {
            events << "dialog";
            imageAtDialog = document.imageBytes();
            dialog.showMessage = [this](const QString &, const QString &text) { notices << text; };
            QObject::connect(&dialog, &QDialog::finished, &dialog, [this, &dialog] {
                labelAfter = dialog.percentLabel->text();
            });
            // Half-way through, the user tries Escape and the close box.
            QObject::connect(dialog.progressBar, &QProgressBar::valueChanged, &dialog, [this, &dialog](int value) {
                if (value != 100)
                    return;
                buttonsDisabledWhileRunning = !dialog.startButton->isEnabled() && !dialog.cancelButton->isEnabled();
                QTest::keyClick(&dialog, Qt::Key_Escape);
                dialog.close();
                stayedOpenWhileRunning = dialog.isVisible() && dialog.state() == CReadWriteDlg::Running;
            });
            QTimer::singleShot(0, &dialog, [this, &dialog, press] {
                caption = dialog.windowTitle();
                range = dialog.progressBar->maximum();
                labelBefore = dialog.percentLabel->text();
                started = press == "start";
                (press == "start" ? dialog.startButton : dialog.cancelButton)->click();
            });
        };
    }
};

// What the radio receives before the first block: the greeting, the identification request
// and the confirmation; then per block a read request and its acknowledgement, or a write
// request with its data.
constexpr int HandshakeBytes = 7 + 2 + 1;
constexpr int ReadExchangeBytes = 4 + 1;
constexpr int WriteExchangeBytes = 4 + 8;

// The user presses Stop once the bar reaches `position` (and answers the question of a write
// with `answer`); portText gets the port line of the dialog.
void stopAt(Bench &bench, int position, QString *portText, std::function<bool()> answer = {})
{
    const auto shown = bench.commands.dialogCreated;
    bench.commands.dialogCreated = [=](CReadWriteDlg &dialog) {
        shown(dialog);
        if (portText)
            *portText = dialog.portLabel->text();
        if (answer)
            dialog.confirmStop = answer;
        // Once: the read-back of a write runs the bar again.
        auto pressed = std::make_shared<bool>(false);
        QObject::connect(dialog.progressBar, &QProgressBar::valueChanged, &dialog,
                         [&dialog, position, pressed](int value) {
                             if (value != position || *pressed)
                                 return;
                             *pressed = true;
                             dialog.stopButton->click();
                         });
    };
}

} // namespace

class TestReadWriteDialog : public QObject
{
    Q_OBJECT

private slots:
    void init() { LanguageIndex = LanguageEnglish; }
    void cleanup() { LanguageIndex = LanguageEnglish; }

    // Cancel before Start: the caption and range of the command, nothing read, grid untouched.
    void cancelBeforeStart_data()
    {
        QTest::addColumn<bool>("read");
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("range");
        QTest::newRow("read, English") << true << 0 << "Read Data" << 944;
        QTest::newRow("read, Simplified") << true << 1 << "读数据" << 944;
        QTest::newRow("write, Traditional") << false << 2 << "寫數據" << 942;
    }
    void cancelBeforeStart()
    {
        QFETCH(bool, read);
        QFETCH(int, language);
        LanguageIndex = std::uint8_t(language);
        Bench bench("cancel");
        QVERIFY(!(read ? bench.commands.onRead() : bench.commands.onWrite()));
        QFETCH(QString, caption);
        QFETCH(int, range);
        QCOMPARE(bench.caption, caption);
        QCOMPARE(bench.range, range);
        QCOMPARE(bench.events, (QStringList{"commitEdit", "dialog"}));
        // Before a write the values went into the image; a read leaves the document alone.
        QCOMPARE(bench.imageAtDialog,
                 read ? startImage() : toByteArray(CProgramDoc::storedImage(imageFromBytes(startImage()))));
    }

    // A read through the dialog: the grid goes into the image first, the percentage runs
    // from 0% to 100%, Escape and the close box do not end the transfer, and the grid is
    // refreshed from the image the radio sent.
    void readThroughDialog()
    {
        const QByteArray radio = PatternMemory(5);
        Kvt270Simulator sim;
        QVERIFY(sim.start(radio));
        Bench bench("start", "COM1", sim.appDirectory());
        QVERIFY(bench.commands.onRead());
        QCOMPARE(bench.events, (QStringList{"commitEdit", "dialog", "Read"}));
        QCOMPARE(bench.notices, QStringList());
        QCOMPARE(bench.labelBefore, QString("0%"));
        QCOMPARE(bench.labelAfter, QString("100%"));
        QVERIFY(bench.buttonsDisabledWhileRunning);
        QVERIFY(bench.stayedOpenWhileRunning);
        QCOMPARE(bench.document.imageBytes().left(0x1D50), radio.left(0x1D50));
        QCOMPARE(bench.document.imageBytes().mid(0x1FD0), radio.mid(0x1FD0));
        QVERIFY(!bench.document.isModified());
    }

    // Failures: one notice in the current language, the dialog closes by itself, and after a
    // read the image and the grid stay as they were.
    void failures_data()
    {
        QTest::addColumn<bool>("read");
        QTest::addColumn<QString>("port");
        QTest::addColumn<QStringList>("faults");
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("notice");
        QTest::newRow("empty port name") << true << "" << QStringList() << 0 << "Could not open the port";
        QTest::newRow("empty port name, Traditional") << false << "" << QStringList() << 2 << "無法打開串口";
        QTest::newRow("read stops at block 500") << true << "COM1" << QStringList{"--stop-at", "500"} << 0
                                                 << "Communication error";
        QTest::newRow("write stops at block 5, Simplified") << false << "COM1" << QStringList{"--stop-at", "5"} << 1
                                                            << "通信出錯";
        // A cable pulled out: the message says so below the communication error.
        QTest::newRow("read, line gone at block 300")
            << true << "COM1" << QStringList{"--hang-up-at", "300"} << 0
            << "Communication error\n{device} went away during the transfer; nothing was changed.";
        QTest::newRow("write, line gone at block 300")
            << false << "COM1" << QStringList{"--hang-up-at", "300"} << 0
            << "Communication error\n{device} went away during the transfer; the radio may be partly written.";
    }
    void failures()
    {
        QFETCH(bool, read);
        QFETCH(QString, port);
        QFETCH(QStringList, faults);
        QFETCH(int, language);
        QFETCH(QString, notice);
        Kvt270Simulator sim;
        QVERIFY(sim.start(PatternMemory(5), faults));
        LanguageIndex = std::uint8_t(language);
        Bench bench("start", port, sim.appDirectory());
        const QByteArray before =
            read ? startImage() : toByteArray(CProgramDoc::storedImage(imageFromBytes(startImage())));
        QVERIFY(!(read ? bench.commands.onRead() : bench.commands.onWrite()));
        QCOMPARE(bench.notices,
                 QStringList{notice.replace(QLatin1String("{device}"), portDevice(port, sim.appDirectory()))});
        QCOMPARE(bench.events, (QStringList{"commitEdit", "dialog"}));
        QCOMPARE(bench.document.imageBytes(), before);
        QCOMPARE(TransferBusy.load(), 0);
    }

    // Stop half-way through a read: the notice says nothing changed, and the document keeps
    // its image, its steps and its unmodified state.
    void stopRead()
    {
        Kvt270Simulator sim;
        QVERIFY(sim.start(PatternMemory(5)));
        Bench bench("start", "COM1", sim.appDirectory());
        QString portText;
        stopAt(bench, RadioTransfer::ReadBlockCount / 2, &portText);
        QVERIFY(!bench.commands.onRead());
        QCOMPARE(portText, "Port: COM1 (" + sim.sim.device() + ")");
        QCOMPARE(bench.notices, QStringList{"Reading stopped. Nothing was changed."});
        QCOMPARE(bench.events, (QStringList{"commitEdit", "dialog"}));
        QCOMPARE(bench.document.imageBytes(), startImage());
        QVERIFY(!bench.document.isModified());
        QCOMPARE(TransferBusy.load(), 0);
        // The radio saw the read end between two blocks, short of the last.
        const int blocks = (sim.received().size() - HandshakeBytes) / ReadExchangeBytes;
        QVERIFY(blocks >= RadioTransfer::ReadBlockCount / 2 && blocks < RadioTransfer::ReadBlockCount);
        QCOMPARE(sim.received().size(), HandshakeBytes + blocks * ReadExchangeBytes);
    }

    // Stop during a write asks first. Yes: the write ends after a whole block, the radio holds
    // the blocks it acknowledged and its old memory behind them, and the notice counts the
    // blocks. No: the write goes on to its end.
    void stopWrite_data()
    {
        QTest::addColumn<bool>("agree");
        QTest::newRow("stop") << true;
        QTest::newRow("go on") << false;
    }
    void stopWrite()
    {
        QFETCH(bool, agree);
        const QByteArray radio = PatternMemory(9);
        Kvt270Simulator sim;
        QVERIFY(sim.start(radio));
        Bench bench("start", "COM1", sim.appDirectory());
        int questions = 0;
        stopAt(bench, RadioTransfer::WriteBlockCount / 2, nullptr, [&] {
            ++questions;
            return agree;
        });
        QCOMPARE(bench.commands.onWrite(), !agree);
        QCOMPARE(questions, 1);
        QCOMPARE(TransferBusy.load(), 0);
        const QByteArray received = sim.received();
        const QByteArray after = sim.memoryAfter();
        const QList<int> plan = RadioTransfer::blockAddresses(false);
        if (!agree) {
            QCOMPARE(bench.notices, QStringList());
            for (const int a : plan)
                QCOMPARE(after.mid(a, 8), bench.imageAtDialog.mid(a, 8));
            return;
        }
        // Every block the radio received came whole: 4 bytes of request, 8 of data.
        const int blocks = (received.size() - HandshakeBytes) / WriteExchangeBytes;
        QCOMPARE(received.size(), HandshakeBytes + blocks * WriteExchangeBytes);
        QVERIFY(blocks >= RadioTransfer::WriteBlockCount / 2 && blocks < RadioTransfer::WriteBlockCount);
        QCOMPARE(bench.notices, QStringList{QString("Writing stopped after %1 of 942 blocks. The radio is left partly "
                                                    "written.").arg(blocks)});
        for (int k = 0; k < plan.size(); ++k) {
            const int a = plan[k];
            QCOMPARE(after.mid(a, 8), (k < blocks ? bench.imageAtDialog : radio).mid(a, 8));
        }
    }

    // The notice itself: a message box captioned with the application title.
    void noticeIsMessageBox()
    {
        CProgramDoc document;
        CReadWriteDlg dialog(&document, QString(), QString());
        QString caption, text;
        QTimer::singleShot(0, &dialog, [&] { dialog.startButton->click(); });
        // The message box opens from the dialog's modal loop; answer it when it shows.
        QTimer poll;
        connect(&poll, &QTimer::timeout, this, [&] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                caption = box->windowTitle();
                text = box->text();
                box->button(QMessageBox::Ok)->click();
            }
        });
        poll.start(10);
        QCOMPARE(dialog.exec(), int(QDialog::Rejected));
        QCOMPARE(caption, QString("KVT PC Encoder"));
        QCOMPARE(text, QString("Could not open the port"));
        QVERIFY(!dialog.success());
    }
};

REGISTER_TEST(TestReadWriteDialog)
#include "tst_readwritedialog.moc"
