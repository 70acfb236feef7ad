#include "PtyLine.h"

#include <QSocketNotifier>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

PtyLine::PtyLine(QObject *parent)
    : QObject(parent)
{
    pumpTimer_.setSingleShot(true);
    pumpTimer_.setTimerType(Qt::PreciseTimer);
    connect(&pumpTimer_, &QTimer::timeout, this, &PtyLine::pump);
}

PtyLine::~PtyLine()
{
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
    pumpTimer_.stop();
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
    if (bytes.isEmpty() || master_ < 0)
        return;
    queue_.push_back({bytes, notBeforeNs, gapNs});
    if (!pumpTimer_.isActive())
        pump();
}

// Writes whatever is due. With pacing, byte k of a chunk is due k byte times after the
// chunk's start, so a reply trickles out at the line's speed.
void PtyLine::pump()
{
    while (!queue_.empty()) {
        Chunk &chunk = queue_.front();
        const qint64 t = now();
        if (!chunkStarted_) {
            const qint64 start = std::max(chunk.notBeforeNs, nextByteAt_ + chunk.gapNs);
            if (start > t) {
                pumpTimer_.start(static_cast<int>((start - t + 999999) / 1000000));
                return;
            }
            // A line that was idle starts now; nothing is sent "retroactively" in a burst.
            nextByteAt_ = t;
            chunkStarted_ = true;
        }
        int count = chunk.bytes.size();
        if (pacing_) {
            if (nextByteAt_ > t) {
                pumpTimer_.start(static_cast<int>((nextByteAt_ - t + 999999) / 1000000));
                return;
            }
            count = static_cast<int>(std::min<qint64>(count, 1 + (t - nextByteAt_) / ByteTimeNs));
        }
        const ssize_t written = ::write(master_, chunk.bytes.constData(), count);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            // The program's side is not taking bytes just now: try again shortly.
            pumpTimer_.start(2);
            return;
        }
        chunk.bytes.remove(0, static_cast<int>(written));
        nextByteAt_ = pacing_ ? nextByteAt_ + written * ByteTimeNs : t;
        if (chunk.bytes.isEmpty()) {
            queue_.pop_front();
            chunkStarted_ = false;
        }
    }
}
