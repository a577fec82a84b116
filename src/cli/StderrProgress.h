#pragma once
// The progress window as one line on standard error. On a terminal the line redraws
// itself as the bar moves ("Loading............. 38%") and is wiped when the step ends;
// elsewhere (a pipe, a file) each step is one plain line and the bar is not drawn. A
// watcher (a rack's board, the event stream) may follow every change as well.

#include "comm/ProgressView.h"

#include <cstdio>
#include <functional>

class StderrProgress : public ProgressView
{
public:
    // Whether standard error is a terminal decides; tests may force either.
    StderrProgress();
    void setRedrawing(bool redraw) { redraw_ = redraw; }
    // While quiet nothing is written (the tool's --quiet).
    void setQuiet(bool quiet) { quiet_ = quiet; }
    // Told each change: the caption, the line, the bar in percent; shown false once hidden.
    using Watcher =
        std::function<void(const QString& caption, const QString& line, int percent, bool shown)>;
    void setWatcher(Watcher watcher) { watcher_ = std::move(watcher); }

    void startProgress(const QString& caption, const QString& line, int barMax) override;
    void setProgressLine(const QString& line) override;
    void setBar(int value) override;
    void setBarMax(int max) override;
    void advance(int by = 1) override { setBar(value_ + by); }
    void hideProgress() override;
    CancelNotifier& cancelNotifier() override { return cancel_; }

private:
    void draw();
    int percent() const { return value_ * 100 / max_; }
    void tellWatcher(bool always);

    CancelNotifier cancel_;
    QString caption_;
    QString line_;
    int max_ = 100;
    int value_ = 0;
    bool shown_ = false;
    bool redraw_ = false;
    bool quiet_ = false;
    QString lastStep_;
    int drawn_ = -1; // the percentage last drawn: a redraw only when it moves
    int told_ = -1;  // the percentage the watcher last heard
    Watcher watcher_;
};
