#pragma once
// The editor window against a simulated unit on COM5: a fresh application with its modal
// boxes answered, a unit on a pseudo-terminal (unpaced unless a test asks), the port
// open. Records every problem text and every showing of the progress window.

#include "app/HighlightShape.h"
#include "app/frmProblem.h"
#include "app/frmProgress.h"
#include "comm/PortMap.h"
#include "comm/modCorvaneComm.h"
#include "simsync/SimSync.h"
#include "support/AppFixture.h"

#include <QEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QStringList>

namespace TransferTest {

constexpr int16_t Port = 5;

// Each showing and hiding of the progress window: caption, step line and bar.
class ProgressWatch : public QObject
{
public:
    struct Showing
    {
        QString caption;
        QString line;
        int barAtShow = -1;
        int barAtHide = -1;
        int barMax = -1;
    };
    QVector<Showing> showings;

    explicit ProgressWatch(frmProgress& p) : p_(p) { p_.installEventFilter(this); }
    ~ProgressWatch() override { p_.removeEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* e) override
    {
        if (watched == &p_ && e->type() == QEvent::Show)
            showings.append({p_.windowTitle(), p_.lblProgress->text(), p_.ProgressBar1->value(), -1,
                             p_.ProgressBar1->maximum()});
        if (watched == &p_ && e->type() == QEvent::Hide && !showings.isEmpty()) {
            showings.last().barAtHide = p_.ProgressBar1->value();
            showings.last().barMax = p_.ProgressBar1->maximum();
        }
        return false;
    }

private:
    frmProgress& p_;
};

struct Rig
{
    SimSync sim;
    AppFixture fx;
    // Texts shown in the problem window, in order. The window's text box keeps a line
    // break as LF; asShown() turns an expected text into that form.
    QStringList problems;

    Rig()
    {
        fx.modal.onDialog = [this](const Modal::Request& r) {
            if (auto* p = qobject_cast<frmProblem*>(r.dialog))
                problems << p->txtProblem->toPlainText();
        };
    }
    ~Rig() { PortMap::clearTestMapping(); }

    // Starts the unit and opens COM5 on it.
    bool open(bool pacing = false)
    {
        sim.setPacing(pacing);
        if (!sim.start())
            return false;
        PortMap::setTestMapping({{Port, sim.path()}});
        CommContext c = fx.app->comm();
        return modCorvaneComm::OpenSyncPort(c, Port);
    }

    frmMain& main() { return fx.main(); }
    Globals& g() { return fx.g(); }
    QStringList messages() const { return fx.modal.messages(); }

    // Frames the unit received, as SimSync describes them ("ATT", "R63", "W60 90").
    QStringList framesToUnit() const { return sim.frames(simsync::Direction::ToUnit); }
    QStringList framesStartingWith(const QString& prefix) const
    {
        QStringList out;
        for (const QString& f : framesToUnit())
            if (f.startsWith(prefix))
                out << f;
        return out;
    }

    // The highlight shapes on show, as "shpHiLiteModel=red".
    QStringList shownMarks()
    {
        QStringList out;
        for (HighlightShape* s : main().highlightShapes()) {
            if (s->isHidden())
                continue;
            const QColor c = s->FillColor();
            const QString colour = c == HighlightColors::Red      ? QStringLiteral("red")
                                   : c == HighlightColors::Yellow ? QStringLiteral("yellow")
                                                                  : c.name();
            out << s->objectName() + QLatin1Char('=') + colour;
        }
        return out;
    }
};

inline QString asShown(QString text)
{
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

// Unit memory written as text, the way it sits in a unit:
//   "3F=22"      cell 0x3F holds "22"
//   "modes=C/M"  the mode cell for start Chapter, end Time (T Title, C Chapter, M Time,
//                F Frame)
//   "start=0001205", "end=00010A0"   a point as seven characters over four cells
//   "comment=Hello", "init=AB\rCD\r" the text images, BEL after the text
inline void putCells(SimSync& sim, const QStringList& tokens)
{
    auto two = [&sim](int address, const QByteArray& b) {
        sim.setCell(address, uint8_t(b.at(0)), uint8_t(b.at(1)));
    };
    auto image = [&](int first, int cells, const QByteArray& text) {
        const QByteArray bytes = text.leftJustified(2 * cells, '\a', true);
        for (int i = 0; i < cells; ++i)
            two(first + i, bytes.mid(2 * i, 2));
    };
    for (const QString& t : tokens) {
        const QString key = t.section(u'=', 0, 0);
        const QByteArray value = t.section(u'=', 1).toLatin1();
        if (key == QLatin1String("modes")) {
            const QString letters = QStringLiteral("TCMF");
            const int code = 4 * letters.indexOf(QChar::fromLatin1(value.at(2))) +
                             letters.indexOf(QChar::fromLatin1(value.at(0)));
            two(0x3C, QByteArray(1, char(0x30 + code)) + '0');
        } else if (key == QLatin1String("start") || key == QLatin1String("end")) {
            const int first = key == QLatin1String("start") ? 0x30 : 0x34;
            for (int i = 0; i < 3; ++i)
                two(first + i, value.mid(2 * i, 2));
            two(first + 3, value.mid(6, 1) + '0');
        } else if (key == QLatin1String("comment")) {
            image(0x48, 8, value);
        } else if (key == QLatin1String("init")) {
            image(0x50, 32, value);
        } else {
            two(key.toInt(nullptr, 16), value);
        }
    }
}

} // namespace TransferTest
