#pragma once
// Finds a window's control by its object name, as the language loader does. A control that
// is not there stops the test at once with its name, instead of crashing on a null pointer.
#include <QByteArray>
#include <QObject>
#include <QString>
#include <QtGlobal>

template <class T>
T *control(const QObject &window, const char *name)
{
    T *found = window.findChild<T *>(QLatin1String(name));
    if (!found)
        qFatal("no control \"%s\" of type %s in %s", name, T::staticMetaObject.className(),
               qPrintable(window.objectName()));
    return found;
}
