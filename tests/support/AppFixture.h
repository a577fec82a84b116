#pragma once
// A fresh application per test: its own shared state and windows, the editor shown,
// modal boxes answered by a recorder, and "end the application" only counted.

#include "app/CorvaneApp.h"
#include "app/frmMain.h"
#include "support/Controls.h"
#include "support/ModalRecorder.h"

#include <QApplication>
#include <QTest>
#include <memory>

struct AppFixture
{
    std::unique_ptr<CorvaneApp> app;
    ModalRecorder modal; // detaches before the application goes
    int endRequests = 0;
    QString demoError;

    // `demo`: a simulated unit on COM1, as `corvane --demo` starts. Unpaced unless a paced
    // story passes the real times.
    explicit AppFixture(bool demo = false, const LineTiming& timing = LineTiming::unpaced())
    {
        app = std::make_unique<CorvaneApp>(timing);
        // Saves keep no backup unless a test gives them a folder.
        app->backupFolder.clear();
        // No test may reach a serial device of the machine: only mapped ports exist.
        app->ports.setTestMapping({});
        if (demo && !app->startDemo(&demoError))
            qWarning("no demo unit: %s", qPrintable(demoError));
        modal.attach(app->modal);
        app->endHandler = [this] { ++endRequests; };
        startApplication(*app);
        frmMain& m = app->main();
        m.activateWindow();
        QApplication::setActiveWindow(&m);
        if (!QTest::qWaitForWindowActive(&m))
            qWarning("editor window not active");
    }
    frmMain& main() { return app->main(); }
    PortAccess& portAccess() { return app->portAccess; }
};
