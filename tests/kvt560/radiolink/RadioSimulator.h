#pragma once
// The simulated radio of tools/radiosim for one test, reached through the [ports] entry of
// a temporary ini file; and a link that records every request a transfer sends.
#include "RadiosimProcess.h"
#include "radiolink/RadioLink.h"
#include "radiolink/SerialTransport.h"

#include <QFile>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

class RadioSimulator : public RadiosimProcess
{
public:
    bool start(const QStringList &options) { return RadiosimProcess::start(QStringLiteral("kvt560"), options); }

    // Maps port COM1 to the simulator in an ini file of `dir` and points the transport at it.
    bool attach(SerialTransport &transport, const QTemporaryDir &dir) const
    {
        const QString ini = dir.filePath(QStringLiteral("myini.ini"));
        QFile f(ini);
        if (!f.open(QIODevice::WriteOnly))
            return false;
        f.write(QStringLiteral("[ports]\nCOM1=%1\n").arg(device()).toUtf8());
        f.close();
        transport.setIniPath(ini);
        transport.setPortNumber(1);
        return transport.ProbePort(1);
    }
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
    QString exchangeUntilReply(const QString &request, int waitMs) override
    {
        requests.append(request);
        return inner_.exchangeUntilReply(request, waitMs);
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
