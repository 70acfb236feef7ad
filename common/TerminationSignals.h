#pragma once
// Turns SIGINT and SIGTERM into a Qt signal delivered on the main thread, so that an
// interrupted or terminated program leaves through its normal exit path (preferences
// written) instead of dying on the spot.
#include <QObject>

class QSocketNotifier;

class TerminationSignals : public QObject
{
    Q_OBJECT
public:
    explicit TerminationSignals(QObject *parent = nullptr);
    ~TerminationSignals() override;
    bool isActive() const { return m_notifier != nullptr; }

signals:
    void terminationRequested(int signalNumber);

private:
    void readSignal();
    QSocketNotifier *m_notifier = nullptr;
};
