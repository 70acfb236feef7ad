#pragma once
// The radio's side of the KVT560 programming protocol over a PtyLine: greeting, enter,
// block reads and writes, end, served from a 4 KiB memory, with optional faults.
#include <QByteArray>
#include <QList>
#include <QMap>
#include <QObject>
#include <QString>

class PtyLine;

struct Kvt560Faults
{
    bool silent = false;           // never answer
    int busyEnter = 0;             // busy replies to the first N enter frames
    QMap<int, int> busyBlock;      // address -> busy replies to its first N requests
    QMap<int, int> shortBlock;     // address -> data replies cut to half the data (check byte right)
    bool badCheckOnce = false;     // the first data reply carries a wrong check byte
    bool split = false;            // the first reply goes out in two parts ...
    int splitPauseMs = 100;        // ... with this pause between them
    bool echo = false;             // single-head cable: every received byte comes back first
    int stopAfter = -1;            // answer only the first N block requests (-1: all)
    QList<int> noAck;              // writes at these addresses are neither stored nor acknowledged
    int busyEach = 0;              // busy replies to the first N requests at every address
    QMap<int, int> wrongAddress;   // address -> well-formed data replies for the next block instead
    QMap<int, int> garbageBlock;   // address -> replies of random bytes (the length of a data reply)
    bool flood = false;            // from the first block request on: bytes without end, no replies
    int minGapMs = 0;              // a frame arriving sooner than this after the last reply is ignored
    int hangUpAt = 0;              // at the n-th block request the device side of the line closes (0: never)
    QList<int> corruptAt;          // a write covering one of these addresses stores that byte inverted
};

class Kvt560Radio : public QObject
{
    Q_OBJECT
public:
    static constexpr int MemorySize = 4096;

    Kvt560Radio(PtyLine *line, const Kvt560Faults &faults, QObject *parent = nullptr);

    // A radio from the factory: every byte 0xFF except the band limits (band 1 400-470 MHz,
    // band 2 136-174 MHz, receive and transmit).
    static QByteArray blankMemory();
    // Makes the band-limit block read as unprogrammed (all 0xFF).
    void clearBandLimits();

    void setMemory(const QByteArray &memory) { memory_ = memory; }
    const QByteArray &memory() const { return memory_; }
    void setSavePath(const QString &path) { savePath_ = path; }
    bool save() const;                      // writes the memory to the save path, if any
    void setVerbose(bool on) { verbose_ = on; }

private:
    void onReceived(const QByteArray &bytes);
    void handleFrame(const QByteArray &frame, qint64 receivedAt);
    void reply(const QByteArray &bytes, qint64 notBefore);
    QByteArray frame(quint8 command, const QByteArray &payload) const;
    bool blockRequestAllowed(int address, qint64 receivedAt);
    void log(const QString &text) const;

    PtyLine *line_;
    Kvt560Faults faults_;
    QByteArray memory_;
    QString savePath_;
    bool verbose_ = false;

    QByteArray pending_;          // bytes of a frame not yet complete
    qint64 lastByteAt_ = 0;
    bool greeted_ = false;
    bool programming_ = false;
    int answeredBlocks_ = 0;
    int blockRequests_ = 0;
    bool splitDone_ = false;
    QMap<int, int> busyEachCount_;   // busy replies given so far per address (--busy-each)
    quint32 randomState_ = 0x9E3779B9u;
};
