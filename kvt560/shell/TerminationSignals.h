#pragma once
// Turns SIGINT and SIGTERM into a Qt signal delivered on the event loop (self-pipe: the
// handler only writes one byte), so the program can end through its normal exit path and
// write its preferences. One instance per process.
#include <QObject>

class QSocketNotifier;

class TerminationSignals : public QObject
{
    Q_OBJECT
public:
    explicit TerminationSignals(QObject *parent = nullptr);
    ~TerminationSignals() override;

signals:
    void terminationRequested(int signalNumber);

private:
    void readPipe();
    QSocketNotifier *notifier_ = nullptr;
};
