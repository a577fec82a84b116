#include "app/frmDebug.h"

#include "app/CorvaneApp.h"

frmDebug::frmDebug(CorvaneApp& app) : app_(app)
{
    setObjectName(QStringLiteral("frmDebug"));
}
