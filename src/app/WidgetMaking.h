#pragma once
// Small helpers the windows share to place their controls at fixed spots.

#include <QRect>
#include <QString>

class QColor;
class QFrame;
class QLabel;
class QMainWindow;
class QPushButton;
class QWidget;

namespace WidgetMaking {
template <typename W> W* named(W* w, const char* name)
{
    w->setObjectName(QString::fromLatin1(name));
    return w;
}

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text, QRect r);
QPushButton* makeButton(QWidget* parent, const char* name, const QString& text, QRect r, bool bold);
// A plain filled rectangle (backgrounds, etched lines).
QFrame* makePanel(QWidget* parent, const char* name, QRect r, const QColor& colour);
// F10 opens the window's first menu, as on most desktops (Alt and a caption's underlined
// letter opens that menu).
void openMenusWithF10(QMainWindow* window);
} // namespace WidgetMaking
