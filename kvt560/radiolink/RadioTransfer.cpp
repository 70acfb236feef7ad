#include "radiolink/RadioTransfer.h"

#include "radiolink/MemoryImage.h"
#include "radiolink/RadioFrame.h"
#include "radiolink/RadioLink.h"
#include "channels/ToneList.h"

namespace {

const QString EnterRequest = QStringLiteral("0600");
const QString EndRequest = QStringLiteral("64016F");
const QString Acknowledged = QStringLiteral("060006");
const QString Busy = QStringLiteral("090009");

using RadioFrame::toHexText;

// A data reply with a right check byte: the XOR of every byte but the last equals the last.
bool checkByteRight(const QString &reply)
{
    const QByteArray bytes = QByteArray::fromHex(reply.toLatin1());
    if (bytes.size() < 2 || bytes.size() * 2 != reply.size())
        return false;
    return RadioFrame::CheckByte(bytes.left(bytes.size() - 1)) == quint8(bytes.back());
}

// Whether a data reply answers the read of `length` bytes at `address`: its count, its
// address and the number of data bytes are those asked for.
bool answersRequest(const QString &reply, int address, int length)
{
    const QByteArray bytes = QByteArray::fromHex(reply.toLatin1());
    return bytes.size() == length + 5 && quint8(bytes.at(1)) == length + 2 && quint8(bytes.at(2)) == (address >> 8)
        && quint8(bytes.at(3)) == (address & 0xFF);
}

// The fast link's next gap after a request that got no reply: 5, 10, 20, 30, 40 ms. Each
// step costs a window without reply; each millisecond of gap costs a millisecond per request.
int nextGap(int gap)
{
    return qMin(RadioTransfer::MaxGapMs, gap < 20 ? qMax(5, 2 * gap) : gap + 10);
}

// A block whose transfer counts as a step of the gauge: all but the band limits and the aliases.
bool counted(MemoryLayout::BlockKind kind)
{
    return kind != MemoryLayout::BlockKind::BandLimits && kind != MemoryLayout::BlockKind::Alias;
}

} // namespace

RadioTransfer::RadioTransfer(RadioLink &link, const LinkTiming &timing, QObject *parent)
    : QObject(parent), m_link(link), m_timing(timing), m_marks(Marks::forLanguage(1))
{
}

QString RadioTransfer::greetingRequest()
{
    return QStringLiteral("0205") + toHexText(QByteArrayLiteral("ZAkro"));
}

QString RadioTransfer::greetingReply()
{
    QByteArray reply = QByteArrayLiteral("\x06\x06") + QByteArrayLiteral("dorvak");
    reply.append(char(RadioFrame::CheckByte(reply)));
    return toHexText(reply);
}

QString RadioTransfer::readRequest(int address, int length)
{
    QByteArray f;
    f.append(char(0x52));
    f.append(char(0x03));
    f.append(char(address >> 8));
    f.append(char(address & 0xFF));
    f.append(char(length));
    return toHexText(f);
}

QString RadioTransfer::writeRequest(int address, const QByteArray &data)
{
    QByteArray f;
    f.append(char(0x57));
    f.append(char(2 + data.size()));
    f.append(char(address >> 8));
    f.append(char(address & 0xFF));
    f.append(data);
    return toHexText(f);
}

RadioTransfer::Outcome RadioTransfer::read(Codeplug &codeplug)
{
    return run(ReadKind, codeplug, 0xFF);
}

RadioTransfer::Outcome RadioTransfer::write(const Codeplug &codeplug, quint8 firstChannel)
{
    Codeplug copy = codeplug;
    return run(WriteKind, copy, firstChannel);
}

RadioTransfer::Outcome RadioTransfer::run(int kind, Codeplug &codeplug, quint8 firstChannel)
{
    m_corrections.clear();
    m_refusal.clear();
    m_stopped = false;
    m_writeBlockCount = 0;
    if (kind == WriteKind) {
        // A frequency text with no form in memory would go out as 0xFF bytes and empty the
        // channel in the radio: nothing is sent then, not even the greeting.
        const QStringList unwritable = MemoryLayout::unwritableFields(codeplug.channels);
        if (!unwritable.isEmpty()) {
            m_refusal = QStringLiteral("Nothing was written to the radio:\n") + unwritable.join(QLatin1Char('\n'));
            return Outcome::Refused;
        }
    }
    Codeplug work = codeplug;
    m_memoryRead.fill(char(0xFF));
    m_memoryWritten.fill(char(0xFF));
    m_blocksWritten.clear();
    if (start()) {
        if (kind == ReadKind)
            readSequence(work);
        else if (kind == WriteKind)
            writeSequence(MemoryLayout::encodeMemory(codeplug, firstChannel, m_marks));
    }
    finish();
    m_stopRequested = false;
    if (m_portFailed)
        return Outcome::PortError;
    if (m_stopped) {
        m_corrections.clear();   // nothing of a stopped read reaches the document
        return Outcome::Stopped;
    }
    if (!m_linkOk)
        return Outcome::LinkError;
    if (kind == ReadKind)
        codeplug = work;
    return Outcome::Success;
}

bool RadioTransfer::start()
{
    m_link.close();
    m_link.wait(m_timing.portResetMs);
    m_portFailed = !m_link.open();
    m_link.wait(m_timing.portResetMs);

    m_stepCount = 0;
    m_retryCount = 2;
    m_linkOk = false;
    m_totalRepeats = 0;
    m_gapMs = 0;
    m_replied = false;
    emit progress(0);
    if (m_portFailed)
        return false;

    // The radio must answer the greeting with exactly its reply, nothing more or less.
    for (int attempt = 0; attempt < 6 && !m_linkOk && !stopHere(); ++attempt)
        m_linkOk = exchange(greetingRequest(), m_timing.handshakeMs) == greetingReply();
    if (!m_linkOk)
        return false;

    int repeats = 0;
    QString reply;
    do {
        reply = exchange(EnterRequest, m_timing.handshakeMs);
    } while (reply == Busy && repeatAllowed(repeats));
    m_linkOk = reply == Acknowledged;
    return m_linkOk;
}

void RadioTransfer::finish()
{
    waitGap();
    m_link.sendAndWait(EndRequest, m_timing.endMs);
}

// The pause the fast link learned, counted from the end of the radio's last reply.
void RadioTransfer::waitGap()
{
    if (!m_timing.fastLink || !m_replied || m_gapMs <= 0)
        return;
    const qint64 left = m_gapMs - m_sinceReply.elapsed();
    if (left > 0)
        m_link.wait(int(left));
}

QString RadioTransfer::exchange(const QString &request, int waitMs)
{
    if (!m_timing.fastLink)
        return m_link.exchange(request, waitMs);
    for (;;) {
        waitGap();
        const qint64 sentAfterReply = m_replied ? m_sinceReply.elapsed() : -1;
        QElapsedTimer window;
        window.start();
        const QString reply = m_link.exchangeUntilReply(request, waitMs);
        if (!reply.isEmpty()) {
            m_replied = true;
            m_sinceReply.start();
            // A busy radio gets the time before the repeat that the fixed window gives it.
            if (reply == Busy && window.elapsed() < waitMs)
                m_link.wait(int(waitMs - window.elapsed()));
            return reply;
        }
        // Silence after a request sent soon after a reply may be a radio that was not
        // listening yet: ask again with a longer gap while the gap can still grow. Any other
        // silence is the radio's answer, for the transfer's rules to judge.
        if (sentAfterReply < 0 || sentAfterReply >= MaxGapMs || m_gapMs >= MaxGapMs)
            return reply;
        m_gapMs = nextGap(m_gapMs);
        emit linkNote(QStringLiteral("fast link: no reply to %1 sent %2 ms after the radio's last reply; "
                                     "waiting %3 ms after each reply from now on")
                          .arg(request)
                          .arg(sentAfterReply)
                          .arg(m_gapMs));
    }
}

bool RadioTransfer::repeatAllowed(int &repeats)
{
    if (++m_totalRepeats > MaxTotalRepeats)
        return false;
    return ++repeats < MaxRepeats;
}

void RadioTransfer::step()
{
    ++m_stepCount;
    emit progress(m_stepCount);
}

void RadioTransfer::showMaximum(int maximum)
{
    emit progress(maximum);
}

bool RadioTransfer::stopHere()
{
    if (m_stopRequested)
        m_stopped = true;
    return m_stopped;
}

bool RadioTransfer::readBlock(int address, int length, bool secondAttempt, QByteArray &data)
{
    const QString request = readRequest(address, length);
    int repeats = 0;
    for (;;) {
        const QString reply = exchange(request, m_timing.blockMs);
        if (reply == Busy) {
            if (repeatAllowed(repeats))
                continue;
            break;
        }
        if (!reply.startsWith(QLatin1String("57"))) {
            repeats = 0;
            if (secondAttempt && --m_retryCount > 0)
                continue;
            break;
        }
        // A reply with a right check byte can still be the wrong one: cut short (fewer data
        // bytes than asked for), or well formed for another address. Either is asked for
        // again like a corrupted one, rather than taken with missing bytes read as 0xFF or
        // another block's bytes decoded into this one.
        const QByteArray received = QByteArray::fromHex(reply.mid(8, reply.size() - 10).toLatin1());
        if (!checkByteRight(reply) || !answersRequest(reply, address, length)) {
            if (repeatAllowed(repeats))
                continue;
            break;
        }
        data = received;
        if (address >= 0 && address + length <= MemorySize)
            m_memoryRead.replace(address, length, data);
        if (secondAttempt)
            m_retryCount = 2;
        return true;
    }
    m_linkOk = false;
    return false;
}

bool RadioTransfer::writeBlock(const MemoryLayout::MemoryBlock &block, const QByteArray &data, bool secondAttempt)
{
    const int address = block.address;
    const QString request = writeRequest(address, data);
    int repeats = 0;
    for (;;) {
        const QString reply = exchange(request, m_timing.blockMs);
        if (reply == Busy) {
            if (repeatAllowed(repeats))
                continue;
            break;
        }
        if (reply == Acknowledged) {
            if (secondAttempt)
                m_retryCount = 2;
            if (address >= 0 && address + data.size() <= MemorySize) {
                m_memoryWritten.replace(address, data.size(), data);
                m_blocksWritten.append({address, int(data.size()), block.kind});
            }
            return true;
        }
        repeats = 0;
        if (secondAttempt && --m_retryCount > 0)
            continue;
        break;
    }
    m_linkOk = false;
    return false;
}

void RadioTransfer::readSequence(Codeplug &work)
{
    using namespace MemoryLayout;
    const MemoryBlocks blocks = readBlocks();
    QByteArray data;
    bool complete = true;
    for (int i = 0; i < blocks.size() && complete && !stopHere(); ++i) {
        const MemoryBlock &b = blocks.at(i);
        // Channel records and the call list get a second attempt after a reply that is no
        // data reply.
        const bool secondAttempt = b.kind == BlockKind::Channel || b.kind == BlockKind::CallList;
        complete = readBlock(b.address, b.length, secondAttempt, data);
        if (!complete)
            break;
        if (secondAttempt)
            m_retryCount = 2;
        if (i + 1 == blocks.size())
            showMaximum(ReadMaximum);
        else if (counted(b.kind))
            step();
    }
    // The image is decoded once; the fields read as their nearest valid value are reported
    // also for a read that stopped part way (the channels read so far).
    QList<Correction> corrected;
    decodeMemory(m_memoryRead, work, m_marks, m_tones ? *m_tones : ToneList::instance(), &corrected);
    for (const Correction &c : corrected)
        m_corrections << c.text();
}

void RadioTransfer::writeSequence(const MemoryLayout::MemoryImage &image)
{
    using namespace MemoryLayout;
    QByteArray data;

    // A radio without band limits is not written at all.
    if (!readBlock(BandAddress, BlockSize, false, data))
        return;
    if (toHexText(data).startsWith(QLatin1String("FFF"))) {
        m_linkOk = false;
        return;
    }

    const MemoryBlocks &blocks = image.blocks;
    m_writeBlockCount = int(blocks.size());
    int i = 0;
    for (; i < blocks.size() && (blocks.at(i).kind == BlockKind::Channel || blocks.at(i).kind == BlockKind::Alias); ++i) {
        if (stopHere())
            return;
        const MemoryBlock &b = blocks.at(i);
        if (b.kind == BlockKind::Channel) {
            // A channel the radio does not take ends the write.
            if (!writeBlock(b, image.block(b), true))
                return;
            step();
            m_retryCount = 2;
        } else {
            // An alias the radio does not acknowledge fails the transfer, but the remaining
            // channels are still written.
            writeBlock(b, image.block(b), false);
        }
    }
    // The other blocks go by kind: a kind is sent whole when the link was still good as it
    // began, and not at all after a failure.
    while (i < blocks.size()) {
        const BlockKind kind = blocks.at(i).kind;
        const bool send = m_linkOk;
        for (; i < blocks.size() && blocks.at(i).kind == kind; ++i) {
            if (stopHere())
                return;
            if (!send)
                continue;
            writeBlock(blocks.at(i), image.block(blocks.at(i)), false);
            if (i + 1 == blocks.size())
                showMaximum(WriteMaximum);
            else
                step();
        }
    }
}
