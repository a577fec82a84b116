// The editor model without a window: the start-up state, each handler as the controls
// run it (pushes, time adjustment, frame checks, modes, limits, switches), the order in
// which the time adjustment moves the spinners, the lock and the marks.

#include "editor/EditorModel.h"

#include <QSignalSpy>
#include <QStringList>
#include <QTest>

namespace {

const QMap<QString, SpinField> Spinners = {{"Model", SpinField::Model},
                                           {"Channel", SpinField::Channel},
                                           {"StartTitle", SpinField::StartTitle},
                                           {"EndTitle", SpinField::EndTitle},
                                           {"StartChapter", SpinField::StartChapter},
                                           {"EndChapter", SpinField::EndChapter},
                                           {"StartMinutes", SpinField::StartMinutes},
                                           {"StartSeconds", SpinField::StartSeconds},
                                           {"EndMinutes", SpinField::EndMinutes},
                                           {"EndSeconds", SpinField::EndSeconds}};
const QMap<QString, TextField> Boxes = {
    {"StartFrame", TextField::StartFrame}, {"EndFrame", TextField::EndFrame},
    {"StartTitle", TextField::StartTitle}, {"Comment", TextField::Comment},
    {"InitStr1", TextField::InitStr1},     {"InitStr2", TextField::InitStr2}};
const QMap<QString, OptionField> Options = {
    {"StartTitle", OptionField::StartTitle},       {"StartChapter", OptionField::StartChapter},
    {"StartTimecode", OptionField::StartTimecode}, {"StartFrame", OptionField::StartFrame},
    {"EndTitle", OptionField::EndTitle},           {"EndChapter", OptionField::EndChapter},
    {"EndTimecode", OptionField::EndTimecode},     {"EndFrame", OptionField::EndFrame}};

// One step of a row: "spin StartTitle 5" (through the handler even when unchanged),
// "move StartTitle 5" (as the user moves it), "max StartTitle 40", "text StartFrame 77",
// "option EndFrame", "commit start", "unlink", "check Squelch 0".
void run(EditorModel& m, const QString& step)
{
    const QString verb = step.section(' ', 0, 0), what = step.section(' ', 1, 1);
    const QString value = step.section(' ', 2);
    if (verb == "spin")
        m.setSpinner(Spinners.value(what), value.toInt());
    else if (verb == "move")
        m.moveSpinner(Spinners.value(what), value.toInt());
    else if (verb == "max")
        m.setSpinnerMax(Spinners.value(what), value.toInt());
    else if (verb == "text")
        m.setText(Boxes.value(what), value);
    else if (verb == "option")
        m.selectOption(Options.value(what));
    else if (verb == "commit")
        what == "start" ? m.commitStartFrame() : m.commitEndFrame();
    else if (verb == "unlink")
        m.setLinkedFieldsActive(false);
    else if (verb == "check")
        m.setCheck(what == "Squelch" ? CheckField::Squelch : CheckField::Synchronize, value == "1");
    else
        QFAIL(qPrintable("unknown step " + step));
}

QString letter(PointMode mode)
{
    return QStringLiteral("TCMF").mid(static_cast<int>(mode), 1);
}

// The model as "key=value" facts. A spinner value carries "?" when its box shows
// something else.
QStringList facts(const EditorModel& m)
{
    auto val = [&m](SpinField s, TextField t) {
        const QString v = QString::number(m.spinnerValue(s));
        return v + (m.text(t) == v ? "" : "?");
    };
    auto num = [&m](SpinField s) { return QString::number(m.spinnerValue(s)); };
    auto mss = [&m](SpinField mins, SpinField secs) {
        return QStringLiteral("%1:%2")
            .arg(m.spinnerValue(mins))
            .arg(m.spinnerValue(secs), 2, 10, QChar(u'0'));
    };
    const SyncParameters& r = m.record();
    return {
        "titles=" + val(SpinField::StartTitle, TextField::StartTitle) + "-" +
            val(SpinField::EndTitle, TextField::EndTitle),
        "chapters=" + val(SpinField::StartChapter, TextField::StartChapter) + "-" +
            val(SpinField::EndChapter, TextField::EndChapter),
        "times=" + mss(SpinField::StartMinutes, SpinField::StartSeconds) + " " +
            mss(SpinField::EndMinutes, SpinField::EndSeconds),
        "frames=" + m.text(TextField::StartFrame) + "/" + m.text(TextField::EndFrame),
        "modes=" + letter(m.startOption()) + "/" + letter(m.endOption()),
        "startMax=" + QString::number(m.spinnerMax(SpinField::StartTitle)) + "/" +
            QString::number(m.spinnerMax(SpinField::StartChapter)),
        "modelBoxes=" + m.text(TextField::Model) + "/" + m.text(TextField::Channel) + " of " +
            num(SpinField::Model) + "/" + num(SpinField::Channel),
        "comment=" + m.text(TextField::Comment),
        QStringLiteral("record titles=%1-%2").arg(r.StartTitle).arg(r.EndTitle),
        QStringLiteral("record frames=%1/%2").arg(r.StartFrame).arg(r.EndFrame),
        "record modes=" + letter(r.StartMode) + "/" + letter(r.EndMode),
        "record comment=" + r.Comment,
        QStringLiteral("record bits=%1 %2%3")
            .arg(r.OptionBits)
            .arg(r.Synchronize ? "S" : "-")
            .arg(r.Squelch ? "Q" : "-"),
    };
}

} // namespace

class EditorModelTest : public QObject
{
    Q_OBJECT
private slots:
    void handlers_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QStringList>("expected"); // facts that must hold afterwards
        const QStringList none;
        QTest::newRow("start-up") << none << QStringList{"titles=1-2",
                                                         "chapters=1-2",
                                                         "times=0:00 1:00",
                                                         "frames=1000/5000",
                                                         "modes=T/T",
                                                         "startMax=98/99",
                                                         "modelBoxes=0/0 of 1/1",
                                                         "record modes=T/T",
                                                         "record bits=12 SQ"};
        QTest::newRow("start title pushes the end")
            << QStringList{"spin StartTitle 5"} << QStringList{"titles=5-6", "record titles=5-6"};
        QTest::newRow("end title pulls the start")
            << QStringList{"spin StartTitle 5", "spin EndTitle 3"}
            << QStringList{"titles=2-3", "record titles=2-3"};
        QTest::newRow("unlinked: no push, record untouched")
            << QStringList{"unlink", "spin StartTitle 50"}
            << QStringList{"titles=50-2", "record titles=1-2"};
        QTest::newRow("an unchanged value still runs the handler")
            << QStringList{"text StartTitle abc", "spin StartTitle 1"} << QStringList{"titles=1-2"};
        QTest::newRow("a user's move to the same value runs nothing")
            << QStringList{"text StartTitle abc", "move StartTitle 1"}
            << QStringList{"titles=1?-2"};
        QTest::newRow("lowering the bound moves the value and runs the handler")
            << QStringList{"spin StartTitle 50", "max StartTitle 40"}
            << QStringList{"titles=40-51", "record titles=40-51"};
        QTest::newRow("a start title at 99 meets an end held at 99")
            << QStringList{"option EndChapter", "spin StartTitle 99"}
            << QStringList{"titles=98-99", "startMax=99/98"};
        QTest::newRow("end mode Title lowers a start title of 99")
            << QStringList{"option EndChapter", "unlink", "spin StartTitle 99", "option EndTitle"}
            << QStringList{"titles=98-2", "startMax=98/99"};
        QTest::newRow("start minutes push the end")
            << QStringList{"spin StartMinutes 5"} << QStringList{"times=5:00 5:01"};
        QTest::newRow("end minutes pull the start")
            << QStringList{"spin StartMinutes 5", "spin EndMinutes 3"}
            << QStringList{"times=3:00 3:01"};
        QTest::newRow("a second adjustment runs after the first")
            << QStringList{"spin StartSeconds 30", "spin StartMinutes 1"}
            << QStringList{"times=1:30 1:31"};
        QTest::newRow("a typed frame box is kept apart from the record")
            << QStringList{"text StartFrame 77"}
            << QStringList{"frames=77/5000", "record frames=1/1000"};
        QTest::newRow("committing the frame box")
            << QStringList{"text StartFrame 77", "commit start"}
            << QStringList{"frames=77/5000", "record frames=77/5000"};
        QTest::newRow("selecting Frame Number runs the start check")
            << QStringList{"text StartFrame abc", "option StartFrame"}
            << QStringList{"frames=1/5000", "modes=F/T", "record modes=F/T",
                           "record frames=1/5000"};
        QTest::newRow("selecting the selected option runs nothing")
            << QStringList{"option StartFrame", "text StartFrame abc", "option StartFrame"}
            << QStringList{"frames=abc/5000", "record frames=1000/5000"};
        QTest::newRow("an end frame of 1 is raised, the start pulled below")
            << QStringList{"text EndFrame 1", "option EndFrame"}
            << QStringList{"frames=1/2", "modes=T/F", "startMax=99/99", "record frames=1/2"};
        QTest::newRow("the comment keeps 15 characters")
            << QStringList{"text Comment ABCDEFGHIJKLMNOPQRST"}
            << QStringList{"comment=ABCDEFGHIJKLMNO", "record comment=ABCDEFGHIJKLMNO"};
        QTest::newRow("switches set their bits")
            << QStringList{"check Squelch 0"} << QStringList{"record bits=8 S-"};
        QTest::newRow("model spinner writes its box")
            << QStringList{"spin Model 40"} << QStringList{"modelBoxes=40/0 of 40/1"};
    }
    void handlers()
    {
        QFETCH(QStringList, steps);
        QFETCH(QStringList, expected);
        EditorModel m;
        for (const QString& s : steps)
            run(m, s);
        const QStringList now = facts(m);
        for (const QString& fact : expected)
            QVERIFY2(now.contains(fact), qPrintable(fact + " not in: " + now.join(", ")));
    }

    // The adjustment moves End Minutes, End Seconds, Start Seconds, Start Minutes, in that
    // order after a start spinner; Start Minutes, Start Seconds, End Seconds, End Minutes
    // after an end spinner; each spinner tells its change once.
    void timeAdjustmentOrder_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QStringList>("changes");
        QTest::newRow("start pushes both end spinners")
            << QStringList{"spin StartMinutes 5"}
            << QStringList{"StartMinutes", "EndMinutes", "EndSeconds"};
        QTest::newRow("start beyond 599:58 comes back")
            << QStringList{"spin StartMinutes 599", "spin StartSeconds 59"}
            << QStringList{"StartSeconds", "EndSeconds", "StartSeconds"};
        QTest::newRow("end pulls both start spinners")
            << QStringList{"spin EndMinutes 0"} << QStringList{"EndMinutes", "EndSeconds"};
        QTest::newRow("end at 0:00 pulls the start's seconds first")
            << QStringList{"spin StartSeconds 5", "spin EndMinutes 0"}
            << QStringList{"EndMinutes", "StartSeconds", "EndSeconds"};
    }
    void timeAdjustmentOrder()
    {
        QFETCH(QStringList, steps);
        QFETCH(QStringList, changes);
        EditorModel m;
        for (int i = 0; i + 1 < steps.size(); ++i)
            run(m, steps[i]);
        QStringList seen;
        connect(&m, &EditorModel::spinnerChanged, this,
                [&seen](SpinField f) { seen << Spinners.key(f); });
        run(m, steps.last());
        QCOMPARE(seen, changes);
    }

    void initStringLimitMessage_data()
    {
        QTest::addColumn<bool>("batch");
        QTest::addColumn<int>("messages");
        // Each character cut tells once: 8 for the third string, 5 for the fourth.
        QTest::newRow("outside a batch") << false << 13;
        QTest::newRow("one batch") << true << 1;
    }
    void initStringLimitMessage()
    {
        QFETCH(bool, batch);
        QFETCH(int, messages);
        EditorModel m;
        QSignalSpy told(&m, &EditorModel::message);
        run(m, "text InitStr1 " + QString(23, 'a'));
        run(m, "text InitStr2 " + QString(23, 'b'));
        if (batch)
            m.beginInitStrBatch();
        m.setText(TextField::InitStr3, QString(20, 'c')); // 8 over: keeps 12
        m.setText(TextField::InitStr4, QString(5, 'd'));  // nothing left: keeps none
        m.endInitStrBatch();
        QCOMPARE(told.size(), messages);
        QCOMPARE(told.first().first().toString(),
                 QStringLiteral("The Init Strings are limited\r\nto 58 characters total\r\n"
                                "between all 4 strings."));
        QCOMPARE(m.text(TextField::InitStr3), QString(12, 'c'));
        QCOMPARE(m.text(TextField::InitStr4), QString());
        QCOMPARE(m.record().InitStr[2], QString(12, 'c'));
    }

    void lockAndMarks()
    {
        EditorModel m;
        QSignalSpy lock(&m, &EditorModel::lockChanged);
        QVERIFY(!m.isTextEnabled(TextField::Model) && !m.isTextEnabled(TextField::Channel));
        QVERIFY(m.isTextEnabled(TextField::Comment));
        m.setModelChannelUnlocked(true);
        QVERIFY(m.isTextEnabled(TextField::Model) && m.snapshot().ModelChannelUnlocked);
        QCOMPARE(lock.size(), 1);

        QVERIFY(m.showMark("shpHiLiteEndTitle", MarkColour::Yellow));
        QVERIFY(!m.showMark("shpHiLiteNothing", MarkColour::Red));
        m.marks()[MarkKey::EndTitle].OutOfRange = true;
        QCOMPARE(m.shownMarks().keys(), QStringList{"shpHiLiteEndTitle"});
        m.clearMarks();
        QVERIFY(m.shownMarks().isEmpty() && !m.marks().any());
    }
};

QTEST_GUILESS_MAIN(EditorModelTest)
#include "EditorModelTest.moc"
