#pragma once
// The editor window against a simulated unit on COM5: a fresh application with its modal
// boxes answered, a unit on a pseudo-terminal, the port open unless asked otherwise. Also
// the one way the tests read and set the editor: its controls as "name=value" text.

#include "app/Spinner.h"
#include "app/frmMain.h"
#include "app/frmProblem.h"
#include "app/frmProgress.h"
#include "comm/WireLog.h"
#include "comm/modCorvaneComm.h"
#include "simunit/SimSync.h"
#include "support/AppFixture.h"
#include "support/Awaited.h"
#include "support/CellTokens.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>

namespace TransferTest {

// Every control of the editor as "name=value", sorted: a box by its text (" disabled" when
// it is), a spinner as "value/max" (" hidden" when it is), a switch or option as 1 or 0, a
// highlight mark as red, yellow, other or hidden; then the model's marks (U unreadable,
// Y out of range, per key), the model/channel lock (shut, open, or open and marked), and
// the modes and switch bits the record holds.
inline QStringList editorText(frmMain& m)
{
    QStringList out;
    const QWidget& c = *m.centralWidget();
    for (QLineEdit* b : c.findChildren<QLineEdit*>())
        out << b->objectName() + '=' + b->text() + (b->isEnabled() ? "" : " disabled");
    for (Spinner* s : c.findChildren<Spinner*>())
        out << QStringLiteral("%1=%2/%3").arg(s->objectName()).arg(s->Value()).arg(s->Max()) +
                   (s->isHidden() ? " hidden" : "");
    for (QAbstractButton* b : c.findChildren<QAbstractButton*>())
        if (b->isCheckable())
            out << b->objectName() + (b->isChecked() ? "=1" : "=0");
    for (HighlightShape* s : highlightShapes(m))
        out << s->objectName() + (s->isHidden()                               ? "=hidden"
                                  : s->FillColor() == HighlightColors::Red    ? "=red"
                                  : s->FillColor() == HighlightColors::Yellow ? "=yellow"
                                                                              : "=other");
    QString marks = "marks=";
    for (const Mark& k : m.model().marks().flags)
        marks += QString(k.Unreadable ? "U" : "") + (k.OutOfRange ? "Y" : "") + '.';
    const SyncParameters& r = m.model().record();
    out << marks
        << QString("lock=") + (m.model().modelChannelUnlocked() ? "open" : "shut") +
               (m.model().modelChannelMarked() ? " marked" : "")
        << QStringLiteral("record=%1/%2 %3")
               .arg(int(r.StartMode))
               .arg(int(r.EndMode))
               .arg(r.OptionBits);
    out.sort();
    return out;
}

// The entries of editorText that start with `pattern`, joined by '|'.
inline QString pick(frmMain& m, const QString& pattern)
{
    return editorText(m).filter(QRegularExpression("^(" + pattern + ')')).join('|');
}

// Sets controls as the user does, from "txtComment=Hi", "scrEndTitle=7", "optStartFrame=1".
inline void setControls(frmMain& m, const QStringList& tokens)
{
    for (const QString& t : tokens) {
        const QString name = t.section(u'=', 0, 0), value = t.section(u'=', 1);
        if (auto* s = m.findChild<Spinner*>(name))
            s->setValueNotify(value.toInt());
        else if (auto* b = m.findChild<QAbstractButton*>(name))
            b->setChecked(value == "1");
        else
            ctl<QLineEdit>(m, name)->setText(value);
    }
}

// Each showing of the progress window as "caption|step line|bar at show-at hide/max".
class ProgressWatch : public QObject
{
public:
    QStringList showings;
    explicit ProgressWatch(frmProgress& p) : p_(p) { p_.installEventFilter(this); }
    ~ProgressWatch() override { p_.removeEventFilter(this); }

protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        const QProgressBar* bar = ctl<QProgressBar>(p_, "ProgressBar1");
        if (e->type() == QEvent::Show)
            showings << QStringLiteral("%1|%2|%3")
                            .arg(p_.windowTitle(), ctl<QLabel>(p_, "lblProgress")->text())
                            .arg(bar->value());
        if (e->type() == QEvent::Hide && !showings.isEmpty())
            showings.last() += QStringLiteral("-%1/%2").arg(bar->value()).arg(bar->maximum());
        return false;
    }

private:
    frmProgress& p_;
};

struct Rig
{
    SimSync sim;
    AppFixture fx;
    // Texts shown in the problem window (its text box keeps a line break as LF).
    QStringList problems;
    bool ok = false;

    // Unpaced unless a paced story passes the real times.
    explicit Rig(bool openPort = true, const LineTiming& timing = LineTiming::unpaced())
        : fx(false, timing)
    {
        sim.setPacing(timing);
        fx.modal.onDialog = [this](const Modal::Request& r) {
            if (auto* p = qobject_cast<frmProblem*>(r.dialog))
                problems << p->txtProblem->toPlainText();
        };
        ok = sim.start();
        fx.app->ports.setTestMapping({{5, sim.path()}});
        CommContext c = fx.app->comm();
        ok = ok && (!openPort || awaited(modCorvaneComm::OpenSyncPort(c, 5)).number == 0);
    }

    frmMain& main() { return fx.main(); }
    // A click returns once the command has come to its first wait; it ends later.
    void click(const char* button)
    {
        QTest::mouseClick(ctl<QPushButton>(main(), button), Qt::LeftButton);
    }
    // Clicks, then waits until the command has given the line back: it has ended.
    bool clickToEnd(const char* button)
    {
        click(button);
        return untilLeaseFree(fx.app->lease());
    }
    QStringList messages() const { return fx.modal.messages(); }
    QByteArray boxes() const { return (messages() + problems).join('|').toLocal8Bit(); }
    // Frames the unit received, as the unit names them ("ATT", "R63", "W60 90": decimal).
    QStringList frames(const QString& prefix = {}) const
    {
        return sim.frames(simsync::Direction::ToUnit).filter(QRegularExpression('^' + prefix));
    }
    // The texts of one kind of entry in the application's wire log.
    QStringList logged(WireLogEntry::Kind kind) const
    {
        QStringList out;
        for (const WireLogEntry& e : fx.app->wireLog().entries())
            if (e.kind == kind)
                out << e.text;
        return out;
    }
};

} // namespace TransferTest
