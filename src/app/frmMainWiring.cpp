// The editor window's menus and the connections from every control to its handler.

#include "app/Spinner.h"
#include "app/WidgetMaking.h"
#include "app/frmMain.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>

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
    spacerMonitor = separator(menuSynchronizer, "spacerMonitor");
    menuLineMonitor = action(menuSynchronizer, "menuLineMonitor", QStringLiteral("Line &Monitor"));

    menuHep = named(menuBar()->addMenu(QStringLiteral("&Help")), "menuHep");
    menuAbout = action(menuHep, "menuAbout", QStringLiteral("&About"));
}

void frmMain::connectHandlers()
{
    auto onValue = [this](Spinner* s, void (frmMain::*handler)()) {
        connect(s, &QAbstractSlider::valueChanged, this, [this, handler] { (this->*handler)(); });
    };
    onValue(scrModel, &frmMain::scrModel_Change);
    onValue(scrChannel, &frmMain::scrChannel_Change);
    onValue(scrStartTitle, &frmMain::scrStartTitle_Change);
    onValue(scrEndTitle, &frmMain::scrEndTitle_Change);
    onValue(scrStartChapter, &frmMain::scrStartChapter_Change);
    onValue(scrEndChapter, &frmMain::scrEndChapter_Change);
    onValue(scrStartMinutes, &frmMain::scrStartMinutes_Change);
    onValue(scrStartSeconds, &frmMain::scrStartSeconds_Change);
    onValue(scrEndMinutes, &frmMain::scrEndMinutes_Change);
    onValue(scrEndSeconds, &frmMain::scrEndSeconds_Change);

    for (QRadioButton* o : {optStartTitle, optStartChapter, optStartTimecode, optStartFrame})
        connect(o, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                ApplyStartMode();
        });
    for (QRadioButton* o : {optEndTitle, optEndChapter, optEndTimecode, optEndFrame})
        connect(o, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                ApplyEndMode();
        });

    connect(chkSynchronize, &QCheckBox::toggled, this, [this] { chkSynchronize_Click(); });
    connect(chkSquelch, &QCheckBox::toggled, this, [this] { chkSquelch_Click(); });
    connect(txtComment, &QLineEdit::textChanged, this, [this] { txtComment_Change(); });
    for (int i = 0; i < 4; ++i)
        connect(txtInitStr[i], &QLineEdit::textChanged, this, [this, i] { txtInitStr_Change(i); });

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
    connect(menuAbout, &QAction::triggered, this, [this] { menuAbout_Click(); });
    connect(menuLineMonitor, &QAction::triggered, this, [this] { menuLineMonitor_Click(); });
}
