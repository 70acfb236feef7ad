#include "radiolink/SysDelay.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QThread>
#include <QTimer>

void SysDelay(int ms)
{
    if (ms <= 0)
        return;
    QElapsedTimer clock;
    clock.start();
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    // A timer may be delivered a little early; wait again for the rest so that the window
    // always lasts at least `ms`. QElapsedTimer is monotonic, so a wrap of the system tick
    // counter cannot shorten or lengthen the wait.
    for (qint64 left = ms; left > 0; left = ms - clock.elapsed()) {
        timer.start(static_cast<int>(left));
        if (loop.exec() != 0) {
            // No event loop can run (the application is quitting): sleep out the rest
            // rather than spin.
            QThread::msleep(static_cast<unsigned long>(left));
        }
    }
}
