#pragma once
// The running application: the shared state and every window, each created on first
// use. Tests create a fresh one per case and drive its windows by objectName.

#include "model/Globals.h"

#include <functional>
#include <memory>

class frmMain;
class frmFinder;
class frmProgress;
class frmHelp;
class frmProblem;
class frmFileInput;
class frmDebug;
struct CommContext;

class CorvaneApp
{
public:
    CorvaneApp();
    ~CorvaneApp();
    CorvaneApp(const CorvaneApp&) = delete;
    CorvaneApp& operator=(const CorvaneApp&) = delete;

    Globals g;

    frmMain& main(); // created (and loaded) on first use
    frmFinder& finder();
    frmProgress& progress();
    frmHelp& help();
    frmProblem& problem();
    frmFileInput& fileInput();
    frmDebug& debug();
    bool hasFinder() const { return finder_ != nullptr; }
    bool hasDebug() const { return debug_ != nullptr; }
    void forgetDebug(); // the debug window was closed by its close box and is gone

    // The serial control and timer of the editor window, with the shared state.
    CommContext comm();

    // frmProblem with the given text, shown modal.
    void showProblem(const QString& text);
    // The About window, shown modal.
    void showAbout();
    // The editor's "Find Synchronizer": closes the port, hides the editor, shows the finder.
    void showFinderFromEditor();

    // Ends the application at once, asking nothing. Tests replace endHandler.
    void endApplication();
    std::function<void()> endHandler;

private:
    std::unique_ptr<frmMain> main_;
    std::unique_ptr<frmFinder> finder_;
    std::unique_ptr<frmProgress> progress_;
    std::unique_ptr<frmHelp> help_;
    std::unique_ptr<frmProblem> problem_;
    std::unique_ptr<frmFileInput> fileInput_;
    std::unique_ptr<frmDebug> debug_;
};

// Start-up: creates the editor window, loads it and shows it.
void startApplication(CorvaneApp& app);
