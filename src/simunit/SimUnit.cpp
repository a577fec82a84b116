#include "simunit/SimUnit.h"

#include <QSocketNotifier>
#include <QTimer>
#include <cerrno>
#include <cmath>
#include <fcntl.h>
#include <unistd.h>

namespace simsync {

SimUnit::SimUnit(QObject* parent) : QObject(parent), due_(new QTimer(this))
{
    due_->setSingleShot(true);
    due_->setTimerType(Qt::PreciseTimer);
    connect(due_, &QTimer::timeout, this, &SimUnit::runAndRearm);
    unit_.writeLine = [this](const QByteArray& bytes) {
        [[maybe_unused]] ssize_t w = ::write(pty_.master, bytes.constData(), bytes.size());
    };
    unit_.dropLine = [this] {
        // Possibly called from the notifier's own signal: it goes once that has returned.
        notifier_->setEnabled(false);
        notifier_->deleteLater();
        notifier_ = nullptr;
        pty_.close();
        emit lineChanged();
    };
}

SimUnit::~SimUnit()
{
    unit_.dropLine = nullptr;
    delete notifier_;
    pty_.close();
}

bool SimUnit::start()
{
    if (pluggedIn())
        return true;
    if (!pty_.open(&error_))
        return false;
    // Reads from the event loop must never block it.
    ::fcntl(pty_.master, F_SETFL, ::fcntl(pty_.master, F_GETFL) | O_NONBLOCK);
    unit_.reopenLine();
    watchLine();
    return true;
}

void SimUnit::watchLine()
{
    notifier_ = new QSocketNotifier(pty_.master, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &SimUnit::readable);
}

void SimUnit::unplug()
{
    due_->stop();
    unit_.closeLine();
}

bool SimUnit::plugIn()
{
    const bool ok = start();
    if (ok)
        emit lineChanged();
    return ok;
}

void SimUnit::pressReset()
{
    unit_.pressReset(1, 0, {});
    runAndRearm();
}

void SimUnit::setCell(int address, uint8_t d0, uint8_t d1)
{
    if (address < FirstCell || address > LastCell)
        return;
    unit_.cells[address - FirstCell] = {d0, d1};
    emit cellsChanged();
}

void SimUnit::loadCells(const Cells& cells)
{
    unit_.cells = cells;
    emit cellsChanged();
}

void SimUnit::readable()
{
    char buf[256];
    for (;;) {
        const ssize_t n = ::read(pty_.master, buf, sizeof buf);
        if (n > 0) {
            unit_.onReceived(buf, n);
            continue;
        }
        if (n < 0 && (errno == EAGAIN || errno == EINTR))
            break;
        unit_.closeLine(); // the line is gone; watching it again would only spin
        return;
    }
    runAndRearm();
}

void SimUnit::runAndRearm()
{
    const Cells before = unit_.cells;
    unit_.runDue(std::chrono::microseconds(500));
    if (unit_.cells != before)
        emit cellsChanged();
    const auto next = unit_.nextDue();
    if (!next) {
        due_->stop();
        return;
    }
    const double ms =
        std::chrono::duration<double, std::milli>(*next - UnitEngine::Clock::now()).count();
    // Rounded to the nearest millisecond: the action runs at most half of one early or late.
    due_->start(std::max(0, static_cast<int>(std::lround(ms))));
}

} // namespace simsync
