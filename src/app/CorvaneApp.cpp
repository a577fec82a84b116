#include "app/CorvaneApp.h"

#include "app/frmDebug.h"
#include "app/frmFinder.h"
#include "app/frmHelp.h"
#include "app/frmMain.h"
#include "app/frmProblem.h"
#include "app/frmProgress.h"
#include "comm/CommContext.h"
#include "comm/MSComm.h"
#include "settingsfile/flows/frmFileInput.h"

#include <QPlainTextEdit>
#include <cstdio>
#include <cstdlib>

CorvaneApp::CorvaneApp() = default;

CorvaneApp::~CorvaneApp()
{
    // Secondary windows first: they may refer to the editor.
    debug_.reset();
    fileInput_.reset();
    finder_.reset();
    progress_.reset();
    help_.reset();
    problem_.reset();
    main_.reset();
}

frmMain& CorvaneApp::main()
{
    if (!main_) {
        main_ = std::make_unique<frmMain>(*this);
        main_->Form_Load();
    }
    return *main_;
}

frmFinder& CorvaneApp::finder()
{
    if (!finder_) {
        main(); // the finder works with the editor's serial control
        finder_ = std::make_unique<frmFinder>(*this);
    }
    return *finder_;
}

frmProgress& CorvaneApp::progress()
{
    if (!progress_)
        progress_ = std::make_unique<frmProgress>(*this);
    return *progress_;
}

frmHelp& CorvaneApp::help()
{
    if (!help_)
        help_ = std::make_unique<frmHelp>();
    return *help_;
}

frmProblem& CorvaneApp::problem()
{
    if (!problem_)
        problem_ = std::make_unique<frmProblem>();
    return *problem_;
}

frmFileInput& CorvaneApp::fileInput()
{
    if (!fileInput_) {
        main();
        fileInput_ = std::make_unique<frmFileInput>(*this);
    }
    return *fileInput_;
}

frmDebug& CorvaneApp::debug()
{
    if (!debug_) {
        main();
        debug_ = std::make_unique<frmDebug>(*this);
    }
    return *debug_;
}

void CorvaneApp::forgetDebug()
{
    if (debug_)
        debug_.release()->deleteLater();
}

CommContext CorvaneApp::comm()
{
    frmMain& m = main();
    return CommContext{*m.MSComm1, *m.tmrCommTimer, g};
}

void CorvaneApp::showProblem(const QString& text)
{
    frmProblem& p = problem();
    p.txtProblem->setPlainText(text);
    p.showModal();
}

void CorvaneApp::showAbout()
{
    help().showModal();
}

void CorvaneApp::showFinderFromEditor()
{
    frmMain& m = main();
    if (m.MSComm1->PortOpen())
        m.MSComm1->setPortOpen(false);
    frmFinder& f = finder();
    f.show();
    m.hide();
    f.returnedFromEditor();
}

void CorvaneApp::endApplication()
{
    if (endHandler) {
        endHandler();
        return;
    }
    // Nothing is asked and nothing saved; the port goes with the process.
    if (main_ && main_->MSComm1->PortOpen())
        main_->MSComm1->setPortOpen(false);
    std::fflush(nullptr);
    std::exit(0);
}

void startApplication(CorvaneApp& app)
{
    frmMain& m = app.main();
    m.show();
}
