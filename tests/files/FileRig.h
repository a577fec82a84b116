#pragma once
// A fresh application with a scratch folder, and the settings-file commands driven the
// way a user drives them: a button or menu entry, then the file dialog's answer, each run to
// its end. The editor is read and set as text (TransferTest::editorText, setControls).

#include "app/frmFileInput.h"
#include "support/Awaited.h"
#include "support/ScratchFolder.h"
#include "transfer/TransferRig.h"

#include <QAction>
#include <QDir>

using namespace TransferTest;

struct FileRig : AppFixture, ScratchFolder
{
    static QByteArray exampleFile() { return read(CORVANE_SETTINGS_DATA "/defaults.txt"); }
    // A load or save command, button or menu entry, with the file dialog answering `answer`:
    // what its click runs, awaited until the command has ended. A disabled control runs
    // nothing, as a click on it would.
    void run(QObject* command, const QString& answer)
    {
        modal.fileAnswers << answer;
        if (!command->property("enabled").toBool())
            return;
        const QString name = command->objectName();
        frmMain& m = main();
        awaited(name == "cmdFileLoad"    ? m.cmdFileLoad_Click()
                : name == "menuFileLoad" ? m.menuFileLoad_Click()
                : name == "cmdFileSave"  ? m.cmdFileSave_Click()
                                         : m.menuFileSave_Click());
    }
    void load(const QString& answer) { run(ctl<QPushButton>(main(), "cmdFileLoad"), answer); }
    void save(const QString& answer) { run(ctl<QPushButton>(main(), "cmdFileSave"), answer); }
    frmFileInput& preview() { return app->fileInput(); }
    void accept() { QTest::mouseClick(ctl<QPushButton>(preview(), "cmdAccept"), Qt::LeftButton); }
};
