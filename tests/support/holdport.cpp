// holdport DEVICE: holds a serial device open the way a serial program does (a lock file and
// an exclusive open), prints "held" once it has it, and lets go when its standard input
// closes or it gets a signal. Tests start it to play the other program that has the port.
#include <QSerialPort>

#include <csignal>
#include <cstdio>
#include <unistd.h>
#ifdef __linux__
#include <sys/prctl.h>
#endif

int main(int argc, char **argv)
{
#ifdef __linux__
    ::prctl(PR_SET_PDEATHSIG, SIGTERM);
#endif
    if (argc != 2) {
        std::fprintf(stderr, "usage: holdport DEVICE\n");
        return 2;
    }
    QSerialPort port(QString::fromLocal8Bit(argv[1]));
    if (!port.open(QIODevice::ReadWrite)) {
        std::fprintf(stderr, "holdport: %s\n", qPrintable(port.errorString()));
        return 1;
    }
    std::printf("held\n");
    std::fflush(stdout);
    char c;
    while (::read(0, &c, 1) > 0) {
    }
    port.close();
    return 0;
}
