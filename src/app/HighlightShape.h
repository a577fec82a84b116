#pragma once
// A filled rectangle without border, drawn behind a field so that a coloured margin
// shows around it. Hidden until a load marks its field.

#include <QColor>
#include <QWidget>

class HighlightShape : public QWidget
{
    Q_OBJECT
public:
    explicit HighlightShape(QWidget* parent);
    QColor FillColor() const { return fill_; }
    void setFillColor(const QColor& c);

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QColor fill_{Qt::white};
};

namespace HighlightColors {
inline const QColor Red{255, 128, 128};
inline const QColor Yellow{255, 255, 128};
} // namespace HighlightColors
