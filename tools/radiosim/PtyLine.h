#pragma once
// The device side of a simulated radio: a pseudo-terminal whose slave path is handed to the
// program under test. Bytes the program writes arrive through received(); bytes queued with
// send() go back to it, paced like a 9600 baud line unless pacing is off.
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

signals:
    void received(const QByteArray &bytes);

private:
    void readMaster();
    void pump();

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
    QTimer pumpTimer_;
};
