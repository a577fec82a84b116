#pragma once
// The editor window: every field of the parameter set in one place, the menus and the
// buttons that move the set to and from a synchronizer or a settings file.

#include "comm/Await.h"
#include "flows/BackupBeforeSave.h"
#include "flows/EditorView.h"
#include "flows/TransferCommands.h"

#include <QMainWindow>
#include <array>
#include <functional>
#include <memory>
#include <optional>

class FlowHost;
class Modal;
class HighlightShape;
class Spinner;
class QAction;
class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;

class frmMain : public QMainWindow, public EditorView
{
    Q_OBJECT
public:
    frmMain(FlowHost& host, Modal& modal);
    ~frmMain() override;

    void Form_Load();
    void Form_KeyPress(int ch);
    void cmdExit_Click();
    void menuExit_Click();
    void cmdDefaults_Click();
    void menuAbout_Click();
    // The commands that wait end when their last box is closed.
    Task<> cmdLoadFrom_Click();
    Task<> menuLoadFrom_Click();
    Task<> cmdSaveTo_Click();
    Task<> menuSaveTo_Click();
    Task<> cmdFileLoad_Click();
    Task<> menuFileLoad_Click();
    Task<> cmdFileSave_Click();
    Task<> menuFileSave_Click();
    // "Restore Backup...": a backup chosen in its dialog written to the unit, then loaded.
    Task<> menuRestoreBackup_Click();
    void menuConnect_Click();
    void menuLineMonitor_Click();

    // Where a save keeps its backup first (the application's choice); "" keeps none.
    std::function<QString()> backupFolder;

    // The status bar's line about the port and the unit the editor works on: the open
    // port's COM number and device, and the unit's model and channel as the last load read
    // them (or a save with model and channel unlocked wrote them).
    struct UnitNumbers
    {
        int model = 0;
        int channel = 0;
    };
    void showUnit(std::optional<UnitNumbers> numbers);
    // After a load: the numbers it read, none when it read nothing.
    void showUnitAfterLoad(const TransferCommands::LoadOutcome& loaded);
    // The words of that line.
    static QString unitText(int port, const QString& device, std::optional<UnitNumbers> numbers);
    QLabel* lblUnit;

signals:
    // What the application does, asked by this window: it ends the application, shows
    // the About window or the line monitor, or hands over to the finder.
    void exitRequested();
    void aboutRequested();
    void findRequested();
    void lineMonitorRequested();
    void rackRequested();

public:
    // The checks run when a frame box loses the focus.
    void txtStartFrame_LostFocus();
    void txtEndFrame_LostFocus();

    // EditorView
    EditorModel& model() override { return model_; }
    void settleFrameEdit() override;
    void showConnected(bool connected) override;
    void setCaption(const QString& caption) override { setWindowTitle(caption); }
    void setTransferCommandsEnabled(bool enabled) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    FlowHost& host_; // the line, its lease, and the commands' windows
    Modal& modal_;
    // Every field's value and rule; the widgets show it and hand the user's edits to it.
    EditorModel model_;
    bool debugArmed_ = false; // the first key of the hidden sequence was typed

    // Top strip.
    QFrame* Frame1;
    QLabel* imgNoSync;
    QLabel* imgSync;
    QLabel* lblModel;
    QLineEdit* txtModel;
    Spinner* scrModel;
    QLabel* lblChannel;
    QLineEdit* txtChannel;
    Spinner* scrChannel;

    // Start group.
    QLabel* Label1a;
    QFrame* Shape1;
    QFrame* Shape2;
    QGroupBox* rdbStart;
    QRadioButton* optStartTitle;
    QRadioButton* optStartChapter;
    QRadioButton* optStartTimecode;
    QRadioButton* optStartFrame;
    QLabel* lblStartTitle;
    QLineEdit* txtStartTitle;
    Spinner* scrStartTitle;
    QLabel* lblStartChapter;
    QLineEdit* txtStartChapter;
    Spinner* scrStartChapter;
    QLabel* lblStartMinutes;
    QLineEdit* txtStartMinutes;
    Spinner* scrStartMinutes;
    QLabel* lblStartSeconds;
    QLineEdit* txtStartSeconds;
    Spinner* scrStartSeconds;
    QLabel* lblStartFrame;
    QLineEdit* txtStartFrame;

    // End group.
    QLabel* Label1;
    QFrame* Shape3;
    QFrame* Shape4;
    QGroupBox* rbdEnd;
    QRadioButton* optEndTitle;
    QRadioButton* optEndChapter;
    QRadioButton* optEndTimecode;
    QRadioButton* optEndFrame;
    QLabel* lblEndTitle;
    QLineEdit* txtEndTitle;
    Spinner* scrEndTitle;
    QLabel* lblEndChapter;
    QLineEdit* txtEndChapter;
    Spinner* scrEndChapter;
    QLabel* lblEndMinutes;
    QLineEdit* txtEndMinutes;
    Spinner* scrEndMinutes;
    QLabel* lblEndSeconds;
    QLineEdit* txtEndSeconds;
    Spinner* scrEndSeconds;
    QLabel* lblEndFrame;
    QLineEdit* txtEndFrame;

    // Lower area.
    QPushButton* cmdSaveTo;
    QPushButton* cmdLoadFrom;
    QPushButton* cmdFileSave;
    QPushButton* cmdFileLoad;
    QPushButton* cmdDefaults;
    QCheckBox* chkSynchronize;
    QCheckBox* chkSquelch;
    QGroupBox* fraInitStrings;
    std::array<QLabel*, 4> lblInitStr{};
    std::array<QLineEdit*, 4> txtInitStr{};
    QLineEdit*& txtInitStr1 = txtInitStr[0];
    QLineEdit*& txtInitStr2 = txtInitStr[1];
    QLineEdit*& txtInitStr3 = txtInitStr[2];
    QLineEdit*& txtInitStr4 = txtInitStr[3];
    QLabel* lblComment;
    QLineEdit* txtComment;
    QPushButton* cmdExit;

    // Never shown: the players' serial speed list.
    QComboBox* cmbBaud;
    QLabel* lblBaud;

    // Highlight marks.
    HighlightShape* shpHiLiteModel;
    HighlightShape* shpHiLiteChannel;
    HighlightShape* shpHiLiteStartTitle;
    HighlightShape* shpHiLiteEndTitle;
    HighlightShape* shpHiLiteStartChapter;
    HighlightShape* shpHiLiteEndChapter;
    HighlightShape* shpHiLiteStartMinutes;
    HighlightShape* shpHiLiteStartSeconds;
    HighlightShape* shpHiLiteEndMinutes;
    HighlightShape* shpHiLiteEndSeconds;
    HighlightShape* shpHiLiteStartFrame;
    HighlightShape* shpHiLiteEndFrame;
    HighlightShape* shpHiLiteComment;
    HighlightShape* shpHiLiteInitStr;

    // Menus.
    QMenu* menuFile;
    QAction* menuFileLoad;
    QAction* menuFileSave;
    QAction* Spacer2;
    QAction* menuExit;
    QMenu* menuSynchronizer;
    QAction* menuConnect;
    QAction* spacer1;
    QAction* menuLoadFrom;
    QAction* menuSaveTo;
    QAction* menuRestoreBackup;
    QAction* spacerMonitor;
    QAction* menuLineMonitor;
    QAction* menuRack;
    QMenu* menuHep;
    QAction* menuAbout;

    // All fourteen highlight marks, in the order of their declaration.
    std::array<HighlightShape*, 14> highlightShapes() const;
    // The port commands follow the serial line's lease: enabled exactly while it is free.
    void setPortCommandsEnabled(bool enabled);

    void buildTopStrip(QWidget* client);
    void buildStartGroup(QWidget* client);
    void buildEndGroup(QWidget* client);
    void buildLowerArea(QWidget* client);
    void buildHighlights(QWidget* client);
    void buildMenus();
    void fitToFont(QWidget* client);
    void setTabOrderTopToBottom();
    void connectHandlers();
    // The unit the last load or save reached, for lblUnit.
    std::optional<UnitNumbers> unit_;
    // The last load, while nothing else has used the line since: a save's backup needs only
    // the cells it left out.
    std::optional<BackupBeforeSave::LastLoad> lastLoad_;

    // The binding to the model (frmMainBinding.cpp): the user's edits go to the model;
    // the model's changes come back to the widgets with their signals blocked.
    void bindModel();
    void showEverything();
    void showSpinner(SpinField field);
    void showText(TextField field);
    void showStartMode();
    void showEndMode();
    void showOptions(bool startGroup);
    void showCheck(CheckField field);
    void showMarks();
    void showModelChannelUnlocked(bool unlocked);
    Spinner* spinner(SpinField field) const;
    QLineEdit* box(TextField field) const;
    // The box beside a time spinner, which shows its value; null for the other spinners.
    QLineEdit* timeBox(SpinField field) const;
};
