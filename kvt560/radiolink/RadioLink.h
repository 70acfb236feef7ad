#pragma once
// The byte link to the radio as the transfer sees it: open and close the port, and one
// exchange step. A transfer is a straight sequence of exchanges on top of this interface;
// SerialTransport implements it on a serial port, tests may implement it with a radio
// simulated in the process.
#include "common/PortDiagnosis.h"

#include <QString>

class RadioLink
{
public:
    virtual ~RadioLink() = default;

    virtual bool open() = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;

    // Sends the frame of `request` (hexadecimal digit pairs without the check byte), having
    // emptied the received text first, waits `waitMs` and returns the text received during
    // the wait (upper-case hexadecimal, check byte included; empty when nothing came).
    virtual QString exchange(const QString &request, int waitMs) = 0;

    // The same exchange, but the wait ends as soon as the received text holds one whole
    // frame (its length is in its count byte, the echo of a single-head cable removed), and
    // otherwise after `waitMs`. A link that cannot tell waits the whole window.
    virtual QString exchangeUntilReply(const QString &request, int waitMs) { return exchange(request, waitMs); }

    // Sends the frame of `request` without emptying the received text, then waits `waitMs`.
    // Used for the end frame, whose reply nobody reads.
    virtual void sendAndWait(const QString &request, int waitMs) = 0;

    // Waits `waitMs` while the application keeps running (the port reset at a transfer start).
    virtual void wait(int waitMs) = 0;

    // Why the last open() failed; kind None when it did not.
    virtual PortProblem openProblem() const { return PortProblem(); }
    // The device of the open port went away (a cable pulled out) since it was opened; it
    // stays true until the next open.
    virtual bool deviceLost() const { return false; }
    // The device the last open() tried (the one that went away, when deviceLost()).
    virtual QString openedDevice() const { return QString(); }
};
