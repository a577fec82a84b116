#include "app/frmProblem.h"

#include "app/FontFit.h"
#include "app/Modal.h"

#include <QPlainTextEdit>
#include <QPushButton>

frmProblem::frmProblem(Modal& modal) : modal_(modal)
{
    setObjectName(QStringLiteral("frmProblem"));
    setWindowTitle(QStringLiteral("Problem"));
    txtProblem = new QPlainTextEdit(this);
    txtProblem->setObjectName(QStringLiteral("txtProblem"));
    txtProblem->setGeometry(8, 24, 313, 57);
    txtProblem->setReadOnly(true);
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
    // The height the text takes when wrapped to the box, plus the box's frame and margins.
    const QFontMetrics fm = txtProblem->fontMetrics();
    const int margins =
        2 * (txtProblem->frameWidth() + int(txtProblem->document()->documentMargin()) + 1);
    const int wrapWidth = fittedTextBox_.width() - margins;
    QString shown = text;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    const QRect used =
        fm.boundingRect(QRect(0, 0, wrapWidth, 1 << 20), Qt::TextWordWrap | Qt::AlignLeft, shown);
    const int needed = used.height() + margins + fm.lineSpacing() / 2;
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

void frmProblem::showText(const QString& text, QWidget* owner)
{
    txtProblem->setPlainText(text);
    growFor(text);
    // A child of the window that shows it: centred on it, and no taskbar entry of its own.
    if (owner && parentWidget() != owner)
        setParent(owner, windowFlags());
    setModal(true);
    modal_.showDialog(this);
}
