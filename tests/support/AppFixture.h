#pragma once
// A fresh application per test: its own shared state and windows, the editor shown,
// modal boxes answered by a recorder, and "end the application" only counted.

#include "app/CorvaneApp.h"
#include "app/frmMain.h"
#include "support/ModalRecorder.h"

#include <QApplication>
#include <QTest>
#include <memory>

struct AppFixture
{
    ModalRecorder modal;
    std::unique_ptr<CorvaneApp> app;
    int endRequests = 0;

    AppFixture()
    {
        app = std::make_unique<CorvaneApp>();
        app->endHandler = [this] { ++endRequests; };
        startApplication(*app);
        frmMain& m = app->main();
        m.activateWindow();
        QApplication::setActiveWindow(&m);
        if (!QTest::qWaitForWindowActive(&m))
            qWarning("editor window not active");
    }
    frmMain& main() { return app->main(); }
    Globals& g() { return app->g; }
};
