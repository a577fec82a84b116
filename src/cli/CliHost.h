#pragma once
// The command-line tool's running state: what the windows' application object holds,
// without a window. The editor is a HeadlessEditor, the progress is a line on standard
// error, the preview window shows nothing (what the preview found is read from its
// state), and the problem window and message boxes are texts kept for the command to
// report.

#include "cli/HeadlessEditor.h"
#include "cli/StderrProgress.h"
#include "comm/CommTimer.h"
#include "comm/MSComm.h"
#include "comm/PortLease.h"
#include "comm/PortMap.h"
#include "flows/FlowHost.h"
#include "model/Globals.h"

#include <QStringList>
#include <optional>

// The preview window, which the tool does not show.
class CliPreview : public FilePreview
{
public:
    void startPreview(const QString&) override {}
    void appendDetails(const QString&) override {}
    void showErrorCount(int) override {}
    void showLineCount(int) override {}
};

class CliHost : public FlowHost
{
public:
    CliHost();
    ~CliHost() override;
    CliHost(const CliHost&) = delete;
    CliHost& operator=(const CliHost&) = delete;

    Globals g;
    PortMap ports;
    HeadlessEditor headless{g};
    CliPreview filePreview;
    SettingsPreview previewState;

    // What the problem window and the message boxes were given, in order, as texts.
    QStringList problems;
    QStringList messages;
    // What the file dialogs answer.
    QString openPath;
    QString savePath;
    // What the last load read and the last compare found.
    std::optional<CellSet> loadedCells;
    QVector<CellDifference> differences;
    CellSet comparedCells;

    MSComm& serial() { return serial_; }
    StderrProgress& progressLine() { return progress_; }

    // FlowHost
    Globals& globals() override { return g; }
    CommContext comm() override { return CommContext{serial_, timer_, g}; }
    PortLease& lease() override { return lease_; }
    WireLog& wireLog() override { return wireLog_; }
    EditorView& editor() override { return headless; }
    ProgressView& progress() override { return progress_; }
    FilePreview& preview() override { return filePreview; }
    SettingsPreview& filePreviewState() override { return previewState; }
    void showProblem(const QString& text) override;
    void showMessage(const QString& text, bool exclamation) override;
    QString askOpenFile(const QString&, const QString&, const QString&) override
    {
        return openPath;
    }
    QString askSaveFile(const QString&, const QString&, const QString&) override
    {
        return savePath;
    }
    void beforeCell(uint8_t) override {}
    void cellsLoaded(const CellSet& cells) override { loadedCells = cells; }
    void differencesFound(const QVector<CellDifference>& found, const CellSet& cells) override
    {
        differences = found;
        comparedCells = cells;
    }

private:
    WireLog wireLog_;
    MSComm serial_{ports};
    CommTimer timer_;
    PortLease lease_;
    StderrProgress progress_;
};

// A box's text as lines for a terminal: CR LF and CR become LF.
QString plainText(QString text);
