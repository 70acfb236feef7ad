#pragma once
// The fixed time windows of a transfer with the radio, in milliseconds. A transfer never
// ends a window early: whatever arrived when it closes is the reply. The program uses the
// standard windows; tests run the same sequences with shorter ones.

struct LinkTiming
{
    int portResetMs = 150;  // after closing and again after reopening the port at a transfer start
    int handshakeMs = 70;   // each greeting and enter attempt
    int blockMs = 80;       // each block read or write request
    int endMs = 70;         // the end frame

    static LinkTiming standard() { return LinkTiming(); }
};
