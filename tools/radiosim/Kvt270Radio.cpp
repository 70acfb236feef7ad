#include "Kvt270Radio.h"

#include "MemoryFile.h"
#include "PtyLine.h"

#include <QFile>
#include <cstdio>

namespace {
const QByteArray Greeting = QByteArray::fromHex("0250524f475241");   // 0x02 "PROGRA"
const QByteArray Identity = QByteArrayLiteral("KVT270\x00\x01");
constexpr char Identify = 'M';
constexpr char Confirm = 0x06;
constexpr int ReadRequestSize = 4;
constexpr int WriteRequestSize = 12;
constexpr int BlockSize = 8;
// Bytes of a message that stop arriving for this long are a broken message: start afresh.
constexpr qint64 StaleNs = 50LL * 1000000;
constexpr int SaveDelayMs = 300;

QString hex(const QByteArray &b)
{
    return QString::fromLatin1(b.toHex(' ').toUpper());
}
} // namespace

Kvt270Radio::Kvt270Radio(PtyLine *line, const Kvt270Faults &faults, QObject *parent)
    : QObject(parent), line_(line), faults_(faults), memory_(blankMemory())
{
    connect(line_, &PtyLine::received, this, &Kvt270Radio::onReceived);
    saveTimer_.setSingleShot(true);
    saveTimer_.setInterval(SaveDelayMs);
    connect(&saveTimer_, &QTimer::timeout, this, [this] { save(); });
}

QByteArray Kvt270Radio::blankMemory()
{
    QByteArray m(MemorySize, char(0xFF));
    m[0x1FE0] = 0;
    m[0x1FE1] = 0;
    return m;
}

bool Kvt270Radio::save() const
{
    if (savePath_.isEmpty())
        return true;
    if (!SaveMemoryFile(savePath_, memory_))
        return false;
    log(QStringLiteral("memory saved to %1").arg(savePath_));
    return true;
}

void Kvt270Radio::log(const QString &text) const
{
    if (verbose_)
        std::fprintf(stderr, "[%8.3f] %s\n", line_->now() / 1e6, qPrintable(text));
}

void Kvt270Radio::record(const QByteArray &bytes) const
{
    if (recordPath_.isEmpty())
        return;
    QFile f(recordPath_);
    if (f.open(QIODevice::WriteOnly | QIODevice::Append))
        f.write(bytes);
}

void Kvt270Radio::onReceived(const QByteArray &bytes)
{
    const qint64 t = line_->now();
    record(bytes);
    log(QStringLiteral("rx %1").arg(hex(bytes)));
    if (lineGone_)
        return;
    if (!pending_.isEmpty() && t - lastByteAt_ > StaleNs) {
        log(QStringLiteral("incomplete message dropped: %1").arg(hex(pending_)));
        pending_.clear();
    }
    lastByteAt_ = t;
    pending_ += bytes;
    while (!pending_.isEmpty() && !lineGone_ && handleNext(t)) {
    }
}

void Kvt270Radio::reply(const QByteArray &bytes, qint64 notBefore)
{
    if (faults_.silent)
        return;
    log(QStringLiteral("tx %1").arg(hex(bytes)));
    line_->send(bytes, notBefore);
}

bool Kvt270Radio::handleNext(qint64 t)
{
    // At 9600 baud the radio has a message only after its last byte came in.
    const auto arrival = [this, t](int size) { return line_->pacing() ? t + size * PtyLine::ByteTimeNs : t; };
    const char head = pending_.at(0);

    // The greeting restarts the session from any state.
    if (head == Greeting.at(0)) {
        const int n = int(std::min<qsizetype>(pending_.size(), Greeting.size()));
        if (pending_.left(n) == Greeting.left(n)) {
            if (n < Greeting.size())
                return false;
            pending_.remove(0, Greeting.size());
            blockRequests_ = 0;
            log(QStringLiteral("greeting"));
            if (faults_.refuseGreeting) {
                state_ = State::Idle;
                reply(QByteArray(1, 0x07), arrival(1));
            } else {
                state_ = State::Greeted;
                reply(QByteArray(1, faults_.ack), arrival(1));
            }
            return true;
        }
    }
    if (state_ == State::Greeted && head == Identify) {
        if (pending_.size() < 2)
            return false;
        const bool ok = pending_.at(1) == 0x02;
        pending_.remove(0, 2);
        if (ok) {
            state_ = State::Identified;
            reply(Identity, arrival(2));
        }
        return true;
    }
    if ((state_ == State::Identified || state_ == State::Programming) && head == Confirm) {
        pending_.remove(0, 1);
        state_ = State::Programming;
        reply(QByteArray(1, faults_.ack), arrival(1));
        return true;
    }
    if (state_ == State::Programming && (head == 'R' || head == 'W')) {
        const int size = head == 'R' ? ReadRequestSize : WriteRequestSize;
        if (pending_.size() < size)
            return false;
        const QByteArray message = pending_.left(size);
        pending_.remove(0, size);
        const int address = (quint8(message.at(1)) << 8) | quint8(message.at(2));
        const int length = quint8(message.at(3));
        if (length != BlockSize || address + length > MemorySize) {
            log(QStringLiteral("request out of range dropped: %1").arg(hex(message)));
            return true;
        }
        if (!blockRequest(t))
            return true;
        if (head == 'R') {
            QByteArray answer = message.left(ReadRequestSize);
            answer[0] = 'W';
            answer += memory_.mid(address, BlockSize);
            if (faults_.shortAt > 0 && blockRequests_ == faults_.shortAt) {
                answer.truncate(7);
                log(QStringLiteral("reply cut short"));
            }
            reply(answer, arrival(size));
        } else {
            memory_.replace(address, BlockSize, message.mid(ReadRequestSize));
            for (const int a : std::as_const(faults_.corruptAt))
                if (a >= address && a < address + BlockSize) {
                    memory_[a] = char(~memory_.at(a));
                    log(QStringLiteral("byte at %1 changed after storing").arg(a, 4, 16, QLatin1Char('0')));
                }
            reply(QByteArray(1, faults_.ack), arrival(size));
            if (!savePath_.isEmpty())
                saveTimer_.start();
        }
        return true;
    }
    log(QStringLiteral("byte dropped: %1").arg(hex(pending_.left(1))));
    pending_.remove(0, 1);
    return true;
}

bool Kvt270Radio::blockRequest(qint64)
{
    ++blockRequests_;
    if (faults_.hangUpAt > 0 && blockRequests_ == faults_.hangUpAt) {
        log(QStringLiteral("line closed at block request %1").arg(blockRequests_));
        lineGone_ = true;
        pending_.clear();
        line_->hangUp();
        return false;
    }
    if (faults_.stopAt > 0 && blockRequests_ >= faults_.stopAt) {
        log(QStringLiteral("no reply to block request %1").arg(blockRequests_));
        return false;
    }
    return true;
}
