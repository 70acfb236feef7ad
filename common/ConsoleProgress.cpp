#include "common/ConsoleProgress.h"

#include <QtGlobal>
#include <unistd.h>

ConsoleProgress::ConsoleProgress(const QString &label, int maximum, std::FILE *stream)
    : label_(label), maximum_(qMax(1, maximum)), stream_(stream), terminal_(isTerminal(stream))
{
}

ConsoleProgress::~ConsoleProgress()
{
    finish();
}

bool ConsoleProgress::isTerminal(std::FILE *stream)
{
    return ::isatty(::fileno(stream)) == 1;
}

void ConsoleProgress::setValue(int value)
{
    const int percent = int(qBound(0, value, maximum_) * 100LL / maximum_);
    if (percent == shown_)
        return;
    if (!terminal_ && shown_ >= 0 && percent / 10 == shown_ / 10 && percent != 100)
        return;
    print(percent);
}

void ConsoleProgress::print(int percent)
{
    shown_ = percent;
    const QByteArray text = QStringLiteral("%1: %2%").arg(label_).arg(percent).toLocal8Bit();
    if (terminal_) {
        // Carriage return and "erase to end of line" rewrite the line in place.
        std::fprintf(stream_, "\r%s\033[K", text.constData());
        lineOpen_ = true;
    } else {
        std::fprintf(stream_, "%s\n", text.constData());
    }
    std::fflush(stream_);
}

void ConsoleProgress::finish()
{
    if (lineOpen_) {
        std::fputc('\n', stream_);
        std::fflush(stream_);
        lineOpen_ = false;
    }
}
