#pragma once
// The editor window: every field of the parameter set in one place, the menus and the
// buttons that move the set to and from a synchronizer or a settings file.

#include "model/SyncParameters.h"

#include <QMainWindow>
#include <array>
#include <memory>

class CorvaneApp;
class HighlightShape;
class MSComm;
class CommTimer;
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

class frmMain : public QMainWindow
{
    Q_OBJECT
public:
    explicit frmMain(CorvaneApp& app);
    ~frmMain() override;

    CorvaneApp& app;
    SyncParameters params; // the one parameter record

    // Serial control and the one-shot timer every exchange uses.
    std::unique_ptr<MSComm> MSComm1;
    std::unique_ptr<CommTimer> tmrCommTimer;

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
    QMenu* menuHep;
    QAction* menuAbout;

    // Handlers: each runs the same whether the user or code changes the control.
    void scrModel_Change();
    void scrChannel_Change();
    void scrStartTitle_Change();
    void scrEndTitle_Change();
    void scrStartChapter_Change();
    void scrEndChapter_Change();
    void scrStartMinutes_Change();
    void scrStartSeconds_Change();
    void scrEndMinutes_Change();
    void scrEndSeconds_Change();
    void ApplyStartMode();
    void ApplyEndMode();
    void txtStartFrame_LostFocus();
    void txtEndFrame_LostFocus();
    void chkSynchronize_Click();
    void chkSquelch_Click();
    void txtComment_Change();
    void txtInitStr_Change(int index); // txtInitStr1_Change ... txtInitStr4_Change
    bool CheckInitStrTotal();          // true when the four strings are too long

    void Form_Load();
    void Form_KeyPress(int ch);
    void cmdExit_Click();
    void menuExit_Click();
    void cmdDefaults_Click();
    void menuAbout_Click();
    void cmdLoadFrom_Click();
    void menuLoadFrom_Click();
    void cmdSaveTo_Click();
    void menuSaveTo_Click();
    void cmdFileLoad_Click();
    void menuFileLoad_Click();
    void cmdFileSave_Click();
    void menuFileSave_Click();
    void menuConnect_Click();

    // The model/channel lock as the window shows it: boxes enabled, spinners visible.
    void ShowModelChannelUnlocked(bool unlocked);
    // All fourteen highlight marks, in the order of their declaration.
    std::array<HighlightShape*, 14> highlightShapes() const;
    // The connection indicator: connected shows imgSync, else imgNoSync.
    void ShowConnected(bool connected);

    // While a batch is open, the init-string limit message is shown at most once
    // (a settings file applies four strings in one go).
    void beginInitStrBatch();
    void endInitStrBatch();

    // While set, selecting a mode does not run the frame checks: a load puts validated
    // frame values in place and must not have them pushed by a mode it selects afterwards.
    bool SuspendModeFrameChecks = false;

    // Disables or enables the commands that must not start while a transfer holds the port.
    void setCommandsEnabled(bool enabled);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildTopStrip(QWidget* client);
    void buildStartGroup(QWidget* client);
    void buildEndGroup(QWidget* client);
    void buildLowerArea(QWidget* client);
    void buildHighlights(QWidget* client);
    void buildMenus();
    void connectHandlers();
    void showDesignValues();
    void showInitStrLimitMessage();
    void AdjustStartTime();
    void AdjustEndTime();

    bool initStrBatchOpen_ = false;
    bool initStrBatchMessageShown_ = false;
};
