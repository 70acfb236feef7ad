#pragma once
// A simulated KVT270 radio (tools/radiosim kvt270, unpaced) behind port COM1 of a
// throw-away application directory, with a known memory, the memory it holds at the end and
// every byte the program sent it.
#include "RadiosimProcess.h"
#include "model/RadioImage.h"

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>


// A memory in which every block differs from its neighbours: byte k is k mixed with k / 256.
inline QByteArray PatternMemory(quint8 salt)
{
    QByteArray m(int(RadioImageSize), '\0');
    for (int k = 0; k < m.size(); ++k)
        m[k] = char((k * 7 + k / 256 + salt) & 0xFF);
    return m;
}

class Kvt270Simulator
{
public:
    // The radio holds `memory`; `faults` are further radiosim options.
    bool start(const QByteArray &memory, const QStringList &faults = {})
    {
        if (!dir.isValid() || !writeFile(QStringLiteral("radio.bin"), memory))
            return false;
        const QStringList options{QStringLiteral("--no-pacing"),
                                  QStringLiteral("--memory"), dir.filePath(QStringLiteral("radio.bin")),
                                  QStringLiteral("--save"), dir.filePath(QStringLiteral("after.bin")),
                                  QStringLiteral("--record"), dir.filePath(QStringLiteral("received.bin"))};
        if (!sim.start(QStringLiteral("kvt270"), options + faults))
            return false;
        return writeFile(QStringLiteral("Program.ini"),
                         QStringLiteral("[Setup]\nLanguage=Eng\nCOM=COM1\n\n[Ports]\nCOM1=%1\n").arg(sim.device()).toUtf8());
    }

    // The application directory whose Program.ini maps COM1 to the radio.
    QString appDirectory() const { return dir.path() + QLatin1Char('/'); }

    // Ends the radio and returns the memory it saved on the way out.
    QByteArray memoryAfter()
    {
        sim.stop();
        return readFile(QStringLiteral("after.bin"));
    }
    QByteArray received() const { return readFile(QStringLiteral("received.bin")); }

    QTemporaryDir dir;
    RadiosimProcess sim;

private:
    bool writeFile(const QString &name, const QByteArray &data) const
    {
        QFile f(dir.filePath(name));
        return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(data) == data.size();
    }
    QByteArray readFile(const QString &name) const
    {
        QFile f(dir.filePath(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
};
