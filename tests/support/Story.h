#pragma once
// The tests' one language: a story is a list of rows, each either a step or what must follow.
//
//   "unit 3F=41 3E=07"        cells of COM1's unit (CellTokens); "unit3 ..." COM3's
//   "unit2 silent"            also: "keeps 39", "line goes after 78", "answers 56 then silent",
//                             "holds back 3 reads", "holds back 8 reads after 56", "held",
//                             "forgets frames", "presses RESET"
//   "units 8"                 a rack of units on COM1 to COM8
//   "map 4=/dev/no-such-tty"  another entry of the port map ("map 4=": none for COM4)
//   "paced"                   the units at the line's real pace
//   "file f.txt: End Title 7|Comment Rack 3"   the default set with these lines changed
//                             ("+Squelch On" adds a line)
//   "text r.txt: COM1\nCOM2"  a file of exactly these bytes; "image u.cells: 39=07" the
//                             default unit's cell image with those cells changed
//   "keep FACT"               the fact as it is now, compared later as "FACT==kept:FACT"
//   then the steps of a stage (the command line, a window) and what must follow:
//   "status=2"  "out=literal"  "err~contained"  "err!~absent"  "out^start"  "err$end"
//   "out~~regex"  "out!~~regex"  "cells@2==cells@1" (another fact)  "out#  > W =54" (how
//   often a text occurs; "=1-53": from 1 to 53 times)
// A fact may take a pattern in braces: "fields{txt(Model|Channel)=}=txtChannel=1|...".
// Facts every stage knows: frames@N, received@N, writes@N, cell:39@N, cells@N (N: the
// unit, COM1 when left out), file:PATH (file:DIR/*.cells: the first that matches),
// entries:PATH, exists:PATH. In rows, %pathN is unit
// N's device, %dir the scratch folder, %NAME each file written, %version the build's version.

#include "simunit/SimSync.h"
#include "support/CellTokens.h"
#include "support/ScratchFolder.h"

#include <QDir>
#include <QRegularExpression>
#include <QSerialPort>
#include <QTest>
#include <map>
#include <memory>
#include <vector>

namespace Story {

// The default set as the editor saves it after Defaults; the simulated unit's cells hold
// the same set.
inline QByteArray defaultsFile()
{
    return ScratchFolder::read(CORVANE_SETTINGS_DATA "/defaults.txt");
}

// The default set with `changes` ("End Title 7") in place of the lines with the same key,
// or added before the last line when no line has it or the change starts with '+'.
inline QByteArray settingsFile(const QStringList& changes)
{
    QStringList lines = QString::fromLatin1(defaultsFile()).split("\r\n", Qt::SkipEmptyParts);
    for (const QString& c : changes) {
        const int words = c.startsWith("Init String")                      ? 3
                          : c.startsWith("Start ") || c.startsWith("End ") ? 2
                                                                           : 1;
        const QString key = c.section(' ', 0, words - 1) + ' ';
        const auto at = std::find_if(lines.begin(), lines.end() - 1,
                                     [&](const QString& l) { return l.startsWith(key); });
        if (c.startsWith('+'))
            lines.insert(lines.size() - 1, c.mid(1));
        else if (at != lines.end() - 1)
            *at = c;
        else
            lines.insert(lines.size() - 1, c);
    }
    return (lines.join("\r\n") + "\r\n").toLatin1();
}

// A load's frames, in the order the unit receives them.
inline QStringList loadFrames()
{
    QStringList out{"ATT", "ATT", "R63", "R62", "R60"};
    for (int a = 48; a <= 111; ++a)
        if (a <= 59 || a == 61 || a >= 72)
            out << "R" + QString::number(a);
    return out;
}

inline QStringList writesIn(const QStringList& frames)
{
    return frames.filter(QRegularExpression("^W"));
}

// A cell image as a person might write one: lower-case hex, one line a cell.
inline QByteArray imageText(const simsync::Cells& cells)
{
    QString text;
    for (int i = 0; i < simsync::CellCount; ++i)
        text += QStringLiteral("%1 %2 %3\n")
                    .arg(0x30 + i, 2, 16)
                    .arg(cells[i][0], 2, 16, QLatin1Char('0'))
                    .arg(cells[i][1], 2, 16, QLatin1Char('0'));
    return text.toLatin1();
}

// Two bytes as text, each byte that does not print as \xNN.
inline QString bytesText(const std::array<uint8_t, 2>& b)
{
    QString out;
    for (uint8_t c : b)
        out += c >= 32 && c < 127 ? QString(QChar(c)) : QStringLiteral("\\x%1").arg(c, 2, 16, QChar('0'));
    return out;
}

// A story as a row of a test's data ("rows", a QStringList).
inline void row(const char* name, const QStringList& rows)
{
    QTest::newRow(name) << rows;
}

// The units, files and checks every stage shares; a stage adds its own steps and facts.
class Teller
{
public:
    virtual ~Teller() = default;
    QString failure; // the first row that did not hold, with what was found

    // Runs the rows in order; false at the first that fails.
    bool tell(const QStringList& rows)
    {
        for (const QString& row : rows) {
            const QString r = place(row);
            const bool ok = isCheck(r) ? check(r) : step(r.section(' ', 0, 0), r.section(' ', 1));
            if (!ok) {
                if (failure.isEmpty())
                    failure = "cannot run: " + r;
                return false;
            }
        }
        return true;
    }

    SimSync& unit(int n)
    {
        while (int(units_.size()) < n) {
            units_.push_back(std::make_unique<SimSync>());
            units_.back()->setPacing(paced_);
            units_.back()->start();
            map_.insert(int(units_.size()), units_.back()->path());
        }
        return *units_[size_t(n - 1)];
    }
    int unitCount() const { return int(units_.size()); }
    // The port map of the units and the extra entries: "1=/dev/pts/3,2=...".
    QString portMap() const
    {
        QStringList out;
        for (auto it = map_.begin(); it != map_.end(); ++it)
            out << QStringLiteral("%1=%2").arg(it.key()).arg(it.value());
        return out.join(',');
    }
    ScratchFolder scratch;

protected:
    bool paced_ = false;

    // A step of this stage; the base knows units and files.
    virtual bool step(const QString& verb, const QString& rest)
    {
        if (verb.startsWith("unit") && verb != "units")
            return unitStep(unit(verb.mid(4).toInt() > 0 ? verb.mid(4).toInt() : 1), rest);
        if (verb == "units") {
            unit(rest.toInt());
            return true;
        }
        if (verb == "paced") { // the units there and those to come
            paced_ = true;
            for (const auto& u : units_)
                u->setPacing(LineTiming{});
            return true;
        }
        if (verb == "map") { // "map 3=" takes COM3 out of the map
            const int port = rest.section('=', 0, 0).toInt();
            rest.section('=', 1).isEmpty() ? void(map_.remove(port))
                                           : void(map_.insert(port, rest.section('=', 1)));
            return true;
        }
        if (verb == "file" || verb == "text" || verb == "image") {
            const QString name = rest.section(": ", 0, 0), body = rest.section(": ", 1);
            QByteArray bytes = body.toLatin1();
            if (verb == "file")
                bytes = settingsFile(body.isEmpty() ? QStringList() : body.split('|'));
            if (verb == "image") {
                CellSet cells;
                CellTokens::apply(cells, body.split(' ', Qt::SkipEmptyParts));
                simsync::Cells image = simsync::defaultCells();
                for (int a = 0x30; a < 0x70; ++a)
                    if (cells.has(uint8_t(a)))
                        image[a - 0x30] = {cells.get(uint8_t(a)).d0, cells.get(uint8_t(a)).d1};
                bytes = imageText(image);
            }
            files_.insert(name, scratch.write(name, bytes));
            return true;
        }
        if (verb == "mkdir")
            return QDir().mkpath(rest);
        if (verb == "keep") { // a fact as it is now, for "FACT==kept:FACT" later
            kept_.insert(rest, fact(rest));
            return true;
        }
        return false;
    }

    // A fact this stage knows; the base knows the units' and the files'.
    virtual QString fact(const QString& key)
    {
        if (key.startsWith("kept:"))
            return kept_.value(key.mid(5), "<not kept>");
        const int at = key.indexOf('@');
        SimSync& u = unit(at < 0 ? 1 : key.mid(at + 1).toInt());
        const QString name = at < 0 ? key : key.left(at);
        const QStringList got = u.frames(simsync::Direction::ToUnit);
        if (name == "frames")
            return QString::number(u.framesReceived());
        if (name == "received")
            return got.join(' ');
        if (name == "writes")
            return QString::number(writesIn(got).size());
        if (name.startsWith("cell:"))
            return bytesText(u.cell(name.mid(5).toInt(nullptr, 16)));
        if (name == "cells")
            return imageText(u.cells());
        const QString path = key.section(':', 1);
        if (key.startsWith("file:") && path.contains('*')) { // the first file that matches
            const QFileInfo pattern(path);
            const QStringList found = pattern.dir().entryList({pattern.fileName()}, QDir::Files,
                                                              QDir::Name);
            return found.isEmpty() ? "<no file " + path + ">"
                                   : QString::fromUtf8(ScratchFolder::read(
                                         pattern.dir().filePath(found.first())));
        }
        if (key.startsWith("file:"))
            return QString::fromUtf8(ScratchFolder::read(path));
        if (key.startsWith("entries:"))
            return QDir(path).entryList(QDir::Files | QDir::Hidden, QDir::Name).join(' ');
        if (key.startsWith("exists:"))
            return QFileInfo::exists(path) ? "yes" : "no";
        return "<no fact " + key + ">";
    }

    // Placeholders replaced in a row.
    virtual QString place(QString row)
    {
        static const QRegularExpression device("%path(\\d+)");
        for (auto it = device.globalMatch(row); it.hasNext();)
            unit(it.next().captured(1).toInt()); // a unit named is a unit there

        QStringList names = files_.keys();
        std::sort(names.begin(), names.end(),
                  [](const QString& a, const QString& b) { return a.size() > b.size(); });
        for (const QString& n : names)
            row.replace('%' + n, files_.value(n));
        for (int n = int(units_.size()); n >= 1; --n)
            row.replace(QStringLiteral("%path%1").arg(n), units_[size_t(n - 1)]->path());
        return row.replace("%dir", scratch.dir.path()).replace("%version", CORVANE_BUILD_VERSION);
    }

private:
    std::vector<std::unique_ptr<SimSync>> units_;
    std::vector<std::unique_ptr<QSerialPort>> holders_;
    QMap<int, QString> map_;
    QMap<QString, QString> files_;
    QMap<QString, QString> kept_;

    bool unitStep(SimSync& u, const QString& what)
    {
        static const QRegularExpression holdBack("^holds back (\\d+) reads(?: after (\\d+))?$");
        const QRegularExpressionMatch m = holdBack.match(what);
        if (what == "silent")
            u.setStandingFault(simsync::Fault::Silence);
        else if (what == "presses RESET")
            u.pressReset();
        else if (what == "forgets frames") // what follows counts alone
            u.clearWireLog();
        else if (what.startsWith("keeps "))
            u.freezeCell(what.mid(6).toInt(nullptr, 16));
        else if (what.startsWith("line goes after "))
            u.closeAfterFrames(what.mid(16).toInt());
        else if (what.startsWith("answers ") && what.endsWith(" then silent")) {
            u.queueFaults(QList<simsync::Fault>(what.section(' ', 1, 1).toInt(), simsync::Fault::None));
            u.setStandingFault(simsync::Fault::Silence);
        } else if (m.hasMatch()) { // each read unanswered once: its retry holds the unit back
            QList<simsync::Fault> faults(m.captured(2).toInt(), simsync::Fault::None);
            for (int i = 0; i < m.captured(1).toInt(); ++i)
                faults << simsync::Fault::Silence << simsync::Fault::None;
            u.queueFaults(faults);
        } else if (what == "held") { // another program has the device open
            holders_.push_back(std::make_unique<QSerialPort>(u.path()));
            return holders_.back()->open(QIODevice::ReadWrite);
        } else
            CellTokens::put(u, what.split(' ', Qt::SkipEmptyParts));
        return true;
    }

    static bool isCheck(const QString& row)
    {
        static const QRegularExpression check("^(\\w+\\{[^}]*\\}|[^ =~!^$#]+)(==|~~|!~~|!~|=|~|\\^|\\$|#)");
        return check.match(row).hasMatch();
    }

    bool check(const QString& row)
    {
        static const QRegularExpression parts("^(\\w+\\{[^}]*\\}|[^ =~!^$#]+)(==|~~|!~~|!~|=|~|\\^|\\$|#)(.*)$",
                                              QRegularExpression::DotMatchesEverythingOption);
        const QRegularExpressionMatch m = parts.match(row);
        const QString key = m.captured(1), op = m.captured(2), want = m.captured(3);
        const QString got = fact(key);
        // "#": how often a text occurs, "text=N" or "text=N-M"
        const QString counted = want.section('=', 0, -2), range = want.section('=', -1);
        const int times = got.count(counted);
        const bool ok = op == "#" ? times >= range.section('-', 0, 0).toInt() &&
                                        times <= range.section('-', -1).toInt()
                        : op == "="   ? got == want
                        : op == "=="  ? got == fact(want)
                        : op == "!~~" ? !QRegularExpression(want).match(got).hasMatch()
                        : op == "~"  ? got.contains(want)
                        : op == "!~" ? !got.contains(want)
                        : op == "^"  ? got.startsWith(want)
                        : op == "$"  ? got.endsWith(want)
                                     : QRegularExpression(want).match(got).hasMatch();
        if (!ok)
            failure = QStringLiteral("%1\n--- %2 is:\n%3").arg(row, key, got);
        return ok;
    }
};

} // namespace Story
