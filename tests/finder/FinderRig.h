#pragma once
// A fresh application with simulated units mapped to COM numbers, and a script that acts
// while a command waits on the line (the finder's scans run to their end inside a click).

#include "app/frmFinder.h"
#include "app/frmProgress.h"
#include "comm/CommContext.h"
#include "comm/PortMap.h"
#include "comm/modCorvaneComm.h"
#include "simsync/SimSync.h"
#include "support/AppFixture.h"

#include <QElapsedTimer>
#include <QMap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <map>
#include <memory>

// Test mapping for the ports: set before the application exists, cleared after it is gone.
struct PortMapping
{
    explicit PortMapping(const QMap<int, QString>& mapping = {})
    {
        PortMap::setTestMapping(mapping);
    }
    ~PortMapping() { PortMap::setTestMapping({}); }
    void set(const QMap<int, QString>& mapping) { PortMap::setTestMapping(mapping); }
};

struct FinderRig
{
    std::map<int, std::unique_ptr<SimSync>> units; // COM number -> simulated unit
    PortMapping mapping;
    AppFixture f;

    // Starts one simulated unit per COM number and maps them (plus `extra` paths, which
    // may name devices that do not exist). False when a unit cannot start.
    bool startUnits(const QList<int>& ports, bool pacing = true,
                    const QMap<int, QString>& extra = {})
    {
        QMap<int, QString> m = extra;
        for (int port : ports) {
            auto sim = std::make_unique<SimSync>();
            sim->setPacing(pacing);
            if (!sim->start())
                return false;
            m.insert(port, sim->path());
            units[port] = std::move(sim);
        }
        mapping.set(m);
        return true;
    }
    SimSync& unit(int port) { return *units.at(port); }

    frmMain& main() { return f.main(); }
    Globals& g() { return f.g(); }
    frmProgress& progress() { return f.app->progress(); }

    // The editor's "Find Synchronizer": the finder appears (loading on its first showing).
    frmFinder& openFinder()
    {
        f.app->showFinderFromEditor();
        frmFinder& fi = f.app->finder();
        activate(fi);
        return fi;
    }
    // As on a desktop, where the window just shown or clicked takes the keyboard.
    static void activate(QWidget& w)
    {
        w.activateWindow();
        QApplication::setActiveWindow(&w);
        if (!QTest::qWaitForWindowActive(&w))
            qWarning("window not active");
    }

    // The status box, one entry per line.
    QStringList statusLines()
    {
        QStringList lines = f.app->finder().txtFindStatus->toPlainText().split(QLatin1Char('\n'));
        if (!lines.isEmpty() && lines.last().isEmpty())
            lines.removeLast();
        return lines;
    }

    // The progress window is up and a probe of COMn is listening.
    std::function<bool()> probing(int port)
    {
        return [this, port] {
            frmProgress& p = progress();
            return g().ProbeRunning && p.isVisible() &&
                   p.windowTitle() == QStringLiteral("Testing COM%1").arg(port);
        };
    }
    void pressCancel() { QTest::mouseClick(progress().cmdCancel, Qt::LeftButton); }
};

// Steps run in order while the test is blocked in a click: each waits for its condition,
// then acts. Checked every 10 ms from a timer (the waits under test keep the event loop
// running, so the timer fires while they wait).
class Script : public QObject
{
public:
    Script()
    {
        timer_.setInterval(10);
        QObject::connect(&timer_, &QTimer::timeout, this, [this] { step(); });
        timer_.start();
    }
    Script& when(std::function<bool()> condition, std::function<void()> action)
    {
        steps_.push_back({std::move(condition), std::move(action)});
        return *this;
    }
    // Waits `ms` after the previous step before the next action.
    Script& after(int ms, std::function<void()> action)
    {
        auto since = std::make_shared<QElapsedTimer>();
        steps_.push_back({[since, ms] {
                              if (!since->isValid())
                                  since->start();
                              return since->elapsed() >= ms;
                          },
                          std::move(action)});
        return *this;
    }
    int done() const { return next_; }
    bool finished() const { return next_ == int(steps_.size()); }

private:
    struct Step
    {
        std::function<bool()> condition;
        std::function<void()> action;
    };
    void step()
    {
        if (busy_ || finished() || !steps_[next_].condition())
            return;
        // An action may itself block (a click that starts a wait): steps stay in order.
        busy_ = true;
        Step s = steps_[next_++];
        s.action();
        busy_ = false;
    }
    QTimer timer_;
    std::vector<Step> steps_;
    int next_ = 0;
    bool busy_ = false;
};
