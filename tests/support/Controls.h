#pragma once
// A window's control by its objectName, as a user finds it on screen. A control that is
// not there ends the test run: every later step would only fail less clearly.

#include "app/HighlightShape.h"

#include <QObject>
#include <QString>
#include <QVector>
#include <QtGlobal>

template <typename W> W* ctl(const QObject& window, const QString& name)
{
    W* w = window.findChild<W*>(name);
    if (!w)
        qFatal("no control %s in %s", qPrintable(name), qPrintable(window.objectName()));
    return w;
}

// The editor's fourteen highlight marks.
inline QVector<HighlightShape*> highlightShapes(const QObject& editor)
{
    QVector<HighlightShape*> shapes;
    for (HighlightShape* s : editor.findChildren<HighlightShape*>())
        if (s->objectName().startsWith(QLatin1String("shpHiLite")))
            shapes.append(s);
    return shapes;
}
