#pragma once
// Keyboard checks of a shown window, as a keyboard and screen-reader user meets it:
//  - tabProblems() presses Tab from a first control until the focus comes back to it and
//    reports every control that Tab never reached and the control where it got stuck (the
//    focus stays, or it runs in a circle that never comes back);
//  - unnamedControls() lists the controls a screen reader has no name for.
// "Controls" are the widgets under a root that a user can put the focus on with Tab:
// visible, enabled, with a Tab focus policy and no focus proxy.
#include <QAccessible>
#include <QApplication>
#include <QCoreApplication>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTest>
#include <QWidget>

namespace FocusWalk {

inline QList<QWidget *> tabControls(QWidget *root)
{
    QList<QWidget *> controls;
    for (QWidget *w : root->findChildren<QWidget *>()) {
        if (w->isVisible() && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus) && !w->focusProxy()
            && w->window() == root->window())
            controls.append(w);
    }
    return controls;
}

inline QString describe(const QWidget *w)
{
    if (!w)
        return QStringLiteral("(nothing)");
    QString name = w->objectName();
    if (name.isEmpty() && w->parentWidget())
        name = QStringLiteral("child of ") + describe(w->parentWidget());
    return QStringLiteral("%1 \"%2\"").arg(QLatin1String(w->metaObject()->className()), name);
}

// The widgets the focus visits, from first (included) on, pressing Tab at most maxPresses
// times. cycled: the focus came back to a widget it had visited; stuck: it stayed where it
// was. A circle that leaves controls out shows as controls never reached.
struct Walk {
    QList<QWidget *> visited;
    QWidget *stuck = nullptr;
    bool cycled = false;
};

inline Walk walkTab(QWidget *first, int maxPresses = 200, Qt::Key key = Qt::Key_Tab)
{
    Walk walk;
    first->setFocus(Qt::TabFocusReason);
    QCoreApplication::processEvents();
    QWidget *start = QApplication::focusWidget();
    walk.visited.append(start);
    for (int i = 0; i < maxPresses && start; ++i) {
        QWidget *before = QApplication::focusWidget();
        QTest::keyClick(before ? before : first, key);
        QCoreApplication::processEvents();
        QWidget *after = QApplication::focusWidget();
        if (after == start) {
            walk.cycled = true;   // round (a window of one control: it stays there)
            break;
        }
        if (!after || after == before) {
            walk.stuck = before;
            break;
        }
        if (walk.visited.contains(after)) {
            // Round once. An editor that closes as it is left (the start) is not met again.
            walk.cycled = true;
            break;
        }
        walk.visited.append(after);
    }
    return walk;
}

// Empty when Tab from first goes round under root, reaching every control, and Shift+Tab
// goes round too; otherwise what went wrong, for the failure message.
inline QString tabProblems(QWidget *root, QWidget *first, int maxPresses = 200)
{
    QStringList problems;
    for (Qt::Key key : {Qt::Key_Tab, Qt::Key_Backtab}) {
        const Walk walk = walkTab(first, maxPresses, key);
        const QString keyName = key == Qt::Key_Tab ? QStringLiteral("Tab") : QStringLiteral("Shift+Tab");
        if (walk.stuck)
            problems << QStringLiteral("%1 is trapped at %2").arg(keyName, describe(walk.stuck));
        else if (!walk.cycled)
            problems << QStringLiteral("%1 does not come round from %2").arg(keyName, describe(first));
        if (key != Qt::Key_Tab)
            continue;
        for (QWidget *w : tabControls(root))
            if (!walk.visited.contains(w))
                problems << QStringLiteral("Tab never reaches %1").arg(describe(w));
    }
    return problems.join(QStringLiteral("; "));
}

// The order in which Tab visits the given widgets (those it never reaches left out).
inline QList<QWidget *> tabOrderOf(QWidget *first, const QList<QWidget *> &widgets)
{
    QList<QWidget *> order;
    for (QWidget *w : walkTab(first).visited)
        if (widgets.contains(w))
            order.append(w);
    return order;
}

inline QString accessibleName(QWidget *w)
{
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(w);
    return iface ? iface->text(QAccessible::Name).trimmed() : QString();
}

// What a screen reader says for w: the names of its labels (the labelled-by relation, from
// buddies) before its own name. On some platforms a drop-down's own name is its current
// text, and its label says what it is.
inline QString spokenName(QWidget *w)
{
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(w);
    if (!iface)
        return QString();
    QStringList parts;
    for (const auto &relation : iface->relations(QAccessible::Label))
        parts << relation.first->text(QAccessible::Name).trimmed();
    parts << iface->text(QAccessible::Name).trimmed();
    parts.removeAll(QString());
    return parts.join(QLatin1Char(' '));
}

// The controls under root whose accessible name is empty, described.
inline QStringList unnamedControls(QWidget *root)
{
    QStringList unnamed;
    for (QWidget *w : tabControls(root))
        if (accessibleName(w).isEmpty())
            unnamed << describe(w);
    return unnamed;
}

} // namespace FocusWalk
