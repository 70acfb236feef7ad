#pragma once
// The exchange with a KVT270 radio: the handshake and the copy of a memory image to or from
// the radio in 8-byte blocks, over the serial port named by a port name (see portDevice).
//
// One RadioTransfer object is one transfer. It runs either on a worker thread of its own
// (start(), for the progress dialog) or in the calling thread (runHere(), for a command-line
// front end). It shows nothing itself: it reports through signals, which reach receivers in
// other threads queued.
//
//     RadioTransfer t(true, portName, document.imageBytes(), appDirectory);   // a read
//     connect(&t, &RadioTransfer::progress, ...);
//     RadioTransfer::Result r = t.runHere();     // or t.start() and wait for finished()
//
// The transfer works on its own copy of the image it is given; the worker thread touches
// nothing else. A write sends that copy. A read fills it block by block and hands it back in
// finished() and image() only when every block arrived; the caller puts it into the document,
// so a failed read leaves the document as it was.
#include "common/PortDiagnosis.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>

#include <atomic>

class QThread;
class TransferPort;

// 1 while a transfer runs, else 0. Taken with an atomic test-and-set when a transfer starts,
// so that a quick second press of Start cannot begin a second transfer.
extern std::atomic<int> TransferBusy;

class RadioTransfer : public QObject
{
    Q_OBJECT
public:
    enum Result {
        Success = 0,
        PortOpenFailed,        // the port is missing, in use, or the port name is empty
        CommunicationError,    // no acknowledgement, or a block reply cut short or not for its block
        Busy,                  // another transfer is running; nothing was done
        Stopped,               // requestStop() ended the transfer before its last block
    };
    Q_ENUM(Result)

    // Number of blocks and thus the upper bound of the progress: 944 for a read, 942 for a write.
    static constexpr int ReadBlockCount = 944;
    static constexpr int WriteBlockCount = 942;
    static constexpr int BlockSize = 8;

    // Block addresses in transfer order: 0x0000-0x1D48, then 0x1FD0-0x1FF8 (read) or
    // 0x1FD0-0x1FE8 (write).
    static QList<int> blockAddresses(bool read);
    static int blockCount(bool read) { return read ? ReadBlockCount : WriteBlockCount; }

    // The percentage text "P%": position * 100 / upper, integer division.
    static QString percentText(int position, int upper);

    // The notice of a failed transfer in the language of languageIndex (0 English,
    // 1 Simplified Chinese, 2 Traditional Chinese; others English). Empty for Success.
    static QString failureText(Result result, int languageIndex);
    // The caption of the progress dialog: "Read Data" / "Write Data" and their Chinese forms.
    static QString title(bool read, int languageIndex);

    // read: true to copy the radio into the image, false to copy the image into the radio.
    // portName: as in Program.ini ("COM3"); image: the image to write, or to read into
    // (blocks the radio does not send keep its bytes), RadioImageSize bytes (a shorter one is
    // filled up with 0xFF); appDirectory: where Program.ini with its [Ports] section lies.
    RadioTransfer(bool read, const QString &portName, const QByteArray &image, const QString &appDirectory,
                  QObject *parent = nullptr);
    // Stops a running worker thread and waits for it to end.
    ~RadioTransfer() override;

    bool isRead() const { return m_read; }
    QString portName() const { return m_portName; }

    // Runs the whole transfer in the calling thread and returns its result; signals are
    // emitted from the calling thread.
    Result runHere();
    // Runs the whole transfer in the calling thread over `port` instead of the serial port of
    // the port name (which is not used): a radio simulated in the process, for tests.
    Result runOn(TransferPort &port);

    // Starts the transfer on a new worker thread. Returns false, doing nothing, when another
    // transfer is running (TransferBusy) or this one was started before.
    bool start();
    // Blocks until the worker thread has ended (at once when none was started).
    void wait();
    // Asks a running transfer to end before its next step (any thread). A read that stops
    // gives no image; the radio keeps what a stopped write sent so far.
    void requestStop() { m_stopRequested = true; }

    // After the transfer: its result, and for a failure a plain description for diagnostics
    // (device, the system's reason, the block that failed).
    Result result() const { return m_result; }
    QString detail() const { return m_detail; }
    // The device the port name stood for, and for PortOpenFailed why it did not open.
    QString device() const { return m_device; }
    PortProblem portProblem() const { return m_portProblem; }
    // The device went away (a cable pulled out) during the transfer.
    bool deviceLost() const { return m_deviceLost; }
    // The blocks the radio acknowledged; for a stopped write, what the radio took.
    int blocksDone() const { return m_blocksDone; }
    // The transfer's image: after a successful read, what the radio holds on the read ranges.
    // Read it once the transfer is over (after runHere() or finished()).
    QByteArray image() const { return m_image; }

signals:
    // The port is open: from here on the transfer ends by itself or at requestStop().
    void portOpened();
    // A block is done: position 1 .. upper.
    void progress(int position, int upper);
    // The transfer is over, the port is closed and TransferBusy is 0 again. image: the
    // transfer's image, for a successful read the image read.
    void finished(RadioTransfer::Result result, const QByteArray &image);

private:
    // The procedure itself; TransferBusy is already 1 and is cleared on the way out.
    int TransferThread();
    Result transfer(TransferPort &port);
    bool claim();
    Result fail(Result result, const QString &detail);

    const bool m_read;
    const QString m_portName;
    const QString m_appDirectory;
    QByteArray m_image;
    QThread *m_thread = nullptr;
    bool m_started = false;
    std::atomic<bool> m_stopRequested{false};
    Result m_result = Busy;
    QString m_detail;
    QString m_device;
    PortProblem m_portProblem;
    bool m_deviceLost = false;
    int m_blocksDone = 0;
};
