#include "model/WholeFile.h"

#include <QSaveFile>

bool writeWholeFile(const QString& path, const QByteArray& bytes, QString* errorText)
{
    QSaveFile file(path);
    // Unbuffered, and written until every byte is down: a buffered write that the system
    // takes only in part (disk full, file size limit) is reported by the commit as a
    // success and would rename a cut file over the old one. Asking again for the rest
    // brings out the system's reason.
    bool written = file.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    qint64 done = 0;
    while (written && done < bytes.size()) {
        const qint64 n = file.write(bytes.constData() + done, bytes.size() - done);
        written = n > 0;
        done += written ? n : 0;
    }
    written = written && file.commit();
    if (!written && errorText)
        *errorText = file.errorString();
    return written; // an uncommitted file is removed, the old one left as it was
}
