#pragma once

// Window tests reach the controls of a window by their object names, the names the
// layout gives them, as a user or a test tool finds them; the windows keep their layout
// objects private.

#include <QtWidgets>
#include <QString>
#include <QtGlobal>

template <class T>
T *ctl(const QObject *window, const char *name)
{
    T *control = window->findChild<T *>(QString::fromLatin1(name));
    if (!control)
        qFatal("%s has no control %s", qPrintable(window->objectName()), name);
    return control;
}
