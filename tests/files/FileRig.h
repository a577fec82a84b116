#pragma once
// A fresh application with a scratch folder, and the settings-file commands driven the
// way a user drives them: a button or menu entry, then the file dialog's answer.

#include "app/frmFileInput.h"
#include "settingsfile/SettingsLines.h"
#include "support/AppFixture.h"

#include <QAction>
#include <QDir>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>

// Every editor field in one list, so a failed comparison names the one that differs.
inline QStringList describe(const EditorSnapshot& f)
{
    const auto mode = modFileAccess::ModeWord;
    return QStringList() << f.txtModel << f.txtChannel << mode(f.StartMode) << mode(f.EndMode)
                         << f.txtStartFrame << f.txtEndFrame << f.txtStartTitle << f.txtEndTitle
                         << f.txtStartChapter << f.txtEndChapter
                         << QString::number(f.chkSynchronize) << QString::number(f.chkSquelch)
                         << f.txtComment << QStringList(f.txtInitStr.begin(), f.txtInitStr.end());
}

struct FileRig : AppFixture
{
    QTemporaryDir dir;

    static QByteArray readBytes(const QString& file)
    {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    static QByteArray exampleFile() { return readBytes(CORVANE_SETTINGS_DATA "/defaults.txt"); }
    QString writeFile(const QString& name, const QByteArray& bytes)
    {
        QFile f(dir.filePath(name));
        if (f.open(QIODevice::WriteOnly))
            f.write(bytes);
        return f.fileName();
    }
    // A load or save command, button or menu entry, with the file dialog answering `answer`.
    void run(QObject* command, const QString& answer)
    {
        modal.fileAnswers << answer;
        QMetaObject::invokeMethod(command, qobject_cast<QAction*>(command) ? "trigger" : "click");
    }
    void load(const QString& answer) { run(ctl<QPushButton>(main(), "cmdFileLoad"), answer); }
    void save(const QString& answer) { run(ctl<QPushButton>(main(), "cmdFileSave"), answer); }
    frmFileInput& preview() { return app->fileInput(); }
    void accept() { QTest::mouseClick(ctl<QPushButton>(preview(), "cmdAccept"), Qt::LeftButton); }
    QStringList fields() { return describe(main().model().snapshot()); }
    void unlockModelChannel() { main().model().setModelChannelUnlocked(true); }
};
