#pragma once
// The modeless progress window shown while a probe or a whole-device transfer runs.
// Cancel hides it and stops a probe; a transfer runs on to its end.

#include "comm/ProgressView.h"

#include <QDialog>
#include <functional>

class QLabel;
class QProgressBar;
class QPushButton;

class frmProgress : public QDialog, public ProgressView
{
    Q_OBJECT
public:
    // `workWindow` names the window the user works in, which the progress window stays over.
    explicit frmProgress(std::function<QWidget*()> workWindow);

    void cmdCancel_Click();
    // Shows the window without blocking and paints it at once.
    void showNow();

    // ProgressView
    void startProgress(const QString& caption, const QString& line, int barMax) override;
    void setProgressLine(const QString& line) override;
    void setBar(int value) override;
    void setBarMax(int max) override;
    void advance(int by = 1) override;
    void hideProgress() override { hide(); }
    void setProgressHint(const QString& hint) override;
    CancelNotifier& cancelNotifier() override { return cancelNotifier_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    std::function<QWidget*()> workWindow_;
    QLabel* lblProgress;
    QLabel* lblProgressHint; // what the user must do now, under the bar
    QProgressBar* ProgressBar1;
    QPushButton* cmdCancel;
    CancelNotifier cancelNotifier_;
};
