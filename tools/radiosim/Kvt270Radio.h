#pragma once
// The radio's side of the KVT270 programming protocol over a PtyLine, served from an 8 KiB
// memory: the greeting (0x02 "PROGRA", sent one byte at a time), the identification request
// "M" 0x02 with its 8-byte reply, the confirmation 0x06, and block reads ("R" hi lo 8, reply
// of 12 bytes, then an acknowledgement both ways) and block writes ("W" hi lo 8 and 8 data
// bytes, acknowledged with 0x06). Optional faults for the tests.
#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>

class PtyLine;

struct Kvt270Faults
{
    bool silent = false;       // never answer
    bool refuseGreeting = false;  // answer the greeting with 0x07
    char ack = 0x06;           // the acknowledgement byte (0x16 for radios that send it)
    int stopAt = 0;            // from the n-th block request on (counting from 1), no reply (0: never)
    int shortAt = 0;           // the n-th block request gets a reply cut to 7 bytes (0: never)
    int hangUpAt = 0;          // at the n-th block request the device side of the line closes (0: never)
    QList<int> corruptAt;      // a write covering one of these addresses stores that byte inverted
};

class Kvt270Radio : public QObject
{
    Q_OBJECT
public:
    static constexpr int MemorySize = 8192;

    Kvt270Radio(PtyLine *line, const Kvt270Faults &faults, QObject *parent = nullptr);

    // A radio from the factory: every byte 0xFF except the model and band bytes (0x1FE0,
    // 0x1FE1), which are 0.
    static QByteArray blankMemory();

    void setMemory(const QByteArray &memory) { memory_ = memory; }
    const QByteArray &memory() const { return memory_; }
    // Every byte received from the program is appended to this file as it arrives.
    void setRecordPath(const QString &path) { recordPath_ = path; }
    // The memory is written to this file a moment after a write and on exit.
    void setSavePath(const QString &path) { savePath_ = path; }
    bool save() const;
    void setVerbose(bool on) { verbose_ = on; }

private:
    enum class State { Idle, Greeted, Identified, Programming };

    void onReceived(const QByteArray &bytes);
    // Handles one message at the start of pending_; returns false when more bytes are needed.
    bool handleNext(qint64 receivedAt);
    void reply(const QByteArray &bytes, qint64 notBefore);
    bool blockRequest(qint64 receivedAt);   // false: the fault leaves the request unanswered
    void record(const QByteArray &bytes) const;
    void log(const QString &text) const;

    PtyLine *line_;
    Kvt270Faults faults_;
    QByteArray memory_;
    QString savePath_;
    QString recordPath_;
    bool verbose_ = false;
    QTimer saveTimer_;

    State state_ = State::Idle;
    QByteArray pending_;
    qint64 lastByteAt_ = 0;
    int blockRequests_ = 0;
    bool lineGone_ = false;
};
