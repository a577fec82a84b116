#include "app/Placement.h"

#include <QApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace Placement {

namespace {
constexpr int Gap = 12;

QPoint ontoScreen(QPoint at, QSize size, const QRect& screen)
{
    // A box larger than the screen keeps its top left corner visible.
    const int x = std::max(screen.left(), std::min(at.x(), screen.right() + 1 - size.width()));
    const int y = std::max(screen.top(), std::min(at.y(), screen.bottom() + 1 - size.height()));
    return {x, y};
}

QRect screenOf(const QWidget& w)
{
    const QScreen* s = w.screen();
    return s ? s->availableGeometry() : QRect(0, 0, 1 << 14, 1 << 14);
}

// The frame's extra size around the window's contents, as far as the desktop has told it.
QSize frameExtra(const QWidget& w)
{
    return w.frameGeometry().size() - w.geometry().size();
}
} // namespace

QPoint centredOn(QSize size, const QRect& owner, const QRect& screen)
{
    const QPoint at(owner.left() + (owner.width() - size.width()) / 2,
                    owner.top() + (owner.height() - size.height()) / 2);
    return ontoScreen(at, size, screen);
}

QPoint besideOf(QSize size, const QRect& owner, const QRect& screen)
{
    const int right = owner.right() + 1 + Gap;
    if (right + size.width() <= screen.right() + 1)
        return ontoScreen({right, owner.top()}, size, screen);
    const int left = owner.left() - Gap - size.width();
    if (left >= screen.left())
        return ontoScreen({left, owner.top()}, size, screen);
    return ontoScreen({screen.right() + 1 - size.width(), owner.top()}, size, screen);
}

QPoint besideClearOf(QSize size, const QRect& owner, const QRect& screen,
                     const QList<QRect>& others)
{
    const QPoint sides[] = {{owner.right() + 1 + Gap, owner.top()},
                            {owner.left() - Gap - size.width(), owner.top()}};
    for (const QPoint& side : sides) {
        const QPoint at = ontoScreen(side, size, screen);
        if (at.x() != side.x())
            continue; // no room on this side: the box would be pushed over the owner
        const QRect box(at, size);
        if (std::none_of(others.begin(), others.end(),
                         [&box](const QRect& other) { return other.intersects(box); }))
            return at;
    }
    return centredOn(size, owner, screen);
}

QPoint firstOfPair(QSize first, QSize second, const QRect& screen)
{
    const int width = first.width() + Gap + second.width();
    const QPoint at(screen.left() + (screen.width() - width) / 2,
                    screen.top() +
                        (screen.height() - std::max(first.height(), second.height())) / 2);
    return ontoScreen(at, first, screen);
}

void centreOn(QWidget& window, const QWidget& owner)
{
    const QSize size = window.size() + frameExtra(window);
    window.move(centredOn(size, owner.frameGeometry(), screenOf(owner)));
}

void placeBeside(QWidget& window, const QWidget& owner)
{
    const QSize size = window.size() + frameExtra(window);
    window.move(besideOf(size, owner.frameGeometry(), screenOf(owner)));
}

void placeBesideClear(QWidget& window, const QWidget& owner)
{
    QList<QRect> others;
    for (const QWidget* w : QApplication::topLevelWidgets())
        if (w != &window && w != &owner && w->isVisible() &&
            (w->windowType() == Qt::Window || w->windowType() == Qt::Dialog))
            others << w->frameGeometry();
    const QSize size = window.size() + frameExtra(window);
    window.move(besideClearOf(size, owner.frameGeometry(), screenOf(owner), others));
}

void centreOnScreen(QWidget& window)
{
    const QRect screen = screenOf(window);
    window.move(centredOn(window.size() + frameExtra(window), screen, screen));
}

void placePair(QWidget& first, QWidget& second)
{
    first.move(firstOfPair(first.size() + frameExtra(first), second.size() + frameExtra(second),
                           screenOf(first)));
    placeBeside(second, first);
}

} // namespace Placement
