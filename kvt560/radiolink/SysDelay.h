#pragma once
// The timed wait of a transfer: returns after `ms` milliseconds, dispatching the
// application's events meanwhile (window repaints, clicks, the serial port's received
// data). It sleeps in the event loop until a timer ends it; it does not spin.

void SysDelay(int ms);
