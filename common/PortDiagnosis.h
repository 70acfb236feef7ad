#pragma once
// Why a serial port does not open, in words a user can act on: the device is not there (and
// which are), the user may not open it (the group that may, and the command that adds the
// user to it), another program holds it (named when the system tells), or the system's own
// text. Each program supplies the sentences in its interface language from its library
// (PortProblemTexts::fromLibrary); what goes into them is found here.
#include <QSerialPort>
#include <QString>
#include <QStringList>

#include <functional>

struct PortProblem
{
    enum Kind { None, Missing, NoPermission, Busy, Other };
    Kind kind = None;
    QString device;        // the device as the program tried to open it
    QStringList present;   // Missing: the serial devices there are
    QString group;         // NoPermission: the group the device node belongs to ("dialout")
    QString user;          // NoPermission: the user the program runs as
    QString holder;        // Busy: "minicom (PID 4711)"; empty when the system does not tell
    QString systemText;    // Other: the system's description of the failure

    bool isProblem() const { return kind != None; }
};

// The sentences of one language, with numbered places. The libraries number them in this
// order from a first string id of their own:
struct PortProblemTexts
{
    QString missing;          // %1 device, %2 the devices present
    QString missingNone;      // %1 device; no serial device is connected
    QString noPermission;     // %1 device, %2 group, %3 user (the command: sudo usermod -aG %2 %3)
    QString busy;             // %1 device, %2 the holder or anotherProgram
    QString anotherProgram;   // the holder when the system does not name it
    QString other;            // %1 device, %2 the system's text
    QString lostRead;         // %1 device; went away during a read, nothing changed
    QString lostWrite;        // %1 device; went away during a write, the radio may be partly written
    QString notConnected;     // a port entry whose device is not there
    QString noDevice;         // the device list when there is none

    // The English sentences, for a library that lacks one (the libraries hold every language).
    static PortProblemTexts english();
    // The sentences `text` gives for the string ids firstId, firstId + 1, … in the order of
    // the members above; each one it gives empty (a library without it) in English.
    static PortProblemTexts fromLibrary(const std::function<QString(int id)> &text, int firstId);
    // Each text this one lacks taken from `fallback`.
    PortProblemTexts completedBy(const PortProblemTexts &fallback) const;

    // The line that says why the port did not open; empty for no problem.
    QString describe(const PortProblem &problem) const;
    // The line that says the device went away during a transfer.
    QString lost(const QString &device, bool writing) const;
};

namespace PortDiagnosis {

// Opens the device as a transfer does (read and write, exclusively) and closes it again.
// A problem of kind None when it opened.
PortProblem tryOpen(const QString &device);

// The problem behind a failed open of `device`, from the port's error and the system's state.
PortProblem diagnose(const QString &device, QSerialPort::SerialPortError error, const QString &errorText);

// The process that has the device open, "name (PID pid)", from /proc or the device's lock
// file; empty when neither tells.
QString holderOf(const QString &device);

} // namespace PortDiagnosis
