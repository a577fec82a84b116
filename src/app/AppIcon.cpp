#include "app/AppIcon.h"

// The resource lives in a static library: nothing would pull it in without this.
static void initIconResource()
{
    Q_INIT_RESOURCE(AppIcon);
}

QIcon applicationIcon()
{
    initIconResource();
    QIcon icon;
    for (int size : {48, 128, 256})
        icon.addFile(QStringLiteral(":/icons/corvane-%1.png").arg(size), QSize(size, size));
    return icon;
}
