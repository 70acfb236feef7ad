#pragma once
// The simulated radio of tools/radiosim for one test, reached through the [ports] entry of
// a temporary ini file; and a link that records every request a transfer sends.
#include "radiolink/RadioLink.h"
#include "radiolink/SerialTransport.h"

#include <QFile>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

class RadioSimulator
{
public:
    ~RadioSimulator() { stop(); }

    bool start(const QStringList &options)
    {
        process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process_.start(QStringLiteral(RADIOSIM_PATH), QStringList{QStringLiteral("kvt560")} + options);
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

    // Maps port COM1 to the simulator in an ini file of `dir` and points the transport at it.
    bool attach(SerialTransport &transport, const QTemporaryDir &dir) const
    {
        const QString ini = dir.filePath(QStringLiteral("myini.ini"));
        QFile f(ini);
        if (!f.open(QIODevice::WriteOnly))
            return false;
        f.write(QStringLiteral("[ports]\nCOM1=%1\n").arg(device_).toUtf8());
        f.close();
        transport.setIniPath(ini);
        transport.setPortNumber(1);
        return transport.ProbePort(1);
    }

private:
    QProcess process_;
    QString device_;
};

// Passes everything to another link and keeps the requests in the order they were sent.
class RecordingLink : public RadioLink
{
public:
    explicit RecordingLink(RadioLink &inner) : inner_(inner) {}

    bool open() override { return inner_.open(); }
    void close() override { inner_.close(); }
    bool isOpen() const override { return inner_.isOpen(); }
    QString exchange(const QString &request, int waitMs) override
    {
        requests.append(request);
        return inner_.exchange(request, waitMs);
    }
    void sendAndWait(const QString &request, int waitMs) override
    {
        requests.append(request);
        inner_.sendAndWait(request, waitMs);
    }
    void wait(int waitMs) override { inner_.wait(waitMs); }

    int count(const QString &request) const { return int(requests.count(request)); }
    int countStartingWith(const QString &prefix) const
    {
        int n = 0;
        for (const QString &r : requests)
            n += r.startsWith(prefix) ? 1 : 0;
        return n;
    }

    QStringList requests;

private:
    RadioLink &inner_;
};
