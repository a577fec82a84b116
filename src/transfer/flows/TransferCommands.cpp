#include "transfer/flows/TransferCommands.h"

#include "app/CorvaneApp.h"
#include "app/frmMain.h"
#include "app/frmProgress.h"
#include "comm/MSComm.h"
#include "comm/modCorvaneComm.h"
#include "transfer/SavePlan.h"
#include "transfer/flows/EditorReading.h"
#include "transfer/flows/TransferGuard.h"
#include "transfer/flows/TransferTexts.h"
#include "transfer/flows/modGetSetAll.h"

#include <QLabel>

namespace TransferCommands {

namespace {

// The unit needs a moment after the previous exchange before it takes a whole load.
constexpr int LoadSettleMs = 2500;

void showProgress(frmMain& main, const QString& caption, const QString& line)
{
    frmProgress& p = main.app.progress();
    p.setWindowTitle(caption);
    p.lblProgress->setText(line);
    p.setBar(0);
    p.showNow();
}

bool portReady(frmMain& main, const QString& heading)
{
    if (main.MSComm1->PortOpen())
        return true;
    main.app.showProblem(heading + TransferTexts::PortNotAvailable);
    return false;
}

} // namespace

void LoadFromSynchronizer(frmMain& main)
{
    using namespace TransferTexts;
    if (main.app.g.TransferRunning || !portReady(main, CannotLoad))
        return;
    TransferGuard guard(main);
    showProgress(main, LoadCaption, LoadingLine);
    CommContext c = main.app.comm();
    modCorvaneComm::Pause(c, LoadSettleMs);
    const int16_t status = modGetSetAll::GetAllFromCorvane(main);
    main.app.progress().hide();
    if (status == modGetSetAll::CommunicationFailed)
        main.app.showProblem(CannotLoad + CommunicationErrors);
}

void SaveToSynchronizer(frmMain& main)
{
    using namespace TransferTexts;
    if (main.app.g.TransferRunning || !portReady(main, CannotSave))
        return;
    // A value the unit cannot hold stops the save before any window or byte.
    const SavePlan plan = buildSavePlan(readEditor(main));
    if (!plan.ok()) {
        main.app.showProblem(plan.problemText);
        return;
    }

    TransferGuard guard(main);
    showProgress(main, SaveCaption, SavingLine);
    const int16_t saved = modGetSetAll::SetAllToCorvane(main);
    main.app.progress().hide();
    if (saved == modGetSetAll::CommunicationFailed)
        main.app.showProblem(CannotSave + CommunicationErrors);
    if (saved != 0)
        return; // a save that did not complete is not compared

    frmProgress& p = main.app.progress();
    p.lblProgress->setText(ComparingLine);
    p.setBar(0);
    p.showNow();
    const int16_t differences = modGetSetAll::CompareAllFromCorvane(main);
    p.hide();
    if (differences == modGetSetAll::CommunicationFailed)
        main.app.showProblem(CannotCompare + CommunicationErrors);
    else if (differences > 0)
        main.app.showProblem(CompareFailed + NotSavedCorrectly);
}

} // namespace TransferCommands
