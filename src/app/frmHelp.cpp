#include "app/frmHelp.h"

#include "app/FontFit.h"
#include "app/IndicatorImages.h"
#include "app/Modal.h"
#include "model/AppIdentity.h"

#include <QLabel>
#include <QPushButton>

frmHelp::frmHelp(Modal& modal) : modal_(modal)
{
    setObjectName(QStringLiteral("frmHelp"));
    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(24, 48, 374, 195);
    Image1->setPixmap(IndicatorImages::productPicture());
    lblHelp = new QLabel(this);
    lblHelp->setObjectName(QStringLiteral("lblHelp"));
    lblHelp->setGeometry(8, 256, 401, 20);
    lblHelp2 = new QLabel(this);
    lblHelp2->setObjectName(QStringLiteral("lblHelp2"));
    lblHelp2->setGeometry(8, 288, 401, 44);
    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setGeometry(336, 344, 65, 41);
    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });

    // Set once, when the window is first created.
    lblHelp->setText(AppIdentity::Title + QStringLiteral(" vers. %1.%2.%3(beta)")
                                              .arg(AppIdentity::Major)
                                              .arg(AppIdentity::Minor)
                                              .arg(AppIdentity::Revision));
    lblHelp2->setText(QStringLiteral("For programming Orbelin Synchronizers"));
    setWindowTitle(QStringLiteral("About ") + AppIdentity::Title);
    setFixedSize(FontFit::fit(this)(QSize(422, 401)));
    Image1->setAlignment(Qt::AlignCenter);
}

void frmHelp::cmdOK_Click()
{
    hide();
    if (isModal())
        accept();
}

Task<> frmHelp::showOver(QWidget* owner)
{
    // A child of the window that shows it: centred on it, and no taskbar entry of its own.
    if (owner && parentWidget() != owner)
        setParent(owner, windowFlags());
    setModal(true);
    return modal_.showDialog(this);
}
