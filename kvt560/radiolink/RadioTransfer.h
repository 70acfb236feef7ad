#pragma once
// One conversation with the radio: the transfer start (port reset, greeting, enter), the
// read or write sequence block by block, and the end frame. It runs to its end inside the
// call, waiting on the link with the fixed windows of LinkTiming while the application keeps
// processing events, and reports its progress as the gauge value.
//
// A read works on a copy of the codeplug it is given and hands the copy back only when every
// block arrived, so that a failed read leaves the caller's codeplug untouched. Busy replies,
// data replies with a wrong check byte and data replies cut short (fewer data bytes than
// asked for), and data replies whose count or address is not the one asked for are answered
// by repeating the request, but at most MaxRepeats times in a row for the same request and
// MaxTotalRepeats times in the whole transfer: a radio that keeps doing so fails the
// transfer instead of holding the program for minutes.
//
// With the fast link (LinkTiming::fastLink) every wait for a reply ends as soon as the reply
// is complete. A request that gets no reply although it went out soon after the radio's last
// reply may have come before the radio listened again: the transfer then asks again after a
// longer pause (the gap: 0, then 5, 10, 20, 30, 40 ms after each reply), keeps that gap for the
// rest of the transfer and reports it with linkNote(). A busy reply is repeated only after
// the window it would have had, as with the standard link.
#include "channels/Marks.h"
#include "radiolink/Codeplug.h"
#include "radiolink/MemoryImage.h"
#include "radiolink/LinkTiming.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

class RadioLink;
class ToneList;

class RadioTransfer : public QObject
{
    Q_OBJECT
public:
    enum Kind { ReadKind = 1, WriteKind = 2 };   // the dialog's Tag
    enum class Outcome {
        Success,
        LinkError,   // the radio did not answer as expected: the link notice
        PortError,   // the serial port could not be reopened: the port notice
        Refused,     // a write that would lose a channel was not started: refusal() says why
        Stopped,     // requestStop() ended the transfer before its last block
    };
    static constexpr int ReadMaximum = 138;    // gauge maximum of a read
    static constexpr int WriteMaximum = 148;   // gauge maximum of a write
    static constexpr int MaxRepeats = 20;      // busy or wrong-check replies in a row
    static constexpr int MaxTotalRepeats = 256;   // repeats of any request in one transfer
    static constexpr int MaxGapMs = 40;        // the longest pause the fast link learns

    explicit RadioTransfer(RadioLink &link, const LinkTiming &timing = LinkTiming::standard(),
                           QObject *parent = nullptr);

    // The marks that channel cells are written with (read) and recognised by (write).
    void setMarks(const Marks &marks) { m_marks = marks; }
    void setToneList(const ToneList *tones) { m_tones = tones; }
    void setTiming(const LinkTiming &timing) { m_timing = timing; }

    // Reads the radio. Every channel row is replaced; the settings the radio holds are
    // replaced, the others (such as the change-password box) keep their values in the copy.
    // `codeplug` changes only on Success.
    Outcome read(Codeplug &codeplug);
    // Writes the codeplug; firstChannel goes into byte 0 of settings block 1.
    Outcome write(const Codeplug &codeplug, quint8 firstChannel);
    // The transfer of the given kind; any other kind performs only the start and the end.
    Outcome run(int kind, Codeplug &codeplug, quint8 firstChannel);
    // Asks the running transfer to end before its next block (from a slot that runs while it
    // waits on the link). The end frame still goes out; a stopped read hands nothing back,
    // a stopped write leaves the radio with the blocks it acknowledged so far.
    void requestStop() { m_stopRequested = true; }
    // The blocks of the last write's image, for "n of m blocks" after a stop.
    int writeBlockCount() const { return m_writeBlockCount; }

    int stepCount() const { return m_stepCount; }
    // After a read: one text per channel field that held no valid value and was read as the
    // nearest valid one (MemoryLayout::Correction::text()).
    QStringList corrections() const { return m_corrections; }
    // After a refused write: the channels and fields that cannot be written, one per line.
    QString refusal() const { return m_refusal; }
    // The pause the fast link learned to leave after each reply (ms).
    int gapMs() const { return m_gapMs; }

    // The radio's memory as the last transfer saw it, 4096 bytes: every block read (a read)
    // or written and acknowledged (a write) at its address, 0xFF everywhere else. A backup
    // keeps the bytes of a read; the check after a write compares the two.
    static constexpr int MemorySize = MemoryLayout::MemorySize;
    const QByteArray &memoryRead() const { return m_memoryRead; }
    const QByteArray &memoryWritten() const { return m_memoryWritten; }
    // The blocks the last write sent and the radio acknowledged: address, length.
    const MemoryLayout::MemoryBlocks &blocksWritten() const { return m_blocksWritten; }

    // Reply texts of the protocol.
    static QString greetingRequest();
    static QString greetingReply();
    static QString readRequest(int address, int length);
    static QString writeRequest(int address, const QByteArray &data);

signals:
    // The gauge value: the step count, or the maximum when the sequence completed.
    void progress(int value);
    // What the link learned on the way (the fast link's gap), for a verbose log.
    void linkNote(const QString &text);

private:
    bool start();
    void finish();
    // One exchange with the standard or the fast link.
    QString exchange(const QString &request, int waitMs);
    void waitGap();
    // Reads the blocks of MemoryLayout::readBlocks into m_memoryRead and decodes the image
    // into work.
    void readSequence(Codeplug &work);
    // Sends the blocks of the image in its order.
    void writeSequence(const MemoryLayout::MemoryImage &image);
    // One block read: repeats while busy; with a second attempt for channel records and
    // the call list. False (and LinkOk false) when the block could not be read.
    bool readBlock(int address, int length, bool secondAttempt, QByteArray &data);
    bool writeBlock(const MemoryLayout::MemoryBlock &block, const QByteArray &data, bool secondAttempt);
    // Counts a busy, wrong-check or short reply; false when the limit in a row is reached.
    bool repeatAllowed(int &repeats);
    void step();
    void showMaximum(int maximum);
    // True (and the transfer marked stopped) once a stop was requested.
    bool stopHere();

    RadioLink &m_link;
    LinkTiming m_timing;
    Marks m_marks;
    const ToneList *m_tones = nullptr;
    bool m_linkOk = false;
    bool m_portFailed = false;
    bool m_stopRequested = false;
    bool m_stopped = false;        // the sequence ended at a stop request
    int m_writeBlockCount = 0;
    int m_retryCount = 2;
    int m_stepCount = 0;
    QStringList m_corrections;
    QString m_refusal;
    int m_totalRepeats = 0;
    int m_gapMs = 0;
    bool m_replied = false;        // the radio has replied in this transfer; m_sinceReply runs
    QElapsedTimer m_sinceReply;
    QByteArray m_memoryRead = QByteArray(MemorySize, char(0xFF));
    QByteArray m_memoryWritten = QByteArray(MemorySize, char(0xFF));
    MemoryLayout::MemoryBlocks m_blocksWritten;
};
