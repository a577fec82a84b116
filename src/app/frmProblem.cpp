#include "app/frmProblem.h"

#include "app/Modal.h"

#include <QPlainTextEdit>
#include <QPushButton>

frmProblem::frmProblem()
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

void frmProblem::showModal()
{
    setModal(true);
    Modal::showDialog(this);
}
