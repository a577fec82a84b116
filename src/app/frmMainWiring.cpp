// The editor window's menus, and the connections from its buttons and menus to their
// handlers.

#include "app/WidgetMaking.h"
#include "app/frmMain.h"

#include <QAction>
#include <QMenuBar>
#include <QPushButton>

using namespace WidgetMaking;

void frmMain::buildMenus()
{
    auto action = [this](QMenu* menu, const char* name, const QString& text) {
        QAction* a = menu->addAction(text);
        a->setObjectName(QString::fromLatin1(name));
        return a;
    };
    auto separator = [](QMenu* menu, const char* name) {
        QAction* a = menu->addSeparator();
        a->setObjectName(QString::fromLatin1(name));
        return a;
    };
    menuFile = named(menuBar()->addMenu(QStringLiteral("&File")), "menuFile");
    menuFileLoad = action(menuFile, "menuFileLoad", QStringLiteral("&Load from File"));
    menuFileSave = action(menuFile, "menuFileSave", QStringLiteral("&Save to File"));
    Spacer2 = separator(menuFile, "Spacer2");
    menuExit = action(menuFile, "menuExit", QStringLiteral("E&xit"));

    menuSynchronizer =
        named(menuBar()->addMenu(QStringLiteral("&Synchronizer")), "menuSynchronizer");
    menuConnect = action(menuSynchronizer, "menuConnect", QStringLiteral("&Find Synchronizer"));
    spacer1 = separator(menuSynchronizer, "spacer1");
    menuLoadFrom =
        action(menuSynchronizer, "menuLoadFrom", QStringLiteral("&Load from Synchronizer"));
    menuSaveTo = action(menuSynchronizer, "menuSaveTo", QStringLiteral("&Save to Synchronizer"));
    menuRestoreBackup =
        action(menuSynchronizer, "menuRestoreBackup", QStringLiteral("&Restore Backup..."));
    menuRack = action(menuSynchronizer, "menuRack", QStringLiteral("Rac&k..."));
    spacerMonitor = separator(menuSynchronizer, "spacerMonitor");
    menuLineMonitor = action(menuSynchronizer, "menuLineMonitor", QStringLiteral("Line &Monitor"));

    menuHep = named(menuBar()->addMenu(QStringLiteral("&Help")), "menuHep");
    menuAbout = action(menuHep, "menuAbout", QStringLiteral("&About"));
}

void frmMain::connectHandlers()
{
    connect(cmdExit, &QPushButton::clicked, this, [this] { cmdExit_Click(); });
    connect(cmdDefaults, &QPushButton::clicked, this, [this] { cmdDefaults_Click(); });
    connect(cmdLoadFrom, &QPushButton::clicked, this, [this] { cmdLoadFrom_Click(); });
    connect(cmdSaveTo, &QPushButton::clicked, this, [this] { cmdSaveTo_Click(); });
    connect(cmdFileLoad, &QPushButton::clicked, this, [this] { cmdFileLoad_Click(); });
    connect(cmdFileSave, &QPushButton::clicked, this, [this] { cmdFileSave_Click(); });

    connect(menuFileLoad, &QAction::triggered, this, [this] { menuFileLoad_Click(); });
    connect(menuFileSave, &QAction::triggered, this, [this] { menuFileSave_Click(); });
    connect(menuExit, &QAction::triggered, this, [this] { menuExit_Click(); });
    connect(menuConnect, &QAction::triggered, this, [this] { menuConnect_Click(); });
    connect(menuLoadFrom, &QAction::triggered, this, [this] { menuLoadFrom_Click(); });
    connect(menuSaveTo, &QAction::triggered, this, [this] { menuSaveTo_Click(); });
    connect(menuRestoreBackup, &QAction::triggered, this, [this] { menuRestoreBackup_Click(); });
    connect(menuAbout, &QAction::triggered, this, [this] { menuAbout_Click(); });
    connect(menuLineMonitor, &QAction::triggered, this, [this] { menuLineMonitor_Click(); });
    connect(menuRack, &QAction::triggered, this, &frmMain::rackRequested);
}
