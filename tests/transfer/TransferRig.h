#pragma once
// The editor window against a simulated unit on COM5: a fresh application with its modal
// boxes answered, a unit on a pseudo-terminal, the port open unless asked otherwise.
// Records every problem text and every showing of the progress window.

#include "app/HighlightShape.h"
#include "app/Spinner.h"
#include "app/frmMain.h"
#include "app/frmProblem.h"
#include "app/frmProgress.h"
#include "comm/PortMap.h"
#include "comm/modCorvaneComm.h"
#include "simunit/SimSync.h"
#include "support/AppFixture.h"

#include <QCheckBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QRadioButton>
#include <QStringList>

namespace TransferTest {

// Each showing of the progress window as "caption|step line|bar at show-at hide/max".
class ProgressWatch : public QObject
{
public:
    QStringList showings;
    explicit ProgressWatch(frmProgress& p) : p_(p) { p_.installEventFilter(this); }
    ~ProgressWatch() override { p_.removeEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* e) override
    {
        if (watched == &p_ && e->type() == QEvent::Show)
            showings << QStringLiteral("%1|%2|%3")
                            .arg(p_.windowTitle(), ctl<QLabel>(p_, "lblProgress")->text())
                            .arg(bar()->value());
        if (watched == &p_ && e->type() == QEvent::Hide && !showings.isEmpty())
            showings.last() += QStringLiteral("-%1/%2").arg(bar()->value()).arg(bar()->maximum());
        return false;
    }

private:
    QProgressBar* bar() const { return ctl<QProgressBar>(p_, "ProgressBar1"); }
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
        ok = ok && (!openPort || modCorvaneComm::OpenSyncPort(c, 5));
    }

    frmMain& main() { return fx.main(); }
    QStringList messages() const { return fx.modal.messages(); }
    QByteArray boxes() const { return (messages() + problems).join('|').toLocal8Bit(); }

    // Frames the unit received, as SimSync writes them ("ATT", "R63", "W60 90").
    QStringList framesStartingWith(const QString& prefix) const
    {
        return sim.frames(simsync::Direction::ToUnit).filter(QRegularExpression('^' + prefix));
    }

    // The highlight shapes on show, as "shpHiLiteModel=red", sorted.
    QStringList shownMarks()
    {
        QStringList out;
        for (HighlightShape* s : highlightShapes(main()))
            if (!s->isHidden())
                out << s->objectName() + (s->FillColor() == HighlightColors::Red      ? "=red"
                                          : s->FillColor() == HighlightColors::Yellow ? "=yellow"
                                                                                      : "=other");
        out.sort();
        return out;
    }
};

inline QString asShown(QString text)
{
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

// Unit memory written as text: "3F=22" (cell 0x3F holds "22"), "modes=C/M" (start Chapter,
// end Time; T Title, C Chapter, M Time, F Frame), "start=0001205" (a point as seven
// characters over four cells), "comment=Hi", "init=AB\rCD\r" (text images, BEL after).
inline void putCells(SimSync& sim, const QStringList& tokens)
{
    auto two = [&sim](int address, const QByteArray& b) {
        sim.setCell(address, uint8_t(b.at(0)), uint8_t(b.at(1)));
    };
    for (const QString& t : tokens) {
        const QString key = t.section(u'=', 0, 0);
        const QByteArray value = t.section(u'=', 1).toLatin1();
        if (key == "modes") {
            const QByteArray letters = "TCMF";
            two(0x3C, QByteArray(1, char(0x30 + 4 * letters.indexOf(value.at(2)) +
                                         letters.indexOf(value.at(0)))) +
                          '0');
        } else if (key == "start" || key == "end") {
            for (int i = 0; i < 4; ++i)
                two((key == "start" ? 0x30 : 0x34) + i, (value + '0').mid(2 * i, 2));
        } else if (key == "comment" || key == "init") {
            const int cells = key == "init" ? 32 : 8;
            for (int i = 0; i < cells; ++i)
                two((key == "init" ? 0x50 : 0x48) + i,
                    value.leftJustified(2 * cells, '\a', true).mid(2 * i, 2));
        } else {
            two(key.toInt(nullptr, 16), value);
        }
    }
}

// Every control's value, the marks and shapes and the lock, for "nothing changed" checks.
inline QStringList wholeEditor(frmMain& m)
{
    QStringList out;
    for (QLineEdit* box : m.findChildren<QLineEdit*>())
        out << box->objectName() + "=" + box->text();
    for (Spinner* s : m.findChildren<Spinner*>())
        out << QStringLiteral("%1=%2/%3%4")
                   .arg(s->objectName())
                   .arg(s->Value())
                   .arg(s->Max())
                   .arg(s->isHidden() ? " hidden" : "");
    for (QAbstractButton* b : m.findChildren<QAbstractButton*>())
        if (b->isCheckable())
            out << b->objectName() + (b->isChecked() ? "=1" : "=0");
    for (HighlightShape* s : highlightShapes(m))
        out << s->objectName() + "=" + (s->isHidden() ? "hidden" : s->FillColor().name());
    for (int k = 0; k < MarkKeyCount; ++k)
        out << QStringLiteral("mark%1=%2%3")
                   .arg(k)
                   .arg(m.model().marks().flags[k].Unreadable)
                   .arg(m.model().marks().flags[k].OutOfRange);
    out << QStringLiteral("unlocked=%1 marked=%2 txtModel enabled=%3")
               .arg(m.model().modelChannelUnlocked())
               .arg(m.model().modelChannelMarked())
               .arg(ctl<QLineEdit>(m, "txtModel")->isEnabled());
    out.sort();
    return out;
}

inline std::array<QRadioButton*, 4> modeOptions(frmMain& m, bool start)
{
    if (start)
        return {ctl<QRadioButton>(m, "optStartTitle"), ctl<QRadioButton>(m, "optStartChapter"),
                ctl<QRadioButton>(m, "optStartTimecode"), ctl<QRadioButton>(m, "optStartFrame")};
    return {ctl<QRadioButton>(m, "optEndTitle"), ctl<QRadioButton>(m, "optEndChapter"),
            ctl<QRadioButton>(m, "optEndTimecode"), ctl<QRadioButton>(m, "optEndFrame")};
}

// What a save stores and a load brings back: the modes, each point in the reading its mode
// uses (a point's cells hold a time or a frame number, not both), the other boxes, switches.
inline QStringList storedFields(frmMain& m)
{
    auto point = [](QRadioButton* time, QLineEdit* min, QLineEdit* sec, QLineEdit* frame) {
        return time->isChecked() ? min->text() + ':' + sec->text() : frame->text();
    };
    QStringList out{
        QStringLiteral("record %1/%2 start=%3 end=%4")
            .arg(int(m.model().record().StartMode))
            .arg(int(m.model().record().EndMode))
            .arg(point(ctl<QRadioButton>(m, "optStartTimecode"),
                       ctl<QLineEdit>(m, "txtStartMinutes"), ctl<QLineEdit>(m, "txtStartSeconds"),
                       ctl<QLineEdit>(m, "txtStartFrame")),
                 point(ctl<QRadioButton>(m, "optEndTimecode"), ctl<QLineEdit>(m, "txtEndMinutes"),
                       ctl<QLineEdit>(m, "txtEndSeconds"), ctl<QLineEdit>(m, "txtEndFrame")))};
    for (QWidget* w : std::initializer_list<QWidget*>{ctl<QRadioButton>(m, "optStartTitle"),
                                                      ctl<QRadioButton>(m, "optStartChapter"),
                                                      ctl<QRadioButton>(m, "optStartTimecode"),
                                                      ctl<QRadioButton>(m, "optStartFrame"),
                                                      ctl<QRadioButton>(m, "optEndTitle"),
                                                      ctl<QRadioButton>(m, "optEndChapter"),
                                                      ctl<QRadioButton>(m, "optEndTimecode"),
                                                      ctl<QRadioButton>(m, "optEndFrame"),
                                                      ctl<QCheckBox>(m, "chkSynchronize"),
                                                      ctl<QCheckBox>(m, "chkSquelch"),
                                                      ctl<QLineEdit>(m, "txtModel"),
                                                      ctl<QLineEdit>(m, "txtChannel"),
                                                      ctl<QLineEdit>(m, "txtStartTitle"),
                                                      ctl<QLineEdit>(m, "txtEndTitle"),
                                                      ctl<QLineEdit>(m, "txtStartChapter"),
                                                      ctl<QLineEdit>(m, "txtEndChapter"),
                                                      ctl<QLineEdit>(m, "txtComment"),
                                                      ctl<QLineEdit>(m, "txtInitStr1"),
                                                      ctl<QLineEdit>(m, "txtInitStr2"),
                                                      ctl<QLineEdit>(m, "txtInitStr3"),
                                                      ctl<QLineEdit>(m, "txtInitStr4")}) {
        auto* box = qobject_cast<QLineEdit*>(w);
        out << w->objectName() + '=' +
                   (box ? box->text()
                        : QString::number(qobject_cast<QAbstractButton*>(w)->isChecked()));
    }
    return out;
}

} // namespace TransferTest
