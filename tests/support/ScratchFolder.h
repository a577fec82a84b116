#pragma once
// A temporary folder for the files a test writes and reads back.

#include <QFile>
#include <QTemporaryDir>

struct ScratchFolder
{
    QTemporaryDir dir;
    QString write(const QString& name, const QByteArray& bytes)
    {
        QFile f(dir.filePath(name));
        if (f.open(QIODevice::WriteOnly))
            f.write(bytes);
        return f.fileName();
    }
    static QByteArray read(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
};
