#include "Kvt560Radio.h"

#include "MemoryFile.h"
#include "PtyLine.h"

#include <QFile>
#include <cstdio>

namespace {
const QByteArray Greeting = QByteArrayLiteral("ZAkro");
const QByteArray GreetingAnswer = QByteArrayLiteral("dorvak");
constexpr int BandBlock = 0x0CC0;
// Bytes of a frame that stop arriving for this long are a broken frame: start afresh.
constexpr qint64 StaleNs = 20LL * 1000000;

quint8 checkByte(const QByteArray &bytes)
{
    quint8 c = 0;
    for (char b : bytes)
        c ^= static_cast<quint8>(b);
    return c;
}
} // namespace

Kvt560Radio::Kvt560Radio(PtyLine *line, const Kvt560Faults &faults, QObject *parent)
    : QObject(parent), line_(line), faults_(faults), memory_(blankMemory())
{
    connect(line_, &PtyLine::received, this, &Kvt560Radio::onReceived);
}

QByteArray Kvt560Radio::blankMemory()
{
    QByteArray m(MemorySize, char(0xFF));
    // Each limit: four BCD digits, the first three the whole MHz; upper limit first.
    const unsigned char bands[16] = {0x47, 0x00, 0x40, 0x00, 0x47, 0x00, 0x40, 0x00,
                                     0x17, 0x40, 0x13, 0x60, 0x17, 0x40, 0x13, 0x60};
    for (int i = 0; i < 16; ++i)
        m[BandBlock + i] = static_cast<char>(bands[i]);
    return m;
}

void Kvt560Radio::clearBandLimits()
{
    for (int i = 0; i < 16; ++i)
        memory_[BandBlock + i] = char(0xFF);
}

bool Kvt560Radio::save() const
{
    if (savePath_.isEmpty())
        return true;
    if (!SaveMemoryFile(savePath_, memory_))
        return false;
    log(QStringLiteral("memory saved to %1").arg(savePath_));
    return true;
}

void Kvt560Radio::log(const QString &text) const
{
    if (verbose_)
        std::fprintf(stderr, "[%8.3f] %s\n", line_->now() / 1e6, qPrintable(text));
}

static QString hex(const QByteArray &b)
{
    return QString::fromLatin1(b.toHex(' ').toUpper());
}

QByteArray Kvt560Radio::frame(quint8 command, const QByteArray &payload) const
{
    QByteArray f;
    f.append(static_cast<char>(command));
    f.append(static_cast<char>(payload.size()));
    f.append(payload);
    f.append(static_cast<char>(checkByte(f)));
    return f;
}

void Kvt560Radio::onReceived(const QByteArray &bytes)
{
    const qint64 t = line_->now();
    log(QStringLiteral("rx %1").arg(hex(bytes)));
    if (faults_.echo)
        line_->send(bytes, t);
    if (!pending_.isEmpty() && t - lastByteAt_ > StaleNs) {
        log(QStringLiteral("incomplete frame dropped: %1").arg(hex(pending_)));
        pending_.clear();
    }
    lastByteAt_ = t;
    pending_ += bytes;
    while (pending_.size() >= 2) {
        const int need = static_cast<quint8>(pending_.at(1)) + 3;
        if (pending_.size() < need)
            break;
        const QByteArray f = pending_.left(need);
        pending_.remove(0, need);
        // At 9600 baud the radio has the whole frame only after its last byte came in.
        handleFrame(f, line_->pacing() ? t + need * PtyLine::ByteTimeNs : t);
    }
}

void Kvt560Radio::reply(const QByteArray &bytes, qint64 notBefore)
{
    log(QStringLiteral("tx %1").arg(hex(bytes)));
    if (faults_.split && !splitDone_ && bytes.size() > 1) {
        splitDone_ = true;
        const int half = bytes.size() / 2;
        line_->send(bytes.left(half), notBefore);
        line_->send(bytes.mid(half), 0, qint64(faults_.splitPauseMs) * 1000000);
        log(QStringLiteral("reply split after %1 bytes, pause %2 ms").arg(half).arg(faults_.splitPauseMs));
        return;
    }
    line_->send(bytes, notBefore);
}

// The line closed for --hang-up-at, block requests past the --stop-after count and busy
// replies for --busy-block.
bool Kvt560Radio::blockRequestAllowed(int address, qint64 receivedAt)
{
    if (faults_.hangUpAt > 0 && ++blockRequests_ == faults_.hangUpAt) {
        log(QStringLiteral("line closed at block request %1").arg(blockRequests_));
        pending_.clear();
        line_->hangUp();
        return false;
    }
    if (faults_.stopAfter >= 0 && answeredBlocks_ >= faults_.stopAfter) {
        log(QStringLiteral("block request at %1 not answered (stopped)").arg(address, 4, 16, QLatin1Char('0')));
        return false;
    }
    if (faults_.flood) {
        log(QStringLiteral("flood begins"));
        line_->startFlood();
        return false;
    }
    auto busy = faults_.busyBlock.find(address);
    if (busy != faults_.busyBlock.end() && busy.value() > 0) {
        --busy.value();
        reply(frame(0x09, {}), receivedAt);
        return false;
    }
    if (faults_.busyEach > 0 && busyEachCount_[address] < faults_.busyEach) {
        ++busyEachCount_[address];
        reply(frame(0x09, {}), receivedAt);
        return false;
    }
    return true;
}

void Kvt560Radio::handleFrame(const QByteArray &f, qint64 receivedAt)
{
    const quint8 command = static_cast<quint8>(f.at(0));
    const QByteArray payload = f.mid(2, f.size() - 3);
    if (checkByte(f.left(f.size() - 1)) != static_cast<quint8>(f.back())) {
        log(QStringLiteral("wrong check byte, frame ignored"));
        return;
    }
    if (faults_.silent)
        return;
    // A radio that needs a pause after its reply before it listens again.
    if (faults_.minGapMs > 0 && line_->lastSentEnd() > 0) {
        const qint64 sinceReply = line_->now() - line_->lastSentEnd();
        if (line_->sending() || sinceReply < qint64(faults_.minGapMs) * 1000000) {
            log(QStringLiteral("frame ignored: %1 ms after the last reply").arg(qMax<qint64>(0, sinceReply) / 1e6, 0, 'f', 1));
            return;
        }
    }

    switch (command) {
    case 0x02:
        if (payload == Greeting) {
            greeted_ = true;
            programming_ = false;
            log(QStringLiteral("greeting"));
            reply(frame(0x06, GreetingAnswer), receivedAt);
        }
        return;
    case 0x06:
        if (!greeted_ || !payload.isEmpty())
            return;
        if (faults_.busyEnter > 0) {
            --faults_.busyEnter;
            log(QStringLiteral("enter: busy"));
            reply(frame(0x09, {}), receivedAt);
            return;
        }
        programming_ = true;
        log(QStringLiteral("enter: programming mode"));
        reply(frame(0x06, {}), receivedAt);
        return;
    case 0x52: {
        if (!programming_ || payload.size() != 3)
            return;
        const int address = (static_cast<quint8>(payload.at(0)) << 8) | static_cast<quint8>(payload.at(1));
        const int length = static_cast<quint8>(payload.at(2));
        if (address + length > MemorySize) {
            log(QStringLiteral("read outside the memory ignored"));
            return;
        }
        if (!blockRequestAllowed(address, receivedAt))
            return;
        ++answeredBlocks_;
        auto garbage = faults_.garbageBlock.find(address);
        if (garbage != faults_.garbageBlock.end() && garbage.value() > 0) {
            --garbage.value();
            QByteArray noise(length + 5, '\0');
            for (char &b : noise) {
                randomState_ = randomState_ * 1664525u + 1013904223u;
                b = static_cast<char>(randomState_ >> 24);
            }
            log(QStringLiteral("random bytes sent as the reply"));
            reply(noise, receivedAt);
            return;
        }
        int replyAddress = address;
        auto wrong = faults_.wrongAddress.find(address);
        if (wrong != faults_.wrongAddress.end() && wrong.value() > 0) {
            --wrong.value();
            replyAddress = (address + length) % MemorySize;
            if (replyAddress + length > MemorySize)
                replyAddress = 0;
            log(QStringLiteral("reply for address %1 instead").arg(replyAddress, 4, 16, QLatin1Char('0')));
        }
        QByteArray replyHead;
        replyHead.append(char(replyAddress >> 8));
        replyHead.append(char(replyAddress & 0xFF));
        int sent = length;
        auto cut = faults_.shortBlock.find(address);
        if (cut != faults_.shortBlock.end() && cut.value() > 0) {
            --cut.value();
            sent = length / 2;
            log(QStringLiteral("short data reply: %1 of %2 bytes").arg(sent).arg(length));
        }
        QByteArray data = frame(0x57, replyHead + memory_.mid(replyAddress, sent));
        if (faults_.badCheckOnce) {
            faults_.badCheckOnce = false;
            data.back() = static_cast<char>(data.back() ^ 0x5A);
            log(QStringLiteral("wrong check byte sent"));
        }
        reply(data, receivedAt);
        return;
    }
    case 0x57: {
        if (!programming_ || payload.size() < 2)
            return;
        const int address = (static_cast<quint8>(payload.at(0)) << 8) | static_cast<quint8>(payload.at(1));
        const QByteArray data = payload.mid(2);
        if (address + data.size() > MemorySize) {
            log(QStringLiteral("write outside the memory ignored"));
            return;
        }
        if (!blockRequestAllowed(address, receivedAt))
            return;
        ++answeredBlocks_;
        if (faults_.noAck.contains(address)) {
            log(QStringLiteral("write at %1 not acknowledged").arg(address, 4, 16, QLatin1Char('0')));
            return;
        }
        memory_.replace(address, data.size(), data);
        for (const int a : std::as_const(faults_.corruptAt))
            if (a >= address && a < address + data.size()) {
                memory_[a] = char(~memory_.at(a));
                log(QStringLiteral("byte at %1 changed after storing").arg(a, 4, 16, QLatin1Char('0')));
            }
        reply(frame(0x06, {}), receivedAt);
        return;
    }
    case 0x64:
        if (payload == QByteArray(1, char(0x6F))) {
            log(QStringLiteral("end of transfer"));
            greeted_ = false;
            programming_ = false;
            save();
        }
        return;
    default:
        log(QStringLiteral("unknown command ignored"));
        return;
    }
}
