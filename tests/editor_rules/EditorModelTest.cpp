// The editor model without a window: the start-up state, each handler as the controls
// run it (pushes, time adjustment and its order, frame checks, modes, limits, switches),
// the init-string message, the lock and the marks.

#include "editor/EditorModel.h"
#include "support/TestRunner.h"

#include <QSignalSpy>
#include <QStringList>
#include <QTest>

namespace {

// The field names in the order of their enums.
const QStringList Spinners = {"Model",        "Channel",    "StartTitle",   "EndTitle",
                              "StartChapter", "EndChapter", "StartMinutes", "StartSeconds",
                              "EndMinutes",   "EndSeconds"};
const QStringList Boxes = {"Model",    "Channel",      "StartFrame", "EndFrame", "StartTitle",
                           "EndTitle", "StartChapter", "EndChapter", "InitStr1", "InitStr2",
                           "InitStr3", "InitStr4",     "Comment"};
const QStringList Options = {"StartTitle", "StartChapter", "StartTimecode", "StartFrame",
                             "EndTitle",   "EndChapter",   "EndTimecode",   "EndFrame"};

template <typename Field> Field field(const QStringList& names, const QString& name)
{
    if (!names.contains(name))
        qFatal("no field %s", qPrintable(name));
    return static_cast<Field>(names.indexOf(name));
}

// One step of a row: "spin StartTitle 5" (through the handler even when unchanged),
// "move StartTitle 5" (as the user moves it), "max StartTitle 40", "text StartFrame 77",
// "option EndFrame", "unlink", "check Squelch 0".
void run(EditorModel& m, const QString& step)
{
    const QString verb = step.section(' ', 0, 0), what = step.section(' ', 1, 1);
    const QString value = step.section(' ', 2);
    if (verb == "spin" || verb == "move" || verb == "max") {
        const auto f = field<SpinField>(Spinners, what);
        verb == "spin"   ? m.setSpinner(f, value.toInt())
        : verb == "move" ? m.moveSpinner(f, value.toInt())
                         : m.setSpinnerMax(f, value.toInt());
    } else if (verb == "text")
        m.setText(field<TextField>(Boxes, what), value);
    else if (verb == "option")
        m.selectOption(field<OptionField>(Options, what));
    else if (verb == "unlink")
        m.setLinkedFieldsActive(false);
    else if (verb == "check")
        m.setCheck(what == "Squelch" ? CheckField::Squelch : CheckField::Synchronize, value == "1");
    else
        QFAIL(qPrintable("unknown step " + step));
}

// The pattern with %1, %2, ... replaced in turn.
template <typename... T> QString fmt(const char* pattern, T... values)
{
    QString s = QString::fromLatin1(pattern);
    ((s = s.arg(values)), ...);
    return s;
}

// The model as "key=value" facts. A spinner value carries "?" when its box shows
// something else.
QStringList facts(const EditorModel& m)
{
    using S = SpinField;
    auto v = [&m](S s) { return QString::number(m.spinnerValue(s)); };
    auto box = [&](S s) {
        return v(s) + (m.text(field<TextField>(Boxes, Spinners[int(s)])) == v(s) ? "" : "?");
    };
    auto t = [&m](TextField f) { return m.text(f); };
    auto letter = [](PointMode mode) { return QString("TCMF").at(int(mode)); };
    const SyncParameters& r = m.record();
    return {
        fmt("titles=%1-%2", box(S::StartTitle), box(S::EndTitle)),
        fmt("chapters=%1-%2", box(S::StartChapter), box(S::EndChapter)),
        fmt("times=%1:%2 %3:%4", v(S::StartMinutes), v(S::StartSeconds).rightJustified(2, '0'),
            v(S::EndMinutes), v(S::EndSeconds).rightJustified(2, '0')),
        fmt("frames=%1/%2", t(TextField::StartFrame), t(TextField::EndFrame)),
        fmt("modes=%1/%2", letter(m.startOption()), letter(m.endOption())),
        fmt("startMax=%1/%2", m.spinnerMax(S::StartTitle), m.spinnerMax(S::StartChapter)),
        fmt("model=%1/%2 of %3/%4 record %5/%6", t(TextField::Model), t(TextField::Channel),
            v(S::Model), v(S::Channel), r.Model, r.Channel),
        "comment=" + t(TextField::Comment),
        fmt("record pairs=%1-%2 %3-%4", r.StartTitle, r.EndTitle, r.StartChapter, r.EndChapter),
        fmt("record frames=%1/%2", r.StartFrame, r.EndFrame),
        fmt("record modes=%1/%2", letter(r.StartMode), letter(r.EndMode)),
        "record comment=" + r.Comment,
        fmt("record bits=%1 %2%3", r.OptionBits, QChar(r.Synchronize ? 'S' : '-'),
            QChar(r.Squelch ? 'Q' : '-')),
    };
}

// A row of steps and of what must hold afterwards, each list split at "; ".
void row(const char* name, const char* steps, const char* expected)
{
    const auto list = [](const char* s) { return QString(s).split("; ", Qt::SkipEmptyParts); };
    QTest::newRow(name) << list(steps) << list(expected);
}

} // namespace

class EditorModelTest : public QObject
{
    Q_OBJECT
private slots:
    void handlers_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QStringList>("expected");
        row("start-up", "",
            "titles=1-2; chapters=1-2; times=0:00 1:00; frames=1000/5000; modes=T/T; "
            "startMax=98/99; model=0/0 of 1/1 record 22/1; record modes=T/T; record bits=12 SQ");
        row("start title and chapter push the end", "spin StartTitle 5; spin StartChapter 7",
            "titles=5-6; chapters=7-8; record pairs=5-6 7-8");
        row("end title and chapter pull the start",
            "spin StartTitle 5; spin EndTitle 3; spin StartChapter 7; spin EndChapter 4",
            "titles=2-3; chapters=3-4; record pairs=2-3 3-4");
        row("unlinked: no push, record untouched", "unlink; spin StartTitle 50",
            "titles=50-2; record pairs=1-2 1-2");
        row("an unchanged value still runs the handler", "text StartTitle abc; spin StartTitle 1",
            "titles=1-2");
        row("a user's move to the same value runs nothing",
            "text StartTitle abc; move StartTitle 1", "titles=1?-2");
        row("lowering the bound moves the value and runs the handler",
            "spin StartTitle 50; max StartTitle 40", "titles=40-51; record pairs=40-51 1-2");
        row("a start title at 99 meets an end held at 99", "option EndChapter; spin StartTitle 99",
            "titles=98-99; startMax=99/98");
        row("end mode Title lowers a start title of 99",
            "option EndChapter; unlink; spin StartTitle 99; option EndTitle",
            "titles=98-2; startMax=98/99");
        // "heard": the spinners that told a change during the last step, in order. After a
        // start spinner the adjustment sets End Minutes, End Seconds, Start Seconds, Start
        // Minutes; after an end spinner Start Minutes, Start Seconds, End Seconds, End Minutes.
        row("no time below 0:00", "spin StartMinutes -1; spin StartSeconds -1; "
            "spin EndSeconds -1; spin EndMinutes -1", "times=0:00 0:01");
        row("start minutes push the end", "spin StartMinutes 5",
            "times=5:00 5:01; heard=StartMinutes, EndMinutes, EndSeconds");
        row("end seconds pull the start", "spin StartMinutes 1; spin EndSeconds 0",
            "times=0:59 1:00");
        row("start beyond 599:58 comes back", "spin StartMinutes 599; spin StartSeconds 59",
            "times=599:58 599:59; heard=StartSeconds, EndSeconds, StartSeconds");
        row("end at 0:00 pulls the start's seconds first", "spin StartSeconds 5; spin EndMinutes 0",
            "times=0:00 0:01; heard=EndMinutes, StartSeconds, EndSeconds");
        row("selecting Frame Number runs the start check", "text StartFrame abc; option StartFrame",
            "frames=1/5000; modes=F/T; record modes=F/T; record frames=1/5000");
        row("selecting the selected option runs nothing",
            "option StartFrame; text StartFrame abc; option StartFrame",
            "frames=abc/5000; record frames=1000/5000");
        row("an end frame of 1 is raised, the start pulled below",
            "text EndFrame 1; option EndFrame",
            "frames=1/2; modes=T/F; startMax=99/99; record frames=1/2; record modes=T/F");
        // Characters are counted, not bytes.
        row("the comment keeps 15 characters", "text Comment äöüäöüäöüäöüäöüäöü",
            "comment=äöüäöüäöüäöüäöü; record comment=äöüäöüäöüäöüäöü");
        row("switches set their bits", "check Squelch 0; check Synchronize 0; check Squelch 1",
            "record bits=4 -Q");
        row("model and channel spinners write their boxes", "spin Model 40; spin Channel 7",
            "model=40/7 of 40/7 record 40/7");
    }
    void handlers()
    {
        QFETCH(QStringList, steps);
        QFETCH(QStringList, expected);
        EditorModel m;
        QStringList heard;
        connect(&m, &EditorModel::spinnerChanged, this,
                [&heard](SpinField f) { heard << Spinners[int(f)]; });
        for (const QString& s : steps) {
            heard.clear();
            run(m, s);
        }
        const QStringList now = facts(m) << "heard=" + heard.join(", ");
        for (const QString& fact : expected)
            QVERIFY2(now.contains(fact), qPrintable(fact + " not in: " + now.join("; ")));
    }

    // Each character cut tells once: 8 for the third string, 5 for the fourth. (Within a
    // batch it is told once in all: a load, tests/editor.)
    void initStringLimitMessage()
    {
        EditorModel m;
        QSignalSpy told(&m, &EditorModel::message);
        run(m, "text InitStr1 " + QString(23, 'a'));
        run(m, "text InitStr2 " + QString(23, 'b'));
        run(m, "text InitStr3 " + QString(20, 'c')); // 8 over: keeps 12
        run(m, "text InitStr4 ddddd");               // nothing left: keeps none
        QCOMPARE(told.size(), 13);
        QCOMPARE(told.first().first().toString(),
                 QStringLiteral("The Init Strings are limited\r\nto 58 characters total\r\n"
                                "between all 4 strings."));
        QCOMPARE(m.text(TextField::InitStr3) + "|" + m.text(TextField::InitStr4) + "|" +
                     m.record().InitStr[2],
                 QString(12, 'c') + "||" + QString(12, 'c'));
    }

    // Model and channel take input only while unlocked; a mark the editor has not is refused.
    void lockAndMarks()
    {
        EditorModel m;
        QVERIFY(!m.isTextEnabled(TextField::Channel) && m.isTextEnabled(TextField::Comment));
        m.setModelChannelUnlocked(true);
        QVERIFY(m.isTextEnabled(TextField::Model) && m.snapshot().ModelChannelUnlocked);
        QVERIFY(m.showMark("shpHiLiteEndTitle", MarkColour::Yellow));
        QVERIFY(!m.showMark("shpHiLiteNothing", MarkColour::Red));
        QCOMPARE(m.shownMarks().keys(), QStringList{"shpHiLiteEndTitle"});
    }
};

CORVANE_TEST_CLASS(EditorModelTest)
#include "EditorModelTest.moc"
