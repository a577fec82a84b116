#pragma once
// The command-line tool's running state: what the windows' application object holds,
// without a window. The editor is the editor model alone, the progress is a line on standard
// error, the preview window shows nothing (what the preview found is read from its state),
// and the problem window and message boxes are texts kept for the command to report.

#include "cli/StderrProgress.h"
#include "cli/UnitReport.h"
#include "comm/CommTimer.h"
#include "comm/CommandState.h"
#include "comm/MSComm.h"
#include "comm/PortAccess.h"
#include "comm/PortLease.h"
#include "comm/PortMap.h"
#include "comm/ProbeCancel.h"
#include "flows/EditorView.h"
#include "flows/FinderStatus.h"
#include "flows/FlowHost.h"

#include <QStringList>
#include <functional>
#include <optional>

// Where one unit's words go. Its messages go to standard error, with the unit's name in
// front when several units run side by side; its results (differences, a settings file)
// go to standard output unless they are told another way (JSON, a rack's summary).
struct UnitVoice
{
    QString prefix;              // "COM3: " in a rack, "" alone
    bool messages = true;        // messages on standard error
    bool results = true;         // results on standard output
    QStringList* held = nullptr; // results kept here instead, to be told later
    // Messages go here instead of standard error when set (a window shows them).
    std::function<void(const QString& line)> told = nullptr;
    void err(const QString& line) const;
    void out(const QString& line) const;
};

// The editor without a window: the model, and nothing visual.
class CliEditor : public EditorView
{
public:
    EditorModel& model() override { return editorModel; }
    EditorModel editorModel;
};

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
    // Tests may pass scaled times; corvane-cli always runs on the real ones.
    explicit CliHost(const LineTiming& timing = LineTiming{});
    ~CliHost() override;
    CliHost(const CliHost&) = delete;
    CliHost& operator=(const CliHost&) = delete;

    PortAccess portAccess;
    PortMap ports;
    CliEditor cliEditor;
    CliPreview filePreview;
    SettingsPreview previewState;

    // What the problem window and the message boxes were given, in order, as texts.
    QStringList problems;
    QStringList messages;
    // What the file dialogs answer.
    QString openPath;
    QString savePath;
    // What the last load read.
    std::optional<CellSet> loadedCells;
    // What the command did to the unit, for --json and a rack's summary.
    UnitReport report;
    UnitVoice voice;
    // The COM number this host's unit is on, when it runs beside others.
    int16_t unitPort = 0;
    // The COM number of the line the command opened (0 before), as its messages name it.
    int16_t linePort = 0;
    // Ends the probe of a find early (Ctrl+C, or enough units heard beside it).
    ProbeCancel probeCancel;
    // The finder's status lines of a listing or a find, for find to tell.
    FinderStatus finderStatus;
    void err(const QString& line) const { voice.err(line); }
    void out(const QString& line) const { voice.out(line); }
    // The unit as its messages name it: "COM3", or the device path or address given.
    QString unitName() const;
    // Told the progress as one short text ("Loading............. 38%", "" once hidden), for
    // a rack's board of progress lines.
    std::function<void(const QString& text)> progressShown;
    // Told once a find's port is open and listens for the RESET announcement.
    std::function<void()> listening;
    // A stop asked for this unit alone (a window's Stop), as Ctrl+C asks for every unit.
    bool stopAsked = false;
    bool stopped() const;
    // What asked for the stop: "Stop", "Ctrl+C" or "SIGTERM".
    QString stopCause() const;

    MSComm& serial() { return serial_; }
    StderrProgress& progressLine() { return progress_; }

    // FlowHost
    CommContext comm() override
    {
        return CommContext{serial_, timer_,  commandState_, portAccess,
                           timing_, nullptr, &finderStatus, retried()};
    }
    PortLease& lease() override { return lease_; }
    WireLog& wireLog() override { return wireLog_; }
    EditorView& editor() override { return cliEditor; }
    ProgressView& progress() override { return progress_; }
    FilePreview& preview() override { return filePreview; }
    SettingsPreview& filePreviewState() override { return previewState; }
    Task<> showProblem(QString text) override;
    Task<> showMessage(QString text, bool exclamation) override;
    // The tool tells a load's marks in plain words instead of the box.
    Task<> showMarksReport(QString text) override;
    Task<QString> askOpenFile(QString, QString, QString) override;
    Task<QString> askSaveFile(QString, QString, QString) override;
    // Ctrl+C stops the command here, between two frames: the line is closed, so the
    // transfer fails at its next frame and nothing more reaches the unit.
    void beforeCell(uint8_t address) override;

private:
    std::function<void(uint8_t, int)> retried();

    WireLog wireLog_;
    MSComm serial_{ports};
    CommTimer timer_;
    CommandState commandState_;
    const LineTiming timing_;
    PortLease lease_;
    StderrProgress progress_;
};

// A box's text as lines for a terminal: CR LF and CR become LF.
QString plainText(QString text);
