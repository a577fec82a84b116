#include "app/frmProgress.h"

#include "app/FontFit.h"
#include "app/Placement.h"

#include <QCloseEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

frmProgress::frmProgress(std::function<QWidget*()> workWindow) : workWindow_(std::move(workWindow))
{
    setObjectName(QStringLiteral("frmProgress"));
    setWindowTitle(QStringLiteral("Progress"));
    setModal(false);

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
    // The longest hint a probe shows, so that the window is fitted to it.
    lblProgressHint =
        new QLabel(QStringLiteral("30 seconds left: press RESET on the synchronizer now"), this);
    lblProgressHint->setObjectName(QStringLiteral("lblProgressHint"));
    lblProgressHint->setGeometry(24, 60, 361, 17);
    QFont bold = lblProgressHint->font();
    bold.setBold(true);
    lblProgressHint->setFont(bold);
    connect(cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });

    setFixedSize(FontFit::fit(this)(QSize(395, 81)));
    setProgressHint(QString());
}

void frmProgress::setProgressHint(const QString& hint)
{
    lblProgressHint->setText(hint);
    lblProgressHint->setVisible(!hint.isEmpty());
}

void frmProgress::cmdCancel_Click()
{
    hide();
    emit cancelNotifier_.cancelled();
}

void frmProgress::showNow()
{
    show();
    raise();
    repaint();
}

void frmProgress::startProgress(const QString& caption, const QString& line, int barMax)
{
    // A child of the window the user works in: it stays over it and has no taskbar entry.
    QWidget* owner = workWindow_();
    if (parentWidget() != owner)
        setParent(owner, windowFlags());
    if (!isVisible())
        Placement::centreOn(*this, *owner);
    setWindowTitle(caption);
    lblProgress->setText(line);
    setProgressHint(QString());
    ProgressBar1->setMaximum(barMax);
    setBar(0);
    showNow();
}

void frmProgress::setProgressLine(const QString& line)
{
    lblProgress->setText(line);
}

void frmProgress::setBarMax(int max)
{
    ProgressBar1->setMaximum(max);
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
