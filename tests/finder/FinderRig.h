#pragma once
// A fresh application with simulated units mapped to COM numbers, and a script that acts
// while a command waits on the line. A click starts a command that carries on from the
// event loop; the tests wait for its end before they look at what it did.

#include "app/frmFinder.h"
#include "app/frmProgress.h"
#include "comm/PortMap.h"
#include "comm/modCorvaneComm.h"
#include "simunit/SimSync.h"
#include "support/AppFixture.h"
#include "support/Awaited.h"
#include "support/TestRunner.h"

#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <functional>
#include <map>
#include <memory>

// No pauses, but the probe listens in ticks of half a second, long enough for a script to
// act while a probe runs.
inline LineTiming unpacedWithRealTicks()
{
    LineTiming t = LineTiming::unpaced();
    t.probeTickMs = LineTiming{}.probeTickMs;
    return t;
}

struct FinderRig
{
    std::map<int, std::unique_ptr<SimSync>> units; // COM number -> simulated unit
    const LineTiming timing;
    AppFixture f;

    explicit FinderRig(const LineTiming& t = LineTiming::unpaced()) : timing(t), f(false, t) {}

    // One simulated unit per COM number, plus `extra` paths (maybe of missing devices), paced
    // as the application is.
    bool startUnits(const QList<int>& ports, QMap<int, QString> extra = {})
    {
        for (int port : ports) {
            auto sim = std::make_unique<SimSync>();
            sim->setPacing(timing);
            if (!sim->start())
                return false;
            extra.insert(port, sim->path());
            units[port] = std::move(sim);
        }
        f.app->ports.setTestMapping(extra);
        return true;
    }
    SimSync& unit(int port) { return *units.at(port); }
    frmMain& main() { return f.main(); }
    PortAccess& portAccess() { return f.portAccess(); }
    frmProgress& progress() { return f.app->progressWindow(); }

    frmFinder& openFinder()
    {
        f.app->showFinderFromEditor();
        frmFinder& fi = f.app->finder();
        // As on a desktop, the window just shown takes the keyboard.
        fi.activateWindow();
        QApplication::setActiveWindow(&fi);
        if (!QTest::qWaitForWindowActive(&fi))
            qWarning("window not active");
        return fi;
    }
    QStringList statusLines()
    {
        return f.app->finder().txtFindStatus->toPlainText().split(QLatin1Char('\n'),
                                                                  Qt::SkipEmptyParts);
    }
    // The progress window is up and a probe of COMn is listening.
    std::function<bool()> probing(int port)
    {
        return [this, port] {
            return f.app->hasFinder() && f.app->finder().probe().running() &&
                   progress().isVisible() &&
                   progress().windowTitle() == QStringLiteral("Testing COM%1").arg(port);
        };
    }
    void pressCancel()
    {
        QTest::mouseClick(ctl<QPushButton>(progress(), "cmdCancel"), Qt::LeftButton);
    }
    // No command holds the line, no scan runs and no load fills the editor: a scan and the
    // load it handed over to have both ended.
    bool untilIdle(int ms = 60000)
    {
        return until(
            [this] {
                return f.app->lease().isFree() &&
                       !(f.app->hasFinder() && f.app->finder().isBusy()) &&
                       !main().model().transferRunning();
            },
            ms);
    }
    // Clicks a button, then waits until what it started has ended.
    bool clickToEnd(QWidget* button)
    {
        QTest::mouseClick(button, Qt::LeftButton);
        return untilIdle();
    }
};

// Steps run in order from the event loop while the test waits for a command to end, each
// when its condition holds (checked every 10 ms).
class Script : public QObject
{
public:
    Script()
    {
        connect(&timer_, &QTimer::timeout, this, [this] {
            if (busy_ || finished() || !steps_[next_].first())
                return;
            busy_ = true; // an action may itself wait, with the event loop running
            steps_[next_++].second();
            busy_ = false;
        });
        timer_.start(10);
    }
    Script& when(std::function<bool()> condition, std::function<void()> action)
    {
        steps_.emplace_back(std::move(condition), std::move(action));
        return *this;
    }
    // `ms` after the previous step ran.
    Script& after(int ms, std::function<void()> action)
    {
        auto since = std::make_shared<QElapsedTimer>();
        return when(
            [since, ms] {
                if (!since->isValid())
                    since->start();
                return since->elapsed() >= ms;
            },
            std::move(action));
    }
    bool finished() const { return next_ == int(steps_.size()); }

private:
    QTimer timer_;
    std::vector<std::pair<std::function<bool()>, std::function<void()>>> steps_;
    int next_ = 0;
    bool busy_ = false;
};
