#pragma once
// One tools/radiosim process for a test: started in a radio mode with options, its device
// path read from the first line of its output, ended (and so made to save its memory) by
// stop() or the destructor.
#include <QProcess>
#include <QString>
#include <QStringList>

class RadiosimProcess
{
public:
    ~RadiosimProcess() { stop(); }

    bool start(const QString &mode, const QStringList &options)
    {
        process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process_.start(QStringLiteral(RADIOSIM_PATH), QStringList{mode} + options);
        if (!process_.waitForStarted(5000))
            return false;
        while (!process_.canReadLine())
            if (!process_.waitForReadyRead(5000))
                return false;
        device_ = QString::fromLocal8Bit(process_.readLine()).trimmed();
        return !device_.isEmpty();
    }

    // Ends the simulator; with --save it writes its memory on the way out.
    void stop()
    {
        if (process_.state() == QProcess::NotRunning)
            return;
        process_.terminate();
        if (!process_.waitForFinished(5000))
            process_.kill();
    }

    QString device() const { return device_; }
    QProcess &process() { return process_; }

private:
    QProcess process_;
    QString device_;
};
