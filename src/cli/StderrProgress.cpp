#include "cli/StderrProgress.h"

#include "cli/Terminal.h"

#include <algorithm>

StderrProgress::StderrProgress() : redraw_(Terminal::stderrIsTerminal()) {}

void StderrProgress::startProgress(const QString& caption, const QString& line, int barMax)
{
    caption_ = caption;
    max_ = std::max(barMax, 1);
    value_ = 0;
    shown_ = true;
    drawn_ = -1;
    setProgressLine(line);
}

void StderrProgress::setProgressLine(const QString& line)
{
    line_ = line;
    if (!shown_)
        return;
    tellWatcher(true);
    if (quiet_)
        return;
    if (redraw_) {
        draw();
        return;
    }
    // A step shown again (the same caption and line) is not written again.
    const QString step = caption_ + QStringLiteral(": ") + line_;
    if (step != lastStep_)
        std::fprintf(stderr, "%s\n", qPrintable(step));
    lastStep_ = step;
}

void StderrProgress::setBar(int value)
{
    value_ = std::clamp(value, 0, max_);
    if (!shown_)
        return;
    tellWatcher(false);
    if (redraw_ && !quiet_ && percent() != drawn_)
        draw();
}

void StderrProgress::setBarMax(int max)
{
    max_ = std::max(max, 1);
    setBar(value_);
}

void StderrProgress::hideProgress()
{
    if (shown_ && redraw_ && !quiet_)
        std::fputs("\r\033[K", stderr);
    if (shown_ && watcher_)
        watcher_(caption_, line_, percent(), false);
    shown_ = false;
    told_ = -1;
}

void StderrProgress::tellWatcher(bool always)
{
    if (!watcher_ || (!always && percent() == told_))
        return;
    told_ = percent();
    watcher_(caption_, line_, told_, true);
}

void StderrProgress::draw()
{
    // A percentage, since a step may learn how many cells it has only once it has begun.
    drawn_ = percent();
    std::fprintf(stderr, "\r\033[K%s: %s %d%%", qPrintable(caption_), qPrintable(line_), drawn_);
    std::fflush(stderr);
}
