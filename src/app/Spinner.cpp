#include "app/Spinner.h"

#include <QAccessibleValueInterface>
#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOption>

namespace {

// A screen reader hears the spinner as a spin control: its name, value, range and step; it
// may set the value, and hears every change (the slider base reports each one).
class SpinnerAccessible : public QAccessibleWidget, public QAccessibleValueInterface
{
public:
    explicit SpinnerAccessible(Spinner* s) : QAccessibleWidget(s, QAccessible::SpinBox) {}

    void* interface_cast(QAccessible::InterfaceType t) override
    {
        if (t == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(t);
    }
    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value)
            return QString::number(spinner()->Value());
        return QAccessibleWidget::text(t);
    }
    QVariant currentValue() const override { return spinner()->Value(); }
    void setCurrentValue(const QVariant& value) override
    {
        spinner()->setValueClamped(value.toInt());
    }
    QVariant maximumValue() const override { return spinner()->Max(); }
    QVariant minimumValue() const override { return spinner()->Min(); }
    QVariant minimumStepSize() const override { return spinner()->singleStep(); }

private:
    Spinner* spinner() const { return static_cast<Spinner*>(widget()); }
};

QAccessibleInterface* accessibleSpinner(const QString& className, QObject* object)
{
    if (className == QLatin1String("Spinner") && object && object->isWidgetType())
        return new SpinnerAccessible(static_cast<Spinner*>(object));
    return nullptr;
}

} // namespace

Spinner::Spinner(int min, int max, QWidget* parent) : QAbstractSlider(parent)
{
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(accessibleSpinner);
        return true;
    }();
    Q_UNUSED(factoryInstalled)
    setOrientation(Qt::Vertical);
    setRange(min, max);
    setValue(min);
    setSingleStep(1);
    setPageStep(5);
    setFocusPolicy(Qt::StrongFocus);
}

int Spinner::arrowHeight() const
{
    return std::min(14, height() / 3);
}

QRect Spinner::upArrowRect() const
{
    return {0, 0, width(), arrowHeight()};
}

QRect Spinner::downArrowRect() const
{
    return {0, height() - arrowHeight(), width(), arrowHeight()};
}

// A small marker in the track: at the top for the largest value.
QRect Spinner::markerRect() const
{
    const int top = arrowHeight();
    const int track = height() - 2 * arrowHeight();
    const int marker = std::max(4, track / 4);
    const int span = std::max(1, maximum() - minimum());
    const int y = top + (track - marker) * (maximum() - value()) / span;
    return {2, y, width() - 4, marker};
}

void Spinner::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !isEnabled())
        return;
    const QPoint at = event->position().toPoint();
    if (upArrowRect().contains(at))
        setValue(value() + singleStep());
    else if (downArrowRect().contains(at))
        setValue(value() - singleStep());
    else if (at.y() < markerRect().top())
        setValue(value() + pageStep());
    else if (at.y() > markerRect().bottom())
        setValue(value() - pageStep());
    event->accept();
}

void Spinner::keyPressEvent(QKeyEvent* event)
{
    const std::pair<int, int> moves[] = {{Qt::Key_Up, singleStep()},
                                         {Qt::Key_Down, -singleStep()},
                                         {Qt::Key_PageUp, pageStep()},
                                         {Qt::Key_PageDown, -pageStep()}};
    // Keys with a modifier, Tab and the rest go on to the window.
    if (!(event->modifiers() & ~Qt::KeypadModifier)) {
        for (const auto& [key, by] : moves) {
            if (event->key() == key) {
                setValue(value() + by);
                event->accept();
                return;
            }
        }
    }
    event->ignore();
}

void Spinner::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    QStyleOption opt;
    opt.initFrom(this);
    p.fillRect(rect(), palette().color(QPalette::Midlight));
    for (const auto& [r, arrow] : {std::pair{upArrowRect(), QStyle::PE_IndicatorArrowUp},
                                   std::pair{downArrowRect(), QStyle::PE_IndicatorArrowDown}}) {
        QStyleOption button = opt;
        button.rect = r;
        button.state |= QStyle::State_Raised;
        style()->drawPrimitive(QStyle::PE_PanelButtonBevel, &button, &p, this);
        button.rect = r.adjusted(3, 3, -3, -3);
        style()->drawPrimitive(arrow, &button, &p, this);
    }
    // The marker shows the keyboard focus in the highlight colour.
    p.fillRect(markerRect(), palette().color(hasFocus() ? QPalette::Highlight : QPalette::Dark));
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = rect();
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &p, this);
    }
}
