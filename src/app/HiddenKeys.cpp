#include "app/HiddenKeys.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

namespace HiddenKeys {
int characterOf(const QKeyEvent* event)
{
    // Ctrl + letter types its control character, whatever text the platform attaches.
    if ((event->modifiers() & Qt::ControlModifier) && event->key() >= Qt::Key_A &&
        event->key() <= Qt::Key_Z)
        return event->key() - Qt::Key_A + 1;
    const QString text = event->text();
    if (text.size() == 1)
        return text.at(0).unicode();
    return -1;
}

int keyFor(const QWidget* window, const QObject* watched, const QEvent* event)
{
    if (event->type() != QEvent::KeyPress || !window->isVisible())
        return -1;
    const QWidget* target = QApplication::focusWidget();
    const QWidget* w = qobject_cast<const QWidget*>(watched);
    if (!w || w->window() != window || !(watched == target || (!target && watched == window)))
        return -1;
    return characterOf(static_cast<const QKeyEvent*>(event));
}

bool completes(bool& armed, int ch)
{
    if (ch == First && !armed) {
        armed = true;
        return false;
    }
    const bool done = ch == Second && armed;
    armed = false;
    return done;
}
} // namespace HiddenKeys
