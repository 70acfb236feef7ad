// radiosim: simulated radios on a pseudo-terminal, for the transfer tests and demos.
//
//   radiosim kvt560 [options]
//   radiosim kvt270 [--memory FILE] [--save FILE] [--no-pacing] [faults]
//
// Prints the device path of the pseudo-terminal on the first line of standard output, then
// serves the radio until SIGTERM or SIGINT (or until the process that started it ends).
#include "Kvt270Radio.h"
#include "Kvt560Radio.h"
#include "PtyLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QSocketNotifier>

#include <csignal>
#include <cstdio>
#include <sys/socket.h>
#include <unistd.h>
#ifdef __linux__
#include <sys/prctl.h>
#endif

namespace {
int signalPipe[2] = {-1, -1};

// The signal's number goes through the pipe: SIGUSR1 asks for the byte counts, the others
// end the radio.
void onSignal(int signal)
{
    const char c = char(signal);
    [[maybe_unused]] ssize_t n = ::write(signalPipe[1], &c, 1);
}

// The bytes that crossed the line so far, as a line of standard output.
void printCounts(const PtyLine &line)
{
    std::printf("bytes received %lld sent %lld\n", static_cast<long long>(line.bytesReceived()),
                static_cast<long long>(line.bytesSent()));
    std::fflush(stdout);
}

[[noreturn]] void fail(const QString &message)
{
    std::fprintf(stderr, "radiosim: %s\n", qPrintable(message));
    std::exit(2);
}

int intValue(const QCommandLineParser &p, const QString &name, int minimum)
{
    bool ok = false;
    const int v = p.value(name).toInt(&ok, 0);
    if (!ok || v < minimum)
        fail(QStringLiteral("--%1 needs a whole number of at least %2").arg(name).arg(minimum));
    return v;
}

// Prints the device path, then runs the event loop until SIGTERM or SIGINT. The signals end
// the loop through a pipe, so that the memory is saved from ordinary code rather than from
// the signal handler. SIGUSR1 prints the byte counts, and so does the end.
int serve(const PtyLine &line)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) != 0)
        fail(QStringLiteral("socketpair failed"));
    QSocketNotifier signalNotifier(signalPipe[0], QSocketNotifier::Read);
    QObject::connect(&signalNotifier, &QSocketNotifier::activated, qApp, [&] {
        char c = 0;
        [[maybe_unused]] ssize_t n = ::read(signalPipe[0], &c, 1);
        if (c == SIGUSR1)
            printCounts(line);
        else
            QCoreApplication::quit();
    });
    struct sigaction sa {};
    sa.sa_handler = onSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    ::sigaction(SIGTERM, &sa, nullptr);
    ::sigaction(SIGINT, &sa, nullptr);
    ::sigaction(SIGUSR1, &sa, nullptr);

    std::printf("%s\n", qPrintable(line.slavePath()));
    std::fflush(stdout);

    const int rc = QCoreApplication::exec();
    printCounts(line);
    return rc;
}

QByteArray readMemory(const QString &path, int size)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        fail(QStringLiteral("cannot read %1: %2").arg(f.fileName(), f.errorString()));
    const QByteArray memory = f.readAll();
    if (memory.size() != size)
        fail(QStringLiteral("%1 holds %2 bytes; a memory file holds exactly %3").arg(f.fileName()).arg(memory.size()).arg(size));
    return memory;
}

// The addresses of --corrupt-write, each a hex address inside a memory of `size` bytes.
QList<int> corruptAddresses(const QCommandLineParser &p, int size)
{
    QList<int> addresses;
    for (const QString &value : p.values(QStringLiteral("corrupt-write"))) {
        bool ok = false;
        const int address = value.toInt(&ok, 16);
        if (!ok || address < 0 || address >= size)
            fail(QStringLiteral("--corrupt-write needs a hex address inside the memory, as in 0010"));
        addresses.append(address);
    }
    return addresses;
}

int runKvt270(const QCommandLineParser &p)
{
    Kvt270Faults faults;
    faults.silent = p.isSet(QStringLiteral("silent"));
    faults.refuseGreeting = p.isSet(QStringLiteral("refuse-greeting"));
    if (p.isSet(QStringLiteral("ack"))) {
        bool ok = false;
        const int ack = p.value(QStringLiteral("ack")).toInt(&ok, 16);
        if (!ok || ack < 0 || ack > 0xFF)
            fail(QStringLiteral("--ack needs a byte in hex, as in 16"));
        faults.ack = char(ack);
    }
    if (p.isSet(QStringLiteral("stop-at")))
        faults.stopAt = intValue(p, QStringLiteral("stop-at"), 1);
    if (p.isSet(QStringLiteral("short-at")))
        faults.shortAt = intValue(p, QStringLiteral("short-at"), 1);
    if (p.isSet(QStringLiteral("hang-up-at")))
        faults.hangUpAt = intValue(p, QStringLiteral("hang-up-at"), 1);
    if (p.isSet(QStringLiteral("wrong-address-at")))
        faults.wrongAddressAt = intValue(p, QStringLiteral("wrong-address-at"), 1);
    if (p.isSet(QStringLiteral("garbage-at")))
        faults.garbageAt = intValue(p, QStringLiteral("garbage-at"), 1);
    if (p.isSet(QStringLiteral("flood-at")))
        faults.floodAt = intValue(p, QStringLiteral("flood-at"), 1);
    faults.corruptAt = corruptAddresses(p, Kvt270Radio::MemorySize);

    const QByteArray memory = p.isSet(QStringLiteral("memory"))
        ? readMemory(p.value(QStringLiteral("memory")), Kvt270Radio::MemorySize)
        : Kvt270Radio::blankMemory();

    PtyLine line;
    line.setPacing(!p.isSet(QStringLiteral("no-pacing")));
    if (!line.open())
        fail(line.errorString());

    Kvt270Radio radio(&line, faults);
    radio.setMemory(memory);
    radio.setSavePath(p.value(QStringLiteral("save")));
    radio.setRecordPath(p.value(QStringLiteral("record")));
    radio.setVerbose(p.isSet(QStringLiteral("verbose")));

    const int rc = serve(line);
    return radio.save() ? rc : 1;
}
} // namespace

int main(int argc, char **argv)
{
#ifdef __linux__
    // A test that dies must not leave its radio behind.
    ::prctl(PR_SET_PDEATHSIG, SIGTERM);
#endif
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("radiosim"));

    QCommandLineParser p;
    p.setApplicationDescription(QStringLiteral("Simulated radio on a pseudo-terminal."));
    p.addHelpOption();
    p.addPositionalArgument(QStringLiteral("mode"), QStringLiteral("Radio family: kvt560 or kvt270"));
    p.addOptions({
        {QStringLiteral("memory"), QStringLiteral("Load the memory from <file> (kvt560: 4096 bytes, kvt270: 8192)."), QStringLiteral("file")},
        {QStringLiteral("save"), QStringLiteral("Write the memory to <file> on exit, and after each end frame (kvt560) or write (kvt270)."), QStringLiteral("file")},
        {QStringLiteral("no-pacing"), QStringLiteral("Answer at once instead of at 9600 baud.")},
        {QStringLiteral("silent"), QStringLiteral("Never answer.")},
        {QStringLiteral("busy-enter"), QStringLiteral("Answer busy to the first <n> enter frames."), QStringLiteral("n")},
        {QStringLiteral("busy-block"), QStringLiteral("Answer busy to the first <n> requests at <addr> (hex); repeatable."), QStringLiteral("addr:n")},
        {QStringLiteral("short-block"), QStringLiteral("Answer the first <n> reads at <addr> (hex) with half the data and a right check byte; repeatable."), QStringLiteral("addr:n")},
        {QStringLiteral("bad-check-once"), QStringLiteral("Send the first data reply with a wrong check byte.")},
        {QStringLiteral("split"), QStringLiteral("Send the first reply in two parts with a pause between them.")},
        {QStringLiteral("split-pause"), QStringLiteral("Pause of --split in ms (default 100)."), QStringLiteral("ms")},
        {QStringLiteral("echo"), QStringLiteral("Single-head cable: echo every received byte before the reply.")},
        {QStringLiteral("stop-after"), QStringLiteral("Answer only the first <n> block requests, then none."), QStringLiteral("n")},
        {QStringLiteral("no-ack"), QStringLiteral("Neither store nor acknowledge writes at <addr> (hex); repeatable."), QStringLiteral("addr")},
        {QStringLiteral("corrupt-write"), QStringLiteral("After storing a write that covers <addr> (hex), change that byte (its bits inverted); repeatable."), QStringLiteral("addr")},
        {QStringLiteral("unprogrammed-bands"), QStringLiteral("Band limits read as unprogrammed (all 0xFF).")},
        {QStringLiteral("refuse-greeting"), QStringLiteral("kvt270: answer the greeting with 0x07.")},
        {QStringLiteral("ack"), QStringLiteral("kvt270: acknowledge with byte <hex> instead of 06."), QStringLiteral("hex")},
        {QStringLiteral("stop-at"), QStringLiteral("kvt270: no reply from the <n>-th block request on (counting from 1)."), QStringLiteral("n")},
        {QStringLiteral("short-at"), QStringLiteral("kvt270: cut the reply to the <n>-th block request to 7 bytes."), QStringLiteral("n")},
        {QStringLiteral("hang-up-at"), QStringLiteral("Close the line at the <n>-th block request, as a cable pulled out."), QStringLiteral("n")},
        {QStringLiteral("record"), QStringLiteral("kvt270: append every byte received to <file>."), QStringLiteral("file")},
        {QStringLiteral("wrong-address-at"), QStringLiteral("kvt270: answer the <n>-th block request with the next block's reply."), QStringLiteral("n")},
        {QStringLiteral("garbage-at"), QStringLiteral("kvt270: answer the <n>-th block request with 12 random bytes."), QStringLiteral("n")},
        {QStringLiteral("flood-at"), QStringLiteral("kvt270: from the <n>-th block request on, send bytes without end."), QStringLiteral("n")},
        {QStringLiteral("busy-each"), QStringLiteral("kvt560: answer busy to the first <n> requests at every address."), QStringLiteral("n")},
        {QStringLiteral("wrong-address"), QStringLiteral("kvt560: answer the first <n> reads at <addr> (hex) with the next block's reply; repeatable."), QStringLiteral("addr:n")},
        {QStringLiteral("garbage-block"), QStringLiteral("kvt560: answer the first <n> reads at <addr> (hex) with random bytes; repeatable."), QStringLiteral("addr:n")},
        {QStringLiteral("flood"), QStringLiteral("kvt560: from the first block request on, send bytes without end.")},
        {QStringLiteral("min-gap"), QStringLiteral("kvt560: ignore a frame that arrives sooner than <ms> after the last reply."), QStringLiteral("ms")},
        {QStringLiteral("verbose"), QStringLiteral("Log protocol events to stderr.")},
    });
    p.process(app);

    const QStringList mode = p.positionalArguments();
    if (mode.size() == 1 && mode.first() == QLatin1String("kvt270"))
        return runKvt270(p);
    if (mode.size() != 1 || mode.first() != QLatin1String("kvt560"))
        fail(QStringLiteral("give the radio family: radiosim kvt560|kvt270 [options] (see --help)"));

    Kvt560Faults faults;
    faults.silent = p.isSet(QStringLiteral("silent"));
    faults.badCheckOnce = p.isSet(QStringLiteral("bad-check-once"));
    faults.split = p.isSet(QStringLiteral("split"));
    faults.echo = p.isSet(QStringLiteral("echo"));
    if (p.isSet(QStringLiteral("busy-enter")))
        faults.busyEnter = intValue(p, QStringLiteral("busy-enter"), 0);
    if (p.isSet(QStringLiteral("split-pause")))
        faults.splitPauseMs = intValue(p, QStringLiteral("split-pause"), 0);
    if (p.isSet(QStringLiteral("stop-after")))
        faults.stopAfter = intValue(p, QStringLiteral("stop-after"), 0);
    if (p.isSet(QStringLiteral("hang-up-at")))
        faults.hangUpAt = intValue(p, QStringLiteral("hang-up-at"), 1);
    // Options of the form <hex address>:<count>, repeatable.
    const auto addressCounts = [&p](const QString &name) {
        QMap<int, int> counts;
        for (const QString &value : p.values(name)) {
            const QStringList parts = value.split(QLatin1Char(':'));
            bool okA = false, okN = false;
            const int address = parts.value(0).toInt(&okA, 16);
            const int count = parts.value(1).toInt(&okN);
            if (parts.size() != 2 || !okA || !okN || address < 0 || address >= Kvt560Radio::MemorySize || count < 0)
                fail(QStringLiteral("--%1 needs <hex address>:<count>, as in 0010:3").arg(name));
            counts[address] = count;
        }
        return counts;
    };
    faults.busyBlock = addressCounts(QStringLiteral("busy-block"));
    faults.shortBlock = addressCounts(QStringLiteral("short-block"));
    faults.wrongAddress = addressCounts(QStringLiteral("wrong-address"));
    faults.garbageBlock = addressCounts(QStringLiteral("garbage-block"));
    faults.flood = p.isSet(QStringLiteral("flood"));
    if (p.isSet(QStringLiteral("busy-each")))
        faults.busyEach = intValue(p, QStringLiteral("busy-each"), 0);
    if (p.isSet(QStringLiteral("min-gap")))
        faults.minGapMs = intValue(p, QStringLiteral("min-gap"), 0);

    for (const QString &value : p.values(QStringLiteral("no-ack"))) {
        bool ok = false;
        const int address = value.toInt(&ok, 16);
        if (!ok || address < 0 || address >= Kvt560Radio::MemorySize)
            fail(QStringLiteral("--no-ack needs a hex address, as in 0810"));
        faults.noAck.append(address);
    }
    faults.corruptAt = corruptAddresses(p, Kvt560Radio::MemorySize);

    const QByteArray memory = p.isSet(QStringLiteral("memory"))
        ? readMemory(p.value(QStringLiteral("memory")), Kvt560Radio::MemorySize)
        : Kvt560Radio::blankMemory();

    PtyLine line;
    line.setPacing(!p.isSet(QStringLiteral("no-pacing")));
    if (!line.open())
        fail(line.errorString());

    Kvt560Radio radio(&line, faults);
    radio.setMemory(memory);
    if (p.isSet(QStringLiteral("unprogrammed-bands")))
        radio.clearBandLimits();
    radio.setSavePath(p.value(QStringLiteral("save")));
    radio.setVerbose(p.isSet(QStringLiteral("verbose")));

    const int rc = serve(line);
    return radio.save() ? rc : 1;
}
