#pragma once
// The modeless progress window shown while a probe or a whole-device transfer runs.
// Cancel hides it and stops a probe; a transfer runs on to its end.

#include <QDialog>

class CorvaneApp;
class QLabel;
class QProgressBar;
class QPushButton;

class frmProgress : public QDialog
{
    Q_OBJECT
public:
    explicit frmProgress(CorvaneApp& app);

    QLabel* lblProgress;
    QProgressBar* ProgressBar1;
    QPushButton* cmdCancel;

    void cmdCancel_Click();
    // Shows the window without blocking and paints it at once.
    void showNow();
    // Adds to the bar's value, held within its maximum.
    void advance(int by = 1);
    void setBar(int value);

signals:
    void cancelled();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    CorvaneApp& app_;
};
