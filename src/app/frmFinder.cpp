#include "app/frmFinder.h"

#include "app/CorvaneApp.h"

frmFinder::frmFinder(CorvaneApp& app) : app_(app)
{
    setObjectName(QStringLiteral("frmFinder"));
}

void frmFinder::returnedFromEditor() {}
