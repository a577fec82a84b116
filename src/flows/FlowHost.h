#pragma once
// What the flows need of the running application: the serial line with its lease and the
// command layer's results, the editor, the settings-file preview, the progress and preview
// windows, and the modal boxes.

#include "comm/Await.h"
#include "comm/CommContext.h"
#include "comm/PortLease.h"
#include "comm/ProgressView.h"
#include "comm/WireLog.h"
#include "model/CellBytes.h"
#include "settingsfile/SettingsPreview.h"
#include "transfer/CompareCells.h"

#include <QString>
#include <cstdint>

class EditorView;

// The preview window of a settings file being loaded.
class FilePreview
{
public:
    virtual ~FilePreview() = default;
    // Empties the details box, shows the path, and shows the window.
    virtual void startPreview(const QString& path) = 0;
    virtual void appendDetails(const QString& text) = 0;
    virtual void showErrorCount(int count) = 0;
    virtual void showLineCount(int lineNo) = 0;
};

class FlowHost
{
public:
    virtual ~FlowHost() = default;

    virtual CommContext comm() = 0;
    virtual PortLease& lease() = 0;
    virtual WireLog& wireLog() = 0;
    virtual EditorView& editor() = 0;
    virtual ProgressView& progress() = 0;
    virtual FilePreview& preview() = 0;
    // The settings file being previewed, from its preview to its apply pass.
    virtual SettingsPreview& filePreviewState() = 0;

    // The boxes are awaited: each ends when the user has closed it, and meanwhile the
    // event loop runs on. Texts are taken by value, as a coroutine must.
    // The problem window, modal.
    virtual Task<> showProblem(QString text) = 0;
    // A message box over the editor.
    virtual Task<> showMessage(QString text, bool exclamation) = 0;
    // The box that explains a load's marks: beside the editor, so the marked fields stay
    // in view.
    virtual Task<> showMarksReport(QString text) { return showMessage(std::move(text), true); }
    // A question with Yes and No over the editor: true for Yes. A host that asks nobody
    // answers No.
    virtual Task<bool> askYesNo(QString text)
    {
        (void)text;
        co_return false;
    }
    // File dialogs over the editor; "" when cancelled.
    virtual Task<QString> askOpenFile(QString title, QString filter, QString selectedFilter) = 0;
    virtual Task<QString> askSaveFile(QString title, QString filter, QString selectedFilter) = 0;

    // Runs before each cell a transfer reads or writes; a test may throw from it to stand
    // in for an unexpected failure.
    virtual void beforeCell(uint8_t address) = 0;
};
