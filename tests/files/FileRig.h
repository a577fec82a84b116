#pragma once
// A fresh application with a scratch folder, and the settings-file commands driven the
// way a user drives them: a button or menu entry, then the file dialog's answer.

#include "settingsfile/SettingsLines.h"
#include "settingsfile/flows/EditorFieldsFromWindow.h"
#include "settingsfile/flows/frmFileInput.h"
#include "support/AppFixture.h"

#include <QAction>
#include <QDir>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>

// Every editor field in one list, so a failed comparison names the one that differs.
inline QStringList describe(const modFileAccess::EditorFields& f)
{
    const auto mode = modFileAccess::ModeWord;
    return QStringList() << f.model << f.channel << mode(f.startMode) << mode(f.endMode)
                         << f.startFrame << f.endFrame << f.startTitle << f.endTitle
                         << f.startChapter << f.endChapter << QString::number(f.synchronize)
                         << QString::number(f.squelch) << f.comment
                         << QStringList(f.initStr.begin(), f.initStr.end());
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
    void accept() { QTest::mouseClick(preview().cmdAccept, Qt::LeftButton); }
    QStringList fields() { return describe(modFileAccess::EditorFieldsFrom(main())); }
    void unlockModelChannel()
    {
        g().ModelChannelUnlocked = true;
        main().showModelChannelUnlocked(true);
    }
};
