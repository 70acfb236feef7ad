#pragma once
// The time windows of a transfer with the radio, in milliseconds. With the standard link a
// transfer never ends a window early: whatever arrived when it closes is the reply. The fast
// link ends a reply's window as soon as the whole reply is in (its length is in its count
// byte), and otherwise at the same window; it also learns the pause a radio needs after its
// reply before it listens again. The program uses the standard windows; tests run the same
// sequences with shorter ones.

struct LinkTiming
{
    int portResetMs = 150;  // after closing and again after reopening the port at a transfer start
    int handshakeMs = 70;   // each greeting and enter attempt
    int blockMs = 80;       // each block read or write request
    int endMs = 70;         // the end frame
    bool fastLink = false;  // end each window when its reply is complete

    static LinkTiming standard() { return LinkTiming(); }
    static LinkTiming fast()
    {
        LinkTiming t;
        t.fastLink = true;
        return t;
    }
};
