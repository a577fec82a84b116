#include "app/frmProblem.h"

#include "app/FontFit.h"
#include "app/Modal.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QTextLayout>

frmProblem::frmProblem(Modal& modal) : modal_(modal)
{
    setObjectName(QStringLiteral("frmProblem"));
    setWindowTitle(QStringLiteral("Problem"));
    txtProblem = new QPlainTextEdit(this);
    txtProblem->setObjectName(QStringLiteral("txtProblem"));
    txtProblem->setGeometry(8, 24, 313, 57);
    txtProblem->setReadOnly(true);
    // The text wraps at the box's edge; the box grows down to the text (growFor).
    txtProblem->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setGeometry(136, 96, 65, 25);
    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });

    fittedSize_ = FontFit::fit(this)(QSize(337, 129));
    fittedTextBox_ = txtProblem->geometry();
    fittedOK_ = cmdOK->pos();
    setFixedSize(fittedSize_);
}

void frmProblem::growFor(const QString& text)
{
    // Lays the text out as the box will, at the width it has without a scroll bar, and
    // makes the box as high as those lines.
    const QFont font = txtProblem->font();
    const QFontMetrics fm(font);
    const int margin = int(txtProblem->document()->documentMargin());
    const int frame = txtProblem->frameWidth();
    // Room for a scroll bar is left out: wrapped at the narrower width, the text is sure
    // to fit at the wider one, so no scroll bar ever comes.
    const int scrollBar = txtProblem->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const qreal width = fittedTextBox_.width() - 2 * frame - 2 * margin - scrollBar;
    int lines = 0;
    for (const QString& paragraph :
         QString(text).remove(QLatin1Char('\r')).split(QLatin1Char('\n'))) {
        QTextLayout layout(paragraph, font);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(width);
            ++lines;
        }
        layout.endLayout();
    }
    // The box lays each line out a pixel higher than the font's spacing at some sizes.
    const int needed = lines * (fm.lineSpacing() + 1) + 2 * (frame + margin) + 2;
    const int extra = std::max(0, needed - fittedTextBox_.height());
    txtProblem->setGeometry(fittedTextBox_.adjusted(0, 0, 0, extra));
    cmdOK->move(fittedOK_ + QPoint(0, extra));
    setFixedSize(fittedSize_ + QSize(0, extra));
}

void frmProblem::cmdOK_Click()
{
    hide();
    if (isModal())
        accept();
}

Task<> frmProblem::showText(const QString& text, QWidget* owner)
{
    txtProblem->setPlainText(text);
    growFor(text);
    // A child of the window that shows it: centred on it, and no taskbar entry of its own.
    if (owner && parentWidget() != owner)
        setParent(owner, windowFlags());
    setModal(true);
    return modal_.showDialog(this);
}
