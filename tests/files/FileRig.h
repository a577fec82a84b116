#pragma once
// A fresh application with a scratch folder, and the settings-file commands driven the
// way a user drives them: a button or menu entry, then the file dialog's answer.

#include "settingsfile/SettingsLines.h"
#include "settingsfile/flows/EditorFieldsFromWindow.h"
#include "settingsfile/flows/frmFileInput.h"
#include "support/AppFixture.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>

struct FileRig : AppFixture
{
    QTemporaryDir dir;

    QString path(const QString& name) const { return dir.filePath(name); }

    static QByteArray readBytes(const QString& file)
    {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    static void writeBytes(const QString& file, const QByteArray& bytes)
    {
        QFile f(file);
        QVERIFY2(f.open(QIODevice::WriteOnly | QIODevice::Truncate), qPrintable(file));
        QCOMPARE(f.write(bytes), bytes.size());
    }
    static QByteArray exampleFile()
    {
        return readBytes(QStringLiteral(CORVANE_SETTINGS_DATA "/defaults.txt"));
    }

    // "LOAD from File" with the open dialog answering `answer` ("" = cancel).
    void load(const QString& answer)
    {
        modal.fileAnswers << answer;
        QTest::mouseClick(main().cmdFileLoad, Qt::LeftButton);
    }
    // " SAVE to   File" with the save dialog answering `answer`.
    void save(const QString& answer)
    {
        modal.fileAnswers << answer;
        QTest::mouseClick(main().cmdFileSave, Qt::LeftButton);
    }
    frmFileInput& preview() { return app->fileInput(); }
    void accept() { QTest::mouseClick(preview().cmdAccept, Qt::LeftButton); }
    void cancel() { QTest::mouseClick(preview().cmdCancel, Qt::LeftButton); }

    // The details box, one entry per line (without the final empty one).
    QStringList details()
    {
        QStringList lines = preview().txtInput->toPlainText().split(QLatin1Char('\n'));
        if (!lines.isEmpty() && lines.last().isEmpty())
            lines.removeLast();
        return lines;
    }

    modFileAccess::EditorFields fields() { return modFileAccess::EditorFieldsFrom(main()); }

    void unlockModelChannel()
    {
        g().ModelChannelUnlocked = true;
        main().ShowModelChannelUnlocked(true);
    }

    static bool activate(QWidget* w)
    {
        w->activateWindow();
        QApplication::setActiveWindow(w);
        return QTest::qWaitForWindowActive(w);
    }
};

// One "name=value" entry per field, so a failed comparison names the field.
inline QStringList describe(const modFileAccess::EditorFields& f, bool withModelChannel = true)
{
    QStringList out;
    if (withModelChannel)
        out << "model=" + f.model << "channel=" + f.channel;
    out << "startMode=" + modFileAccess::ModeWord(f.startMode)
        << "endMode=" + modFileAccess::ModeWord(f.endMode) << "startFrame=" + f.startFrame
        << "endFrame=" + f.endFrame << "startTitle=" + f.startTitle << "endTitle=" + f.endTitle
        << "startChapter=" + f.startChapter << "endChapter=" + f.endChapter
        << "synchronize=" + QString::number(f.synchronize)
        << "squelch=" + QString::number(f.squelch);
    for (int i = 0; i < 4; ++i)
        out << QStringLiteral("initStr%1=[%2]").arg(i + 1).arg(f.initStr[i]);
    out << "comment=[" + f.comment + "]";
    return out;
}

// The record as the editor keeps it beside its controls.
inline QStringList describe(const SyncParameters& p)
{
    QStringList out;
    out << QStringLiteral("model=%1 channel=%2").arg(p.Model).arg(p.Channel)
        << QStringLiteral("modes=%1/%2")
               .arg(static_cast<int>(p.StartMode))
               .arg(static_cast<int>(p.EndMode))
        << QStringLiteral("titles=%1/%2 chapters=%3/%4")
               .arg(p.StartTitle)
               .arg(p.EndTitle)
               .arg(p.StartChapter)
               .arg(p.EndChapter)
        << QStringLiteral("frames=%1/%2").arg(p.StartFrame).arg(p.EndFrame)
        << QStringLiteral("options=%1 baud=%2 sync=%3 squelch=%4")
               .arg(p.OptionBits)
               .arg(p.BaudCode)
               .arg(p.Synchronize)
               .arg(p.Squelch)
        << QStringLiteral("init=[%1]")
               .arg(QStringList(p.InitStr.begin(), p.InitStr.end()).join('|'))
        << "comment=[" + p.Comment + "]";
    return out;
}
