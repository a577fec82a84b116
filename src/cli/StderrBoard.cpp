#include "cli/StderrBoard.h"

#include "cli/Terminal.h"

#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <memory>

namespace StderrBoard {

namespace {

struct Board
{
    QStringList labels;
    QStringList texts;
    int drawn = 0; // the lines now on the screen
    int width = 0;
    int columns = 80;
    QTimer redraw;
};
std::unique_ptr<Board> board;

void erase()
{
    if (board->drawn > 0)
        std::fprintf(stderr, "\033[%dA\r\033[J", board->drawn);
    board->drawn = 0;
}

void draw()
{
    for (int i = 0; i < board->labels.size(); ++i) {
        // A line wider than the terminal would wrap and no longer be erased whole.
        const QString line = QStringLiteral("%1  %2")
                                 .arg(board->labels[i], -board->width)
                                 .arg(board->texts[i])
                                 .left(board->columns - 1);
        std::fprintf(stderr, "%s\n", qPrintable(line));
    }
    board->drawn = int(board->labels.size());
    std::fflush(stderr);
}

} // namespace

void start(const QStringList& labels, bool force)
{
    if (!force && !Terminal::stderrIsTerminal())
        return;
    board = std::make_unique<Board>();
    board->labels = labels;
    for (int i = 0; i < labels.size(); ++i)
        board->texts << QStringLiteral("waiting");
    for (const QString& l : labels)
        board->width = std::max(board->width, int(l.size()));
    board->columns = Terminal::stderrColumns();
    board->redraw.setSingleShot(true);
    board->redraw.setInterval(100);
    QObject::connect(&board->redraw, &QTimer::timeout, [] {
        erase();
        draw();
    });
    draw();
}

void set(int row, const QString& text)
{
    if (!board || row < 0 || row >= board->texts.size() || board->texts[row] == text)
        return;
    board->texts[row] = text;
    if (!board->redraw.isActive())
        board->redraw.start();
}

void stop()
{
    if (!board)
        return;
    erase();
    std::fflush(stderr);
    board.reset();
}

void writeLine(const QString& line)
{
    if (board)
        erase();
    std::fprintf(stderr, "%s\n", qPrintable(line));
    if (board)
        draw();
    std::fflush(stderr);
}

} // namespace StderrBoard
