#pragma once
// The progress of a command-line transfer on standard error: on a terminal one line
// "Reading radio: 42%" rewritten in place, elsewhere (a log, a pipe) a plain line at every
// tenth of the way, so that a log is not flooded.
#include <QString>
#include <cstdio>

class ConsoleProgress
{
public:
    ConsoleProgress(const QString &label, int maximum, std::FILE *stream = stderr);
    ~ConsoleProgress();

    void setValue(int value);
    // Ends the line on a terminal; called by the destructor as well.
    void finish();

    static bool isTerminal(std::FILE *stream);

private:
    void print(int percent);

    QString label_;
    int maximum_;
    std::FILE *stream_;
    bool terminal_;
    int shown_ = -1;        // the percentage last printed
    bool lineOpen_ = false; // a terminal line waits for its end
};
