#pragma once
// The progress window as the commands see it: a caption, one step line, a bar, and a
// Cancel that a probe listens for. The window implements it; tests may record it.

#include <QObject>
#include <QString>

// Emits cancelled() when the user presses Cancel (or closes the window).
class CancelNotifier : public QObject
{
    Q_OBJECT
signals:
    void cancelled();
};

class ProgressView
{
public:
    virtual ~ProgressView() = default;

    // Shows the window at once, without blocking, with the bar running to `barMax`.
    virtual void startProgress(const QString& caption, const QString& line, int barMax) = 0;
    virtual void setProgressLine(const QString& line) = 0;
    // The bar's value, held within its range.
    virtual void setBar(int value) = 0;
    virtual void setBarMax(int max) = 0;
    virtual void advance(int by = 1) = 0;
    virtual void hideProgress() = 0;
    virtual CancelNotifier& cancelNotifier() = 0;
    // A second line under the step line, for what the user must do now; an empty text
    // hides it. Every start clears it.
    virtual void setProgressHint(const QString& hint) { (void)hint; }
};
