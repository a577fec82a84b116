#pragma once
// The editor window: every field of the parameter set in one place, the menus and the
// buttons that move the set to and from a synchronizer or a settings file.

#include "flows/EditorView.h"
#include "model/SyncParameters.h"

#include <QMainWindow>
#include <array>
#include <memory>

class CorvaneApp;
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
    explicit frmMain(CorvaneApp& app);
    ~frmMain() override;

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
    void menuLineMonitor_Click();
    // The checks run when a frame box loses the focus.
    void txtStartFrame_LostFocus();
    void txtEndFrame_LostFocus();

    // EditorView
    SyncParameters& record() override { return params; }
    EditorSnapshot snapshot() const override;
    bool isTextEnabled(TextField field) const override;
    void setSpinner(SpinField field, int value) override;
    void setSpinnerMax(SpinField field, int max) override;
    void setText(TextField field, const QString& text) override;
    void selectOption(OptionField option) override;
    void setCheck(CheckField field, bool on) override;
    void setBaudIndex(int index) override;
    void settleFrameEdit() override;
    void suspendModeFrameChecks(bool suspended) override { SuspendModeFrameChecks = suspended; }
    void beginInitStrBatch() override;
    void endInitStrBatch() override;
    bool showMark(const QString& shape, MarkColour colour) override;
    void clearMarks() override;
    void showModelChannelUnlocked(bool unlocked) override;
    void showConnected(bool connected) override;
    void setCaption(const QString& caption) override { setWindowTitle(caption); }
    void setTransferCommandsEnabled(bool enabled) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    CorvaneApp& app;
    SyncParameters params; // the one parameter record

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
    QAction* spacerMonitor;
    QAction* menuLineMonitor;
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
    void chkSynchronize_Click();
    void chkSquelch_Click();
    void txtComment_Change();
    void txtInitStr_Change(int index); // txtInitStr1_Change ... txtInitStr4_Change

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
    void showDesignValues();
    void showInitStrLimitMessage();
    void AdjustStartTime();
    void AdjustEndTime();
    Spinner* spinner(SpinField field) const;
    QLineEdit* box(TextField field) const;

    // While set, selecting a mode does not run the frame checks: a load puts validated
    // frame values in place and must not have them pushed by a mode it selects afterwards.
    bool SuspendModeFrameChecks = false;
    bool initStrBatchOpen_ = false;
    bool initStrBatchMessageShown_ = false;
};
