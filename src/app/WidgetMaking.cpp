#include "app/WidgetMaking.h"

#include <QFrame>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QShortcut>

namespace WidgetMaking {
QLabel* makeLabel(QWidget* parent, const char* name, const QString& text, QRect r)
{
    auto* l = named(new QLabel(text, parent), name);
    l->setGeometry(r);
    return l;
}

QPushButton* makeButton(QWidget* parent, const char* name, const QString& text, QRect r, bool bold)
{
    auto* b = named(new QPushButton(text, parent), name);
    b->setGeometry(r);
    if (bold) {
        QFont f = b->font();
        f.setBold(true);
        b->setFont(f);
    }
    return b;
}

QFrame* makePanel(QWidget* parent, const char* name, QRect r, const QColor& colour)
{
    auto* f = named(new QFrame(parent), name);
    f->setGeometry(r);
    f->setAutoFillBackground(true);
    QPalette p = f->palette();
    p.setColor(QPalette::Window, colour);
    f->setPalette(p);
    return f;
}

void openMenusWithF10(QMainWindow* window)
{
    auto* key = new QShortcut(QKeySequence(Qt::Key_F10), window);
    key->setObjectName(QStringLiteral("keyMenuBar"));
    QObject::connect(key, &QShortcut::activated, window, [window] {
        QMenuBar* bar = window->menuBar();
        if (!bar->actions().isEmpty())
            bar->setActiveAction(bar->actions().constFirst());
    });
}
} // namespace WidgetMaking
