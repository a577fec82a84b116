#include "app/frmProgress.h"

#include "app/CorvaneApp.h"

#include <QCloseEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

frmProgress::frmProgress(CorvaneApp& app) : app_(app)
{
    setObjectName(QStringLiteral("frmProgress"));
    setWindowTitle(QStringLiteral("Progress"));
    setModal(false);
    setFixedSize(395, 81);

    lblProgress = new QLabel(QStringLiteral("Label1"), this);
    lblProgress->setObjectName(QStringLiteral("lblProgress"));
    lblProgress->setGeometry(24, 8, 289, 17);
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setGeometry(24, 32, 289, 20);
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(false);
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel->setGeometry(320, 32, 65, 25);
    connect(cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });
}

void frmProgress::cmdCancel_Click()
{
    hide();
    app_.g.ProbeRunning = false;
    emit cancelled();
}

void frmProgress::showNow()
{
    show();
    raise();
    repaint();
}

void frmProgress::setBar(int value)
{
    ProgressBar1->setValue(std::clamp(value, ProgressBar1->minimum(), ProgressBar1->maximum()));
}

void frmProgress::advance(int by)
{
    setBar(ProgressBar1->value() + by);
}

void frmProgress::closeEvent(QCloseEvent* event)
{
    // The close box acts as Cancel: the window is only ever hidden.
    event->ignore();
    cmdCancel_Click();
}
