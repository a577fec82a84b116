#include "app/FontFit.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QVariant>
#include <algorithm>
#include <cmath>

namespace FontFit {

namespace {
const char* const DesignPlace = "fontFitDesignPlace";
const char* const ShownChars = "fontFitShownChars";

// A control's design place: the first place it had when the window was fitted.
QRect designPlace(const QWidget* w)
{
    const QVariant v = w->property(DesignPlace);
    return v.isValid() ? v.toRect() : w->geometry();
}

// Plain containers whose children are placed by hand; every other widget (a combo box,
// a text area) arranges its own inner parts.
bool isContainer(const QWidget* w)
{
    const char* name = w->metaObject()->className();
    return qstrcmp(name, "QWidget") == 0 || qstrcmp(name, "QGroupBox") == 0 ||
           qstrcmp(name, "QFrame") == 0;
}

template <typename F> void forEachPlaced(QWidget* container, F&& f)
{
    for (QObject* o : container->children()) {
        auto* w = qobject_cast<QWidget*>(o);
        if (!w || w->isWindow())
            continue;
        f(w);
        if (isContainer(w))
            forEachPlaced(w, f);
    }
}

// The room a control's text needs, in its own font.
QSize neededRoom(const QWidget* w)
{
    const QFontMetrics fm = w->fontMetrics();
    const QStyle* style = w->style();
    const int frame = style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, w);
    if (auto* l = qobject_cast<const QLabel*>(w)) {
        if (l->text().isEmpty() || l->wordWrap())
            return {};
        const QRect text = fm.boundingRect(QRect(), Qt::AlignLeft, l->text());
        const int edges = 2 * (l->margin() + l->frameWidth());
        return {text.width() + edges + 2, text.height() + edges};
    }
    if (auto* b = qobject_cast<const QPushButton*>(w)) {
        const int margin = style->pixelMetric(QStyle::PM_ButtonMargin, nullptr, w);
        return {fm.horizontalAdvance(b->text()) + 2 * (margin + frame) + 4, fm.height() + 8};
    }
    if (qobject_cast<const QCheckBox*>(w) || qobject_cast<const QRadioButton*>(w))
        return {w->sizeHint().width(), fm.height() + 2};
    if (auto* g = qobject_cast<const QGroupBox*>(w))
        return {fm.horizontalAdvance(g->title()) + 24, 0};
    if (auto* e = qobject_cast<const QLineEdit*>(w)) {
        const int chars = e->property(ShownChars).toInt();
        const int width =
            chars > 0 ? fm.horizontalAdvance(QString(chars, QLatin1Char('0'))) + 2 * frame + 6 : 0;
        return {width, fm.height() + 2 * frame + 4};
    }
    if (qobject_cast<const QComboBox*>(w))
        return {0, fm.height() + 2 * frame + 6};
    return {};
}

double ratio(int needed, int design)
{
    return design > 0 ? double(needed) / design : 1.0;
}
} // namespace

QRect Scale::operator()(QRect d) const
{
    // Edges are scaled, not sizes, so that controls that touched still touch. A line one
    // pixel thick stays one pixel thick.
    const int left = x(d.left());
    const int top = y(d.top());
    const int width = d.width() <= 1 ? d.width() : x(d.left() + d.width()) - left;
    const int height = d.height() <= 1 ? d.height() : y(d.top() + d.height()) - top;
    return {left, top, width, height};
}

QSize Scale::operator()(QSize d) const
{
    return {x(d.width()), y(d.height())};
}

int Scale::x(int design) const
{
    return int(std::lround(design * across));
}

int Scale::y(int design) const
{
    return int(std::lround(design * down));
}

void setShownChars(QLineEdit* box, int chars)
{
    box->setProperty(ShownChars, chars);
}

Scale neededScale(const QWidget* container)
{
    Scale s;
    forEachPlaced(const_cast<QWidget*>(container), [&s](QWidget* w) {
        const QRect place = designPlace(w);
        const QSize room = neededRoom(w);
        s.across = std::max(s.across, ratio(room.width(), place.width()));
        s.down = std::max(s.down, ratio(room.height(), place.height()));
        // A group's title must fit above its first row.
        if (auto* g = qobject_cast<QGroupBox*>(w)) {
            int firstRow = place.height();
            for (QObject* o : g->children())
                if (auto* child = qobject_cast<QWidget*>(o))
                    firstRow = std::min(firstRow, designPlace(child).top());
            s.down = std::max(s.down, ratio(g->fontMetrics().height() + 2, firstRow));
        }
    });
    return s;
}

void applyScale(QWidget* container, const Scale& scale)
{
    forEachPlaced(container, [&scale](QWidget* w) {
        const QRect place = designPlace(w);
        w->setProperty(DesignPlace, place);
        QRect r = scale(place);
        // A check box or option reacts to clicks on its box and text only: stretched wider,
        // it would look as if its empty right part could be clicked.
        if (qobject_cast<QCheckBox*>(w) || qobject_cast<QRadioButton*>(w))
            r.setWidth(std::min(r.width(), std::max(place.width(), w->sizeHint().width())));
        w->setGeometry(r);
    });
}

Scale fit(QWidget* container)
{
    const Scale s = neededScale(container);
    applyScale(container, s);
    return s;
}

} // namespace FontFit
