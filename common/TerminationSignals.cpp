#include "common/TerminationSignals.h"

#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {
int g_pipe[2] = {-1, -1};

extern "C" void onTerminationSignal(int sig)
{
    // Only async-signal-safe work here: hand the signal number to the event loop.
    const unsigned char b = static_cast<unsigned char>(sig);
    const int saved = errno;
    [[maybe_unused]] ssize_t n = ::write(g_pipe[1], &b, 1);
    errno = saved;
}
} // namespace

TerminationSignals::TerminationSignals(QObject *parent)
    : QObject(parent)
{
    if (g_pipe[0] < 0) {
        if (::socketpair(AF_UNIX, SOCK_STREAM, 0, g_pipe) != 0) {
            g_pipe[0] = g_pipe[1] = -1;
            return;
        }
        for (int fd : g_pipe) {
            ::fcntl(fd, F_SETFD, FD_CLOEXEC);
            ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
        }
    }
    m_notifier = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &TerminationSignals::readSignal);

    struct sigaction sa = {};
    sa.sa_handler = onTerminationSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    ::sigaction(SIGINT, &sa, nullptr);
    ::sigaction(SIGTERM, &sa, nullptr);
}

TerminationSignals::~TerminationSignals()
{
    if (!m_notifier)
        return;
    struct sigaction sa = {};
    sa.sa_handler = SIG_DFL;
    sigemptyset(&sa.sa_mask);
    ::sigaction(SIGINT, &sa, nullptr);
    ::sigaction(SIGTERM, &sa, nullptr);
}

void TerminationSignals::readSignal()
{
    unsigned char b = 0;
    while (::read(g_pipe[0], &b, 1) == 1)
        emit terminationRequested(b);
}
