#pragma once
// The device side of a simulated radio: a pseudo-terminal whose slave path is handed to the
// program under test. Bytes the program writes arrive through received(); bytes queued with
// send() go back to it, paced like a 9600 baud line unless pacing is off: each byte is handed
// over when its ten bits would have arrived, timed with a nanosecond timer (timerfd) so that
// the line is neither faster nor slower than a real one.
#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>
#include <deque>

class QSocketNotifier;

class PtyLine : public QObject
{
    Q_OBJECT
public:
    // One byte of 8N1 at 9600 baud: 10 bits.
    static constexpr qint64 ByteTimeNs = 10LL * 1000000000LL / 9600;

    explicit PtyLine(QObject *parent = nullptr);
    ~PtyLine() override;

    bool open();                       // false with errorString() on failure
    QString slavePath() const { return slavePath_; }
    QString errorString() const { return error_; }

    void setPacing(bool on) { pacing_ = on; }
    bool pacing() const { return pacing_; }

    // Nanoseconds since the line was opened.
    qint64 now() const { return clock_.nsecsElapsed(); }

    // Queues bytes to send, not before `notBeforeNs` and at least `gapNs` after the bytes
    // queued before them have gone out.
    void send(const QByteArray &bytes, qint64 notBeforeNs = 0, qint64 gapNs = 0);

    // Closes the device side for good, as a cable pulled out: the program's reads and
    // writes fail from now on and nothing more is received or sent.
    void hangUp();

    // Sends bytes without end, as fast as the program's side takes them and ignoring the
    // pacing: a radio gone mad. Nothing queued with send() goes out any more.
    void startFlood();

    // Bytes that crossed the line: received from the program, and sent to it.
    qint64 bytesReceived() const { return bytesReceived_; }
    qint64 bytesSent() const { return bytesSent_; }
    // Whether bytes queued with send() are still waiting to go out.
    bool sending() const { return !queue_.empty(); }
    // When the last byte sent so far has left the line (ns since open; 0: nothing sent yet).
    qint64 lastSentEnd() const { return lastSentEnd_; }

signals:
    void received(const QByteArray &bytes);

private:
    void readMaster();
    void pump();
    void flood();
    void armTimer(qint64 dueNs);   // pump() again at dueNs (ns since open)
    void timerFired();

    struct Chunk {
        QByteArray bytes;
        qint64 notBeforeNs;
        qint64 gapNs;
    };

    int master_ = -1;
    int slave_ = -1;   // held open so that the master never sees a hang-up between opens
    QString slavePath_;
    QString error_;
    QSocketNotifier *notifier_ = nullptr;
    bool pacing_ = true;
    QElapsedTimer clock_;
    std::deque<Chunk> queue_;
    qint64 nextByteAt_ = 0;
    bool chunkStarted_ = false;
    int timerFd_ = -1;
    QSocketNotifier *timerNotifier_ = nullptr;
    bool timerArmed_ = false;
    QTimer floodTimer_;
    qint64 bytesReceived_ = 0;
    qint64 bytesSent_ = 0;
    qint64 lastSentEnd_ = 0;
    quint32 floodSeed_ = 0x2545F491u;
};
