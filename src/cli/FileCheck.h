#pragma once
// A settings file judged before anything goes to the unit: read and previewed as the
// editor previews it, on an editor holding the defaults, and the values it sets checked
// as a save checks them.

#include "cli/CliHost.h"
#include "model/EditorSnapshot.h"
#include "transfer/SaveChecks.h"

#include <QString>
#include <QStringList>
#include <QVector>

namespace FileCheck {

struct PreviewedFile
{
    int status = 0;      // 0, or 3 (bad input) with the reasons told
    EditorSnapshot made; // what the file makes of an editor holding the defaults
    QStringList kept;    // the lines the preview kept
};

// Reads and previews `path`, Model and Channel unlocked when `unlocked`. Every line the
// preview cannot use is told as the preview shows it (control bytes escaped); a file with
// such a line, or with no line kept at all, is bad input. A comment cut short is told.
PreviewedFile previewFile(const UnitVoice& voice, const QString& path, bool unlocked);

// What a save would find wrong in `made`, in the fields the kept lines set.
QVector<SaveProblem> problemsInFile(const EditorSnapshot& made, const QStringList& kept);

// Why a verify cannot match: the values no unit can hold, found before the load (in the
// file's own values) or after it (in what the file makes of the unit's settings).
QString verifyProblemText(const QString& path, const QVector<SaveProblem>& problems,
                          bool beforeLoad);

// Why a write cannot go ahead: the file's own values that no unit can hold.
QString writeProblemText(const QString& path, const QVector<SaveProblem>& problems);

} // namespace FileCheck
