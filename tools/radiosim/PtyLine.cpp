#include "PtyLine.h"

#include <QSocketNotifier>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <pty.h>
#include <sys/timerfd.h>
#include <termios.h>
#include <unistd.h>

PtyLine::PtyLine(QObject *parent)
    : QObject(parent)
{
    timerFd_ = ::timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC);
    if (timerFd_ >= 0) {
        timerNotifier_ = new QSocketNotifier(timerFd_, QSocketNotifier::Read, this);
        connect(timerNotifier_, &QSocketNotifier::activated, this, &PtyLine::timerFired);
    }
    floodTimer_.setInterval(1);
    connect(&floodTimer_, &QTimer::timeout, this, &PtyLine::flood);
}

PtyLine::~PtyLine()
{
    delete timerNotifier_;
    if (timerFd_ >= 0)
        ::close(timerFd_);
    if (master_ >= 0)
        ::close(master_);
    if (slave_ >= 0)
        ::close(slave_);
}

bool PtyLine::open()
{
    char name[256] = {};
    if (::openpty(&master_, &slave_, name, nullptr, nullptr) != 0) {
        error_ = QStringLiteral("openpty: %1").arg(QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    slavePath_ = QString::fromLocal8Bit(name);
    // Raw bytes both ways: no echo by the terminal driver, no line editing, no translation.
    termios tio {};
    if (::tcgetattr(slave_, &tio) == 0) {
        ::cfmakeraw(&tio);
        ::cfsetispeed(&tio, B9600);
        ::cfsetospeed(&tio, B9600);
        ::tcsetattr(slave_, TCSANOW, &tio);
    }
    ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
    notifier_ = new QSocketNotifier(master_, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &PtyLine::readMaster);
    clock_.start();
    return true;
}

void PtyLine::hangUp()
{
    armTimer(-1);
    floodTimer_.stop();
    queue_.clear();
    delete notifier_;
    notifier_ = nullptr;
    if (master_ >= 0)
        ::close(master_);
    if (slave_ >= 0)
        ::close(slave_);
    master_ = slave_ = -1;
}

void PtyLine::readMaster()
{
    QByteArray bytes;
    char buf[1024];
    for (;;) {
        const ssize_t n = ::read(master_, buf, sizeof buf);
        if (n > 0) {
            bytes.append(buf, static_cast<int>(n));
            bytesReceived_ += n;
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        break;
    }
    if (!bytes.isEmpty())
        emit received(bytes);
}

void PtyLine::send(const QByteArray &bytes, qint64 notBeforeNs, qint64 gapNs)
{
    if (bytes.isEmpty() || master_ < 0 || floodTimer_.isActive())
        return;
    queue_.push_back({bytes, notBeforeNs, gapNs});
    if (!timerArmed_)
        pump();
}

void PtyLine::armTimer(qint64 dueNs)
{
    if (timerFd_ < 0)
        return;
    itimerspec spec {};
    if (dueNs >= 0) {
        const qint64 delay = std::max<qint64>(1000, dueNs - now());
        spec.it_value.tv_sec = delay / 1000000000;
        spec.it_value.tv_nsec = delay % 1000000000;
    }
    ::timerfd_settime(timerFd_, 0, &spec, nullptr);
    timerArmed_ = dueNs >= 0;
}

void PtyLine::timerFired()
{
    quint64 expirations = 0;
    [[maybe_unused]] ssize_t n = ::read(timerFd_, &expirations, sizeof expirations);
    timerArmed_ = false;
    pump();
}

// Writes whatever is due. With pacing, byte k of a chunk is handed over k + 1 byte times
// after the chunk's start, when its last bit would have arrived, so a reply trickles out at
// the line's speed.
void PtyLine::pump()
{
    while (!queue_.empty()) {
        Chunk &chunk = queue_.front();
        const qint64 t = now();
        if (!chunkStarted_) {
            const qint64 start = std::max(chunk.notBeforeNs, nextByteAt_ + chunk.gapNs);
            if (start > t) {
                armTimer(start);
                return;
            }
            // The chunk starts when it was due; a line that fell behind by more than a byte
            // (a stalled simulator) starts now, so nothing goes out "retroactively" in a burst.
            nextByteAt_ = t - start > ByteTimeNs ? t : start;
            chunkStarted_ = true;
        }
        int count = chunk.bytes.size();
        if (pacing_) {
            const qint64 done = (t - nextByteAt_) / ByteTimeNs;   // bytes whose time is over
            if (done < 1) {
                armTimer(nextByteAt_ + ByteTimeNs);
                return;
            }
            count = static_cast<int>(std::min<qint64>(count, done));
        }
        const ssize_t written = ::write(master_, chunk.bytes.constData(), count);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            // The program's side is not taking bytes just now: try again shortly.
            armTimer(t + 2000000);
            return;
        }
        chunk.bytes.remove(0, static_cast<int>(written));
        bytesSent_ += written;
        nextByteAt_ = pacing_ ? nextByteAt_ + written * ByteTimeNs : t;
        lastSentEnd_ = nextByteAt_;
        if (chunk.bytes.isEmpty()) {
            queue_.pop_front();
            chunkStarted_ = false;
        }
    }
}

void PtyLine::startFlood()
{
    armTimer(-1);
    queue_.clear();
    chunkStarted_ = false;
    floodTimer_.start();
    flood();
}

// Fills whatever room the terminal has with pseudo-random bytes.
void PtyLine::flood()
{
    if (master_ < 0)
        return;
    char buf[4096];
    for (;;) {
        for (char &b : buf) {
            floodSeed_ ^= floodSeed_ << 13;
            floodSeed_ ^= floodSeed_ >> 17;
            floodSeed_ ^= floodSeed_ << 5;
            b = static_cast<char>(floodSeed_ & 0xFF);
        }
        const ssize_t written = ::write(master_, buf, sizeof buf);
        if (written > 0) {
            bytesSent_ += written;
            continue;
        }
        if (written < 0 && errno == EINTR)
            continue;
        return;   // full for now; the timer comes back
    }
}
