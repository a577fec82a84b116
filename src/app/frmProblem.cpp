#include "app/frmProblem.h"

#include "app/Modal.h"

#include <QPlainTextEdit>
#include <QPushButton>

frmProblem::frmProblem(Modal& modal) : modal_(modal)
{
    setObjectName(QStringLiteral("frmProblem"));
    setWindowTitle(QStringLiteral("Problem"));
    setFixedSize(337, 129);
    txtProblem = new QPlainTextEdit(this);
    txtProblem->setObjectName(QStringLiteral("txtProblem"));
    txtProblem->setGeometry(8, 24, 313, 57);
    txtProblem->setReadOnly(true);
    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setGeometry(136, 96, 65, 25);
    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
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
    // A child of the window that shows it: centred on it, and no taskbar entry of its own.
    if (owner && parentWidget() != owner)
        setParent(owner, windowFlags());
    setModal(true);
    modal_.showDialog(this);
}
