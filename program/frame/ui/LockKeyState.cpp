#include "LockKeyState.h"

#include <QGuiApplication>
#include <QLibrary>
#include <QtGui/qguiapplication_platform.h>

namespace {

// The few Xlib entry points needed, resolved from libX11 at run time.
using XInternAtomFn = unsigned long (*)(void *display, const char *name, int onlyIfExists);
using XkbGetNamedIndicatorFn = int (*)(void *display, unsigned long name, int *index, int *state,
                                       void *map, int *real);

struct Xlib {
    XInternAtomFn internAtom = nullptr;
    XkbGetNamedIndicatorFn getNamedIndicator = nullptr;
    bool ok() const { return internAtom && getNamedIndicator; }
};

const Xlib &xlib()
{
    static const Xlib lib = [] {
        Xlib l;
        QLibrary x11(QStringLiteral("X11"), 6);
        if (x11.load()) {
            l.internAtom = reinterpret_cast<XInternAtomFn>(x11.resolve("XInternAtom"));
            l.getNamedIndicator = reinterpret_cast<XkbGetNamedIndicatorFn>(x11.resolve("XkbGetNamedIndicator"));
        }
        return l;
    }();
    return lib;
}

void *x11Display()
{
#if QT_CONFIG(xcb)
    if (auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr)
        return x11->display();
#endif
    return nullptr;
}

} // namespace

LockKeyState::LockKeyState()
{
    m_known = x11Display() && xlib().ok();
}

std::optional<bool> LockKeyState::state(Key key) const
{
    if (!m_known)
        return std::nullopt;
    static const char *const names[] = {"Caps Lock", "Num Lock", "Scroll Lock"};
    void *display = x11Display();
    const unsigned long atom = xlib().internAtom(display, names[key], 1);
    if (atom == 0)
        return std::nullopt;
    int on = 0;
    if (!xlib().getNamedIndicator(display, atom, nullptr, &on, nullptr, nullptr))
        return std::nullopt;
    return on != 0;
}
