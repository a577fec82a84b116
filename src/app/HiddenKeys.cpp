#include "app/HiddenKeys.h"

#include <QKeyEvent>

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
} // namespace HiddenKeys
