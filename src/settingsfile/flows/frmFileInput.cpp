#include "settingsfile/flows/frmFileInput.h"

#include "app/CorvaneApp.h"

frmFileInput::frmFileInput(CorvaneApp& app) : app_(app)
{
    setObjectName(QStringLiteral("frmFileInput"));
}
