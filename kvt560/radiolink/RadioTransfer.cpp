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
    : QObject(parent), link_(link), timing_(timing), marks_(Marks::forLanguage(1))
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
    corrections_.clear();
    refusal_.clear();
    if (kind == WriteKind) {
        // A frequency text with no form in memory would go out as 0xFF bytes and empty the
        // channel in the radio: nothing is sent then, not even the greeting.
        const QStringList unwritable = MemoryLayout::unwritableFields(codeplug.channels);
        if (!unwritable.isEmpty()) {
            refusal_ = QStringLiteral("Nothing was written to the radio:\n") + unwritable.join(QLatin1Char('\n'));
            return Outcome::Refused;
        }
    }
    Codeplug work = codeplug;
    memoryRead_.fill(char(0xFF));
    memoryWritten_.fill(char(0xFF));
    blocksWritten_.clear();
    if (start()) {
        if (kind == ReadKind)
            readSequence(work);
        else if (kind == WriteKind)
            writeSequence(MemoryLayout::encodeMemory(codeplug, firstChannel, marks_));
    }
    finish();
    if (portFailed_)
        return Outcome::PortError;
    if (!linkOk_)
        return Outcome::LinkError;
    if (kind == ReadKind)
        codeplug = work;
    return Outcome::Success;
}

bool RadioTransfer::start()
{
    link_.close();
    link_.wait(timing_.portResetMs);
    portFailed_ = !link_.open();
    link_.wait(timing_.portResetMs);

    stepCount_ = 0;
    retryCount_ = 2;
    linkOk_ = false;
    totalRepeats_ = 0;
    gapMs_ = 0;
    replied_ = false;
    emit progress(0);
    if (portFailed_)
        return false;

    // The radio must answer the greeting with exactly its reply, nothing more or less.
    for (int attempt = 0; attempt < 6 && !linkOk_; ++attempt)
        linkOk_ = exchange(greetingRequest(), timing_.handshakeMs) == greetingReply();
    if (!linkOk_)
        return false;

    int repeats = 0;
    QString reply;
    do {
        reply = exchange(EnterRequest, timing_.handshakeMs);
    } while (reply == Busy && repeatAllowed(repeats));
    linkOk_ = reply == Acknowledged;
    return linkOk_;
}

void RadioTransfer::finish()
{
    waitGap();
    link_.sendAndWait(EndRequest, timing_.endMs);
}

// The pause the fast link learned, counted from the end of the radio's last reply.
void RadioTransfer::waitGap()
{
    if (!timing_.fastLink || !replied_ || gapMs_ <= 0)
        return;
    const qint64 left = gapMs_ - sinceReply_.elapsed();
    if (left > 0)
        link_.wait(int(left));
}

QString RadioTransfer::exchange(const QString &request, int waitMs)
{
    if (!timing_.fastLink)
        return link_.exchange(request, waitMs);
    for (;;) {
        waitGap();
        const qint64 sentAfterReply = replied_ ? sinceReply_.elapsed() : -1;
        QElapsedTimer window;
        window.start();
        const QString reply = link_.exchangeUntilReply(request, waitMs);
        if (!reply.isEmpty()) {
            replied_ = true;
            sinceReply_.start();
            // A busy radio gets the time before the repeat that the fixed window gives it.
            if (reply == Busy && window.elapsed() < waitMs)
                link_.wait(int(waitMs - window.elapsed()));
            return reply;
        }
        // Silence after a request sent soon after a reply may be a radio that was not
        // listening yet: ask again with a longer gap while the gap can still grow. Any other
        // silence is the radio's answer, for the transfer's rules to judge.
        if (sentAfterReply < 0 || sentAfterReply >= MaxGapMs || gapMs_ >= MaxGapMs)
            return reply;
        gapMs_ = nextGap(gapMs_);
        emit linkNote(QStringLiteral("fast link: no reply to %1 sent %2 ms after the radio's last reply; "
                                     "waiting %3 ms after each reply from now on")
                          .arg(request)
                          .arg(sentAfterReply)
                          .arg(gapMs_));
    }
}

bool RadioTransfer::repeatAllowed(int &repeats)
{
    if (++totalRepeats_ > MaxTotalRepeats)
        return false;
    return ++repeats < MaxRepeats;
}

void RadioTransfer::step()
{
    ++stepCount_;
    emit progress(stepCount_);
}

void RadioTransfer::showMaximum(int maximum)
{
    emit progress(maximum);
}

bool RadioTransfer::readBlock(int address, int length, bool secondAttempt, QByteArray &data)
{
    const QString request = readRequest(address, length);
    int repeats = 0;
    for (;;) {
        const QString reply = exchange(request, timing_.blockMs);
        if (reply == Busy) {
            if (repeatAllowed(repeats))
                continue;
            break;
        }
        if (!reply.startsWith(QLatin1String("57"))) {
            repeats = 0;
            if (secondAttempt && --retryCount_ > 0)
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
            memoryRead_.replace(address, length, data);
        if (secondAttempt)
            retryCount_ = 2;
        return true;
    }
    linkOk_ = false;
    return false;
}

bool RadioTransfer::writeBlock(const MemoryLayout::MemoryBlock &block, const QByteArray &data, bool secondAttempt)
{
    const int address = block.address;
    const QString request = writeRequest(address, data);
    int repeats = 0;
    for (;;) {
        const QString reply = exchange(request, timing_.blockMs);
        if (reply == Busy) {
            if (repeatAllowed(repeats))
                continue;
            break;
        }
        if (reply == Acknowledged) {
            if (secondAttempt)
                retryCount_ = 2;
            if (address >= 0 && address + data.size() <= MemorySize) {
                memoryWritten_.replace(address, data.size(), data);
                blocksWritten_.append({address, int(data.size()), block.kind});
            }
            return true;
        }
        repeats = 0;
        if (secondAttempt && --retryCount_ > 0)
            continue;
        break;
    }
    linkOk_ = false;
    return false;
}

void RadioTransfer::readSequence(Codeplug &work)
{
    using namespace MemoryLayout;
    const MemoryBlocks blocks = readBlocks();
    QByteArray data;
    bool complete = true;
    for (int i = 0; i < blocks.size() && complete; ++i) {
        const MemoryBlock &b = blocks.at(i);
        // Channel records and the call list get a second attempt after a reply that is no
        // data reply.
        const bool secondAttempt = b.kind == BlockKind::Channel || b.kind == BlockKind::CallList;
        complete = readBlock(b.address, b.length, secondAttempt, data);
        if (!complete)
            break;
        if (secondAttempt)
            retryCount_ = 2;
        if (i + 1 == blocks.size())
            showMaximum(ReadMaximum);
        else if (counted(b.kind))
            step();
    }
    // The image is decoded once; the fields read as their nearest valid value are reported
    // also for a read that stopped part way (the channels read so far).
    QList<Correction> corrected;
    decodeMemory(memoryRead_, work, marks_, tones_ ? *tones_ : ToneList::instance(), &corrected);
    for (const Correction &c : corrected)
        corrections_ << c.text();
}

void RadioTransfer::writeSequence(const MemoryLayout::MemoryImage &image)
{
    using namespace MemoryLayout;
    QByteArray data;

    // A radio without band limits is not written at all.
    if (!readBlock(BandAddress, BlockSize, false, data))
        return;
    if (toHexText(data).startsWith(QLatin1String("FFF"))) {
        linkOk_ = false;
        return;
    }

    const MemoryBlocks &blocks = image.blocks;
    int i = 0;
    for (; i < blocks.size() && (blocks.at(i).kind == BlockKind::Channel || blocks.at(i).kind == BlockKind::Alias); ++i) {
        const MemoryBlock &b = blocks.at(i);
        if (b.kind == BlockKind::Channel) {
            // A channel the radio does not take ends the write.
            if (!writeBlock(b, image.block(b), true))
                return;
            step();
            retryCount_ = 2;
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
        const bool send = linkOk_;
        for (; i < blocks.size() && blocks.at(i).kind == kind; ++i) {
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
