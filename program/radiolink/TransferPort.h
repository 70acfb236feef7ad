#pragma once
// The line a RadioTransfer talks over, as the transfer uses it: blocking sends and receives
// with the time-outs of the protocol, discarding what was received, and the short pause
// before a request. RadioTransfer implements it on the serial port of the port name; a
// test can hand the transfer another implementation (a radio simulated in the process).
#include <QByteArray>

class TransferPort
{
public:
    virtual ~TransferPort() = default;

    // The pause of 1 ms before each request.
    virtual void pause() = 0;
    // Discards whatever has been received and not yet read.
    virtual void purge() = 0;
    // Sends the bytes, waiting until they have left (within the write time-out).
    virtual void send(const QByteArray &bytes) = 0;
    // Up to n bytes: fewer when the read time-outs run out.
    virtual QByteArray receive(int n) = 0;
};
