#include "radiolink/RadioTransfer.h"
#include "channels/ChannelTable.h"

#include "radiolink/MemoryLayout.h"
#include "radiolink/RadioFrame.h"
#include "radiolink/RadioLink.h"
#include "radiolink/ToneList.h"
#include "settings/SettingsRegistry.h"

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
    Codeplug work = codeplug;
    memoryRead_.fill(char(0xFF));
    memoryWritten_.fill(char(0xFF));
    blocksWritten_.clear();
    if (start()) {
        if (kind == ReadKind)
            readSequence(work);
        else if (kind == WriteKind)
            writeSequence(codeplug, firstChannel);
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
    emit progress(0);
    if (portFailed_)
        return false;

    // The radio must answer the greeting with exactly its reply, nothing more or less.
    for (int attempt = 0; attempt < 6 && !linkOk_; ++attempt)
        linkOk_ = link_.exchange(greetingRequest(), timing_.handshakeMs) == greetingReply();
    if (!linkOk_)
        return false;

    int repeats = 0;
    QString reply;
    do {
        reply = link_.exchange(EnterRequest, timing_.handshakeMs);
    } while (reply == Busy && repeatAllowed(repeats));
    linkOk_ = reply == Acknowledged;
    return linkOk_;
}

void RadioTransfer::finish()
{
    link_.sendAndWait(EndRequest, timing_.endMs);
}

bool RadioTransfer::repeatAllowed(int &repeats)
{
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
        const QString reply = link_.exchange(request, timing_.blockMs);
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
        // Command, count and address are skipped; the count and address are not compared
        // with the request. A reply with fewer data bytes than asked for was cut short (its
        // check byte can still come out right): it is asked for again like a corrupted one
        // rather than taken with its missing bytes read as 0xFF.
        const QByteArray received = QByteArray::fromHex(reply.mid(8, reply.size() - 10).toLatin1());
        if (!checkByteRight(reply) || received.size() < length) {
            if (repeatAllowed(repeats))
                continue;
            break;
        }
        data = received.left(length);
        if (address >= 0 && address + length <= MemorySize)
            memoryRead_.replace(address, length, data);
        if (secondAttempt)
            retryCount_ = 2;
        return true;
    }
    linkOk_ = false;
    return false;
}

bool RadioTransfer::writeBlock(int address, const QByteArray &data, bool secondAttempt)
{
    const QString request = writeRequest(address, data);
    int repeats = 0;
    for (;;) {
        const QString reply = link_.exchange(request, timing_.blockMs);
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
                blocksWritten_.append({address, int(data.size())});
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
    const ToneList &tones = tones_ ? *tones_ : ToneList::instance();
    QByteArray data;

    // Band limits: a radio whose first range is unprogrammed changes no band list.
    if (!readBlock(BandAddress, BlockSize, false, data))
        return;
    work.bandRanges = bandRangesToAdd(data);

    for (int n = 1; n <= ChannelCells::Channels; ++n) {
        for (int c = ChannelCells::FirstColumn; c <= ChannelCells::LastColumn; ++c)
            work.channels.setColumn(c, n, QString());
        for (int a = ChannelCells::FirstAttribute; a <= ChannelCells::LastAttribute; ++a)
            work.channels.setAttribute(a, n, QString());
        if (!readBlock(channelAddress(n), RecordSize, true, data))
            return;
        decodeChannel(data, work.channels, n, marks_, tones);
        step();
        retryCount_ = 2;
        if (!readBlock(aliasAddress(n), AliasSize, false, data))
            return;
        work.channels.setColumn(ChannelTable::AliasColumn, n, decodeAlias(data));
    }

    if (!readBlock(Settings1Address, BlockSize, false, data))
        return;
    decodeSettings1(data, work.settings);
    step();
    if (!readBlock(Settings2Address, BlockSize, false, data))
        return;
    decodeSettings2(data, work.settings);
    step();
    for (int k = 0; k < CallListBlocks; ++k) {
        if (!readBlock(callListAddress(k), BlockSize, true, data))
            return;
        decodeCallList(data, k, work.settings);
        retryCount_ = 2;
        step();
    }
    if (!readBlock(PttIdAddress, BlockSize, false, data))
        return;
    decodePttIdBlock(data, work.settings);
    step();
    if (!readBlock(PasswordAddress, BlockSize, false, data))
        return;
    // A password that is not six digits (an unprogrammed radio) keeps the editor's.
    work.settings.set(QStringLiteral("bsSkinEdit15"), decodePassword(data));
    step();
    if (!readBlock(IdAddress, BlockSize, false, data))
        return;
    decodeIdBlock(data, work.settings);
    // The box rules run as when the program sets a box (band change, remote control).
    work.settings.applyProgramRules();
    showMaximum(ReadMaximum);
}

void RadioTransfer::writeSequence(const Codeplug &codeplug, quint8 firstChannel)
{
    using namespace MemoryLayout;
    const SettingsValues &s = codeplug.settings;
    QByteArray data;

    // A radio without band limits is not written at all.
    if (!readBlock(BandAddress, BlockSize, false, data))
        return;
    if (toHexText(data).startsWith(QLatin1String("FFF"))) {
        linkOk_ = false;
        return;
    }

    for (int n = 1; n <= ChannelCells::Channels; ++n) {
        if (!writeBlock(channelAddress(n), encodeChannel(codeplug.channels, n, marks_), true))
            break;
        step();
        retryCount_ = 2;
        // An alias the radio does not acknowledge fails the transfer, but the remaining
        // channels are still written.
        writeBlock(aliasAddress(n), encodeAlias(codeplug.channels.column(ChannelTable::AliasColumn, n)), false);
    }

    if (linkOk_) {
        writeBlock(Settings1Address, encodeSettings1(s, firstChannel), false);
        step();
    }
    if (linkOk_) {
        writeBlock(Settings2Address, encodeSettings2(s), false);
        step();
    }
    if (linkOk_) {
        for (int k = 0; k < CallListBlocks; ++k) {
            writeBlock(callListAddress(k), encodeCallList(s, k), false);
            step();
        }
    }
    if (linkOk_) {
        for (int k = 0; k < FillBlocks; ++k) {
            writeBlock(fillAddress(k), QByteArray(BlockSize, char(0xFF)), false);
            step();
        }
    }
    if (linkOk_ && s.number(QStringLiteral("bsSkinCheckRadioBox21")) == 1) {
        writeBlock(PasswordAddress, encodePassword(s.text(QStringLiteral("bsSkinEdit15"))), false);
        step();
    }
    if (linkOk_) {
        writeBlock(IdAddress, encodeIdBlock(s), false);
        step();
    }
    if (linkOk_) {
        writeBlock(PttIdAddress, encodePttIdBlock(s), false);
        showMaximum(WriteMaximum);
    }
}
