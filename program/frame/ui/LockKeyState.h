#pragma once
// The state of the Caps Lock, Num Lock and Scroll Lock keys, for the status-bar indicators.
// Qt does not report these states. On an X11 display they are read from the X keyboard
// extension (libX11 is loaded at run time, so the program has no link-time dependency on it).
// Elsewhere (Wayland, offscreen) the state is unknown.
#include <optional>

class LockKeyState
{
public:
    enum Key { CapsLock, NumLock, ScrollLock };

    LockKeyState();
    // True when the platform reports the lock states.
    bool isKnown() const { return m_known; }
    // The state of one key, or nothing when it is not known.
    std::optional<bool> state(Key key) const;

private:
    bool m_known = false;
};
