// The editor's fields through the real window: spinners, linked pairs, times, modes,
// frame boxes, text limits, switches and Defaults.

#include "app/EditorDefaults.h"
#include "app/HighlightShape.h"
#include "app/Spinner.h"
#include "support/AppFixture.h"
#include "support/TestRunner.h"

#include <QCheckBox>
#include <QClipboard>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTest>

namespace {
Spinner* spinner(frmMain& m, const QString& name)
{
    return m.findChild<Spinner*>(name);
}

// A spinner's value, with "?" when the box beside it shows something else.
QString val(frmMain& m, const QString& field)
{
    const QString v = QString::number(spinner(m, "scr" + field)->Value());
    return v + (m.findChild<QLineEdit*>("txt" + field)->text() == v ? "" : "?");
}

QString pair(frmMain& m, const QString& field)
{
    return val(m, "Start" + field) + "-" + val(m, "End" + field);
}

QString times(frmMain& m)
{
    return val(m, "StartMinutes") + ":" + val(m, "StartSeconds") + " " + val(m, "EndMinutes") +
           ":" + val(m, "EndSeconds");
}

QString frames(frmMain& m)
{
    return m.txtStartFrame->text() + "-" + m.txtEndFrame->text();
}

// The record as the field handlers keep it; times and frames are read from the window.
QString record(const SyncParameters& p)
{
    return QStringLiteral("%1/%2 %3/%4 %5-%6 %7-%8 bits %9 [%10] [%11]")
        .arg(p.Model)
        .arg(p.Channel)
        .arg(int(p.StartMode))
        .arg(int(p.EndMode))
        .arg(p.StartTitle)
        .arg(p.EndTitle)
        .arg(p.StartChapter)
        .arg(p.EndChapter)
        .arg(p.OptionBits)
        .arg(QStringList(p.InitStr.begin(), p.InitStr.end()).join('|'), p.Comment);
}

// Sets spinners ("Title" + "10-12", or "Minutes" + "10:30 10:31") without pushes between them.
void place(AppFixture& f, const QString& field, const QString& values)
{
    const QStringList v = values.split(QRegularExpression("[-: ]"));
    const QStringList names =
        v.size() == 2 ? QStringList{"Start" + field, "End" + field}
                      : QStringList{"StartMinutes", "StartSeconds", "EndMinutes", "EndSeconds"};
    f.g().LinkedFieldsActive = false;
    for (int i = 0; i < names.size(); ++i)
        spinner(f.main(), "scr" + names[i])->setValueClamped(v[i].toInt());
    f.g().LinkedFieldsActive = true;
}

// A table whose rows are one text each, the values between '|'.
void rows(std::initializer_list<std::pair<const char*, const char*>> table)
{
    QTest::addColumn<QString>("row");
    for (const auto& [name, row] : table)
        QTest::newRow(name) << QString(row);
}

void check(frmMain& m, const QString& option)
{
    m.findChild<QRadioButton*>(option)->setChecked(true);
}
} // namespace

class EditorFieldsTest : public QObject
{
    Q_OBJECT
private slots:
    void arrowsAndTrack_data();
    void arrowsAndTrack();
    void linkedPairsPush_data();
    void linkedPairsPush();
    void endModeSetsStartBounds_data();
    void endModeSetsStartBounds();
    void timesKeepEndAfterStart_data();
    void timesKeepEndAfterStart();
    void frameBoxesNormaliseOnLosingFocus_data();
    void frameBoxesNormaliseOnLosingFocus();
    void modesShowTheirFields_data();
    void modesShowTheirFields();
    void textLimits_data();
    void textLimits();
    void switchesDriveTheirBits();
    void defaultsFromAnyState_data();
    void defaultsFromAnyState();
};

void EditorFieldsTest::arrowsAndTrack_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("start");
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("expected");
    QTest::newRow("up arrow") << "StartMinutes" << 10 << "up" << 11;
    QTest::newRow("down arrow") << "StartMinutes" << 10 << "down" << 9;
    QTest::newRow("track above") << "StartMinutes" << 10 << "above" << 15;
    QTest::newRow("track below") << "StartMinutes" << 10 << "below" << 5;
    QTest::newRow("up at the top") << "EndSeconds" << 59 << "up" << 59;
    QTest::newRow("down at the bottom") << "StartSeconds" << 0 << "down" << 0;
    QTest::newRow("track stops at a minimum of 2") << "EndChapter" << 4 << "below" << 2;
}

void EditorFieldsTest::arrowsAndTrack()
{
    QFETCH(QString, name);
    QFETCH(int, start);
    QFETCH(QString, control);
    QFETCH(int, expected);
    AppFixture f;
    f.main().optStartTimecode->setChecked(true);
    f.main().optEndTimecode->setChecked(true);
    Spinner* s = spinner(f.main(), "scr" + name);
    s->setValueClamped(start);
    // On the track: halfway between an arrow and the marker.
    const int x = s->width() / 2;
    const QPoint at = control == "up"     ? s->upArrowRect().center()
                      : control == "down" ? s->downArrowRect().center()
                      : control == "above"
                          ? QPoint(x, (s->upArrowRect().bottom() + s->markerRect().top()) / 2)
                          : QPoint(x, (s->markerRect().bottom() + s->downArrowRect().top()) / 2);
    QTest::mouseClick(s, Qt::LeftButton, {}, at);
    QCOMPARE(val(f.main(), name), QString::number(expected));
    QVERIFY(f.main().findChild<QLineEdit*>("txt" + name)->isReadOnly());
}

void EditorFieldsTest::linkedPairsPush_data()
{
    // field | end mode | start-end before | spinner moved | to | start-end after
    rows({{"title start up to end", "Title|optEndChapter|10-12|Start|12|12-13"},
          {"title end down to start", "Title|optEndChapter|12-13|End|12|11-12"},
          {"title start 99, end unused", "Title|optEndChapter|50-99|Start|99|99-99"},
          {"title start stops at 98", "Title|optEndTitle|50-99|Start|99|98-99"},
          {"chapter start up to end", "Chapter|optEndTitle|10-12|Start|12|12-13"},
          {"chapter end down to start", "Chapter|optEndTitle|12-13|End|12|11-12"},
          {"chapter start stops at 98", "Chapter|optEndChapter|1-99|Start|99|98-99"},
          // Unlinked (while a load fills the fields) nothing is pushed and the record stays.
          {"unlinked", "Title|optEndChapter|5-10|Start|30|30-10|unlinked"}});
}

void EditorFieldsTest::linkedPairsPush()
{
    QFETCH(QString, row);
    const QStringList c = row.split('|');
    const QString field = c[0], after = c[5];
    const bool linked = c.size() == 6;
    AppFixture f;
    frmMain& m = f.main();
    check(m, c[1]);
    place(f, field, c[2]);
    const QString recordBefore = record(m.params);
    f.g().LinkedFieldsActive = linked;
    spinner(m, "scr" + c[3] + field)->setValueClamped(c[4].toInt());
    QCOMPARE(pair(m, field), after);
    const SyncParameters& p = m.params;
    const QString recorded = field == "Title"
                                 ? QStringLiteral("%1-%2").arg(p.StartTitle).arg(p.EndTitle)
                                 : QStringLiteral("%1-%2").arg(p.StartChapter).arg(p.EndChapter);
    QCOMPARE(linked ? recorded : record(p), linked ? after : recordBefore);
}

void EditorFieldsTest::endModeSetsStartBounds_data()
{
    QTest::addColumn<QStringList>("modes");
    QTest::addColumn<QString>("expected"); // start maxima, title and chapter pairs
    QTest::newRow("Title") << QStringList{"optEndTitle"} << "98/99 98-99 99-99";
    QTest::newRow("Chapter") << QStringList{"optEndChapter"} << "99/98 99-99 98-99";
    QTest::newRow("Title, then Time")
        << QStringList{"optEndTitle", "optEndTimecode"} << "99/99 98-99 99-99";
}

void EditorFieldsTest::endModeSetsStartBounds()
{
    QFETCH(QStringList, modes);
    QFETCH(QString, expected);
    AppFixture f;
    frmMain& m = f.main();
    // Both pairs at the top while the end mode uses neither.
    check(m, "optEndFrame");
    place(f, "Title", "99-99");
    place(f, "Chapter", "99-99");
    for (const QString& option : modes)
        check(m, option);
    QCOMPARE(QStringLiteral("%1/%2 ").arg(m.scrStartTitle->Max()).arg(m.scrStartChapter->Max()) +
                 pair(m, "Title") + " " + pair(m, "Chapter"),
             expected);
}

void EditorFieldsTest::timesKeepEndAfterStart_data()
{
    // spinner moved | to | start and end before | after
    rows({{"start seconds reach end", "StartSeconds|31|10:30 10:31|10:31 10:32"},
          {"start seconds carry into end minute", "StartSeconds|59|3:0 3:30|3:59 4:0"},
          {"start 599:59 is not a start", "StartSeconds|59|599:0 599:30|599:58 599:59"},
          {"end 0:00 is not an end", "EndSeconds|0|0:0 0:1|0:0 0:1"},
          {"end seconds down to start", "EndSeconds|10|5:10 5:40|5:9 5:10"},
          {"end minutes below start borrow", "EndMinutes|2|5:10 8:0|1:59 2:0"},
          {"no push needed", "StartMinutes|4|3:0 9:0|4:0 9:0"}});
}

void EditorFieldsTest::timesKeepEndAfterStart()
{
    QFETCH(QString, row);
    const QStringList c = row.split('|');
    AppFixture f;
    place(f, "Minutes", c[2]);
    spinner(f.main(), "scr" + c[0])->setValueClamped(c[1].toInt());
    QCOMPARE(times(f.main()), c[3]);
    QVERIFY(!f.g().TimeAdjustBusy);
}

void EditorFieldsTest::frameBoxesNormaliseOnLosingFocus_data()
{
    // box typed into | typed | end mode | the other box before | start-end after
    rows({{"letters only", "Start|abc|Chapter|5000|1-5000"},
          {"half to even, down", "Start| 12.5 |Chapter|5000|12-5000"},
          {"half to even, up", "Start|13.5|Chapter|5000|14-5000"},
          {"leading number only", "Start|77abc9|Chapter|5000|77-5000"},
          {"blanks inside", "Start|1 2 3|Chapter|5000|123-5000"},
          {"beyond 32 bits", "Start|99999999999999|Chapter|5000|1079999-1079999"},
          {"below 32 bits", "Start|-99999999999999|Chapter|5000|1-5000"},
          {"too large, end Frame", "Start|2000000|Frame|5000|1079998-1079999"},
          {"1079999, end not Frame", "Start|1079999|Timecode|1079999|1079999-1079999"},
          {"start at end pushes end", "Start|5000|Chapter|5000|5000-5001"},
          {"end of 1", "End|1|Frame|1|1-2"},
          {"end below start pulls start", "End|400|Frame|500|399-400"},
          {"end too large", "End|1080000|Frame|1|1-1079999"},
          {"end exponent", "End|1e3|Frame|1|1-1000"}});
}

void EditorFieldsTest::frameBoxesNormaliseOnLosingFocus()
{
    QFETCH(QString, row);
    const QStringList c = row.split('|');
    const QString box = c[0], typed = c[1];
    AppFixture f;
    frmMain& m = f.main();
    // The box typed into is shown: its side is in Frame mode.
    check(m, "optEnd" + c[2]);
    if (box == "Start")
        m.optStartFrame->setChecked(true);
    auto* edited = m.findChild<QLineEdit*>("txt" + box + "Frame");
    (box == "Start" ? m.txtEndFrame : m.txtStartFrame)->setText(c[3]);
    edited->clear();
    edited->setFocus();
    QTest::keyClicks(edited, typed);
    QCOMPARE(edited->text(), typed); // no check while typing
    m.txtComment->setFocus();
    QCOMPARE(frames(m), c[4]);
    QCOMPARE(QStringLiteral("%1-%2").arg(m.params.StartFrame).arg(m.params.EndFrame), c[4]);
}

void EditorFieldsTest::modesShowTheirFields_data()
{
    // option | fields shown | mode recorded
    rows({{"start Title", "optStartTitle|Title|0"},
          {"start Chapter", "optStartChapter|Title Chapter|1"},
          {"start Time", "optStartTimecode|Title Minutes Seconds|2"},
          {"start Frame", "optStartFrame|Title Frame|3"},
          {"end Title", "optEndTitle|Title|0"},
          {"end Chapter", "optEndChapter|Chapter|1"},
          {"end Time", "optEndTimecode|Minutes Seconds|2"},
          {"end Frame", "optEndFrame|Frame|3"}});
}

void EditorFieldsTest::modesShowTheirFields()
{
    QFETCH(QString, row);
    const QStringList c = row.split('|');
    const QString option = c[0];
    AppFixture f;
    frmMain& m = f.main();
    const QString side = option.startsWith("optStart") ? "Start" : "End";
    // Leave another mode first so that the option really changes.
    check(m, "opt" + side + (option.endsWith("Frame") ? "Chapter" : "Frame"));
    check(m, option);
    // A field is listed when its label, box and spinner are shown; "!" when only some are.
    QStringList seen;
    for (const QString field : {"Title", "Chapter", "Minutes", "Seconds", "Frame"}) {
        int visible = 0, all = 0;
        for (const QString kind : {"lbl", "txt", "scr"})
            if (QWidget* w = m.findChild<QWidget*>(kind + side + field)) {
                ++all;
                visible += w->isVisible() ? 1 : 0;
            }
        if (visible > 0)
            seen << field + (visible == all ? "" : "!");
    }
    QCOMPARE(seen.join(' '), c[1]);
    QCOMPARE(int(side == "Start" ? m.params.StartMode : m.params.EndMode), c[2].toInt());
}

void EditorFieldsTest::textLimits_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<bool>("paste");
    QTest::addColumn<QString>("initStrings"); // the four, '|' between
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("kept");
    QTest::addColumn<int>("messages");
    const QString none = "|||";
    const QString full = QString(23, 'a') + "|" + QString(23, 'b') + "|" + QString(12, 'c') + "|";
    QTest::newRow("comment past 15")
        << "txtComment" << false << none << QString(16, 'm') << QString(15, 'm') << 0;
    QTest::newRow("one string past 23")
        << "txtInitStr2" << false << none << QString(24, 'q') << QString(23, 'q') << 0;
    QTest::newRow("typed past 58 in all")
        << "txtInitStr4" << false << full << "x" << QString() << 1;
    QTest::newRow("three pasted past 58")
        << "txtInitStr3" << true << full << "xyz" << QString(12, 'c') << 3;
}

void EditorFieldsTest::textLimits()
{
    QFETCH(QString, box);
    QFETCH(bool, paste);
    QFETCH(QString, initStrings);
    QFETCH(QString, text);
    QFETCH(QString, kept);
    QFETCH(int, messages);
    AppFixture f;
    frmMain& m = f.main();
    const QStringList inits = initStrings.split('|');
    for (int i = 0; i < 4; ++i)
        m.txtInitStr[i]->setText(inits[i]);
    QVERIFY(f.modal.requests.empty()); // 58 together is allowed
    auto* edit = m.findChild<QLineEdit*>(box);
    edit->setFocus();
    edit->end(false);
    if (paste) {
        QApplication::clipboard()->setText(text);
        edit->paste();
    } else {
        QTest::keyClicks(edit, text);
    }
    QCOMPARE(edit->text(), kept);
    QCOMPARE(box == "txtComment" ? m.params.Comment : m.params.InitStr[box.right(1).toInt() - 1],
             kept);
    // Every character over the total is refused with its own message.
    QCOMPARE(
        f.modal.messages(),
        QStringList(messages, QStringLiteral("The Init Strings are limited\r\nto 58 characters "
                                             "total\r\nbetween all 4 strings.")));
}

void EditorFieldsTest::switchesDriveTheirBits()
{
    AppFixture f;
    frmMain& m = f.main();
    modCorvaneComm::SetDefaults(m);
    QStringList bits;
    for (QCheckBox* box : {m.chkSquelch, m.chkSynchronize, m.chkSquelch}) {
        QTest::mouseClick(box, Qt::LeftButton);
        bits << QString::number(m.params.OptionBits);
    }
    QCOMPARE(bits, (QStringList{"8", "0", "4"}));
    QVERIFY(m.params.Squelch && !m.params.Synchronize);
}

void EditorFieldsTest::defaultsFromAnyState_data()
{
    // start mode | end mode | titles | chapters | times | frames
    rows({{"high starts, end by time",
           "optStartFrame|optEndTimecode|50-60|80-90|400:0 500:0|70000-80000"},
          {"all at the top, end by title",
           "optStartTimecode|optEndTitle|98-99|98-99|599:58 599:59|1079998-1079999"}});
}

void EditorFieldsTest::defaultsFromAnyState()
{
    QFETCH(QString, row);
    const QStringList c = row.split('|');
    AppFixture f;
    frmMain& m = f.main();
    check(m, c[0]);
    check(m, c[1]);
    place(f, "Title", c[2]);
    place(f, "Chapter", c[3]);
    place(f, "Minutes", c[4]);
    m.txtEndFrame->setText(c[5].section('-', 1));
    m.txtStartFrame->setText(c[5].section('-', 0, 0));
    const int lengths[4] = {10, 23, 23, 2}; // 58 together
    for (int i = 0; i < 4; ++i)
        m.txtInitStr[i]->setText(QString(lengths[i], QChar('a' + i)));
    m.txtComment->setText("old");
    m.chkSquelch->setChecked(false);
    m.shpHiLiteStartTitle->show();
    f.g().marks[MarkKey::StartTitle].OutOfRange = true;
    f.modal.clear();

    // No spinner change during the reset may leave an end at or before its start.
    QStringList broken;
    auto watch = [&] {
        if (m.scrEndTitle->Value() <= m.scrStartTitle->Value() ||
            m.scrEndChapter->Value() <= m.scrStartChapter->Value() ||
            m.scrEndMinutes->Value() * 60 + m.scrEndSeconds->Value() <=
                m.scrStartMinutes->Value() * 60 + m.scrStartSeconds->Value())
            broken << pair(m, "Title") + " " + pair(m, "Chapter") + " " + times(m);
    };
    for (Spinner* s : m.findChildren<Spinner*>())
        connect(s, &QAbstractSlider::valueChanged, &m, watch);
    QTest::mouseClick(m.cmdDefaults, Qt::LeftButton);
    for (Spinner* s : m.findChildren<Spinner*>())
        disconnect(s, &QAbstractSlider::valueChanged, &m, nullptr);

    QCOMPARE(broken, QStringList());
    QVERIFY(f.modal.requests.empty());
    QCOMPARE(
        QStringList({m.txtModel->text(), m.txtChannel->text(), pair(m, "Title"), pair(m, "Chapter"),
                     times(m), frames(m), m.txtInitStr1->text(), m.txtInitStr2->text(),
                     m.txtInitStr3->text(), m.txtInitStr4->text(), m.txtComment->text()})
            .join(' '),
        QStringLiteral("22 1 1-2 1-2 0:0 1:0 1-1000 0KL0DS    "));
    QVERIFY(m.optStartChapter->isChecked() && m.optEndChapter->isChecked());
    QVERIFY(m.chkSynchronize->isChecked() && m.chkSquelch->isChecked());
    QCOMPARE(record(m.params), record(SyncParameters()));
    for (HighlightShape* s : m.highlightShapes())
        QVERIFY(!s->isVisible());
    QVERIFY(!f.g().marks.any());
}

CORVANE_TEST_CLASS(EditorFieldsTest)
#include "EditorFieldsTest.moc"