// The editor's fields through the real window: spinners, linked pairs, times, modes,
// frame boxes, text limits and switches.

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
#include <QTest>

namespace {
Spinner* spinner(frmMain& m, const QString& name)
{
    return m.findChild<Spinner*>(name);
}

// Where to click: the arrows, or the track above or below the marker.
QPoint clickPoint(Spinner* s, const QString& where)
{
    if (where == "up")
        return s->upArrowRect().center();
    if (where == "down")
        return s->downArrowRect().center();
    if (where == "track above")
        return {s->width() / 2, (s->upArrowRect().bottom() + s->markerRect().top()) / 2};
    return {s->width() / 2, (s->markerRect().bottom() + s->downArrowRect().top()) / 2};
}

void typeInto(QLineEdit* box, const QString& text)
{
    box->setFocus();
    QTest::keyClicks(box, text);
}
} // namespace

class EditorFieldsTest : public QObject
{
    Q_OBJECT
private slots:
    void arrowsAndTrackMoveWithinRange_data();
    void arrowsAndTrackMoveWithinRange();
    void linkedPairsPush_data();
    void linkedPairsPush();
    void unlinkedPairsStayAsSet();
    void endModeSetsStartBounds_data();
    void endModeSetsStartBounds();
    void timesKeepEndAfterStart_data();
    void timesKeepEndAfterStart();
    void frameBoxesNormaliseOnLosingFocus_data();
    void frameBoxesNormaliseOnLosingFocus();
    void modesShowTheirFields_data();
    void modesShowTheirFields();
    void commentStopsAtFifteen();
    void initStringsTotalLimit();
    void initStringTooLongAlone();
    void switchesDriveTheirBits();
    void defaultsFromAnyState();
};

void EditorFieldsTest::arrowsAndTrackMoveWithinRange_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("start");
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("expected");
    const QString up = "up", down = "down", trackAbove = "track above", trackBelow = "track below";
    QTest::newRow("up arrow") << "scrStartMinutes" << 10 << up << 11;
    QTest::newRow("down arrow") << "scrStartMinutes" << 10 << down << 9;
    QTest::newRow("track above thumb") << "scrStartMinutes" << 10 << trackAbove << 15;
    QTest::newRow("track below thumb") << "scrStartMinutes" << 10 << trackBelow << 5;
    QTest::newRow("up at the top bound") << "scrEndSeconds" << 59 << up << 59;
    QTest::newRow("down at the bottom bound") << "scrStartSeconds" << 0 << down << 0;
    QTest::newRow("track down clamps at the bottom") << "scrStartSeconds" << 3 << trackBelow << 0;
    QTest::newRow("track down near the bottom") << "scrEndChapter" << 4 << trackBelow << 2;
}

void EditorFieldsTest::arrowsAndTrackMoveWithinRange()
{
    QFETCH(QString, name);
    QFETCH(int, start);
    QFETCH(QString, control);
    QFETCH(int, expected);
    AppFixture f;
    f.main().optStartTimecode->setChecked(true);
    f.main().optEndTimecode->setChecked(true);
    Spinner* s = spinner(f.main(), name);
    s->setValueClamped(start);
    QCOMPARE(s->Value(), start);
    const QPoint at = clickPoint(s, control);
    QTest::mouseClick(s, Qt::LeftButton, {}, at);
    QCOMPARE(s->Value(), expected);
    // The box beside it shows the value as plain digits, centred, and cannot be typed into.
    auto* box = f.main().findChild<QLineEdit*>(QString(name).replace(0, 3, "txt"));
    QCOMPARE(box->text(), QString::number(s->Value()));
    QVERIFY(box->isReadOnly());
    QCOMPARE(box->alignment() & Qt::AlignHCenter, Qt::AlignHCenter);
}

void EditorFieldsTest::linkedPairsPush_data()
{
    QTest::addColumn<QString>("pair"); // Title or Chapter
    QTest::addColumn<QString>("endMode");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("end");
    QTest::addColumn<QString>("moved"); // start or end
    QTest::addColumn<int>("to");
    QTest::addColumn<int>("expectStart");
    QTest::addColumn<int>("expectEnd");
    QTest::newRow("title start up to end") << "Title"
                                           << "Chapter" << 10 << 12 << "start" << 12 << 12 << 13;
    QTest::newRow("title end down to start") << "Title"
                                             << "Chapter" << 12 << 13 << "end" << 12 << 11 << 12;
    QTest::newRow("title start past end") << "Title"
                                          << "Chapter" << 10 << 12 << "start" << 40 << 40 << 41;
    QTest::newRow("title end to its minimum") << "Title"
                                              << "Chapter" << 5 << 9 << "end" << 2 << 1 << 2;
    QTest::newRow("title start 99, end unused")
        << "Title"
        << "Chapter" << 50 << 99 << "start" << 99 << 99 << 99;
    QTest::newRow("title start stops at 98") << "Title"
                                             << "Title" << 50 << 99 << "start" << 99 << 98 << 99;
    QTest::newRow("chapter start up to end") << "Chapter"
                                             << "Title" << 10 << 12 << "start" << 12 << 12 << 13;
    QTest::newRow("chapter end down to start") << "Chapter"
                                               << "Title" << 12 << 13 << "end" << 12 << 11 << 12;
    QTest::newRow("chapter start stops at 98") << "Chapter"
                                               << "Chapter" << 1 << 99 << "start" << 99 << 98 << 99;
    QTest::newRow("chapter start 99, end unused")
        << "Chapter"
        << "Frame" << 1 << 99 << "start" << 99 << 99 << 99;
}

void EditorFieldsTest::linkedPairsPush()
{
    QFETCH(QString, pair);
    QFETCH(QString, endMode);
    QFETCH(int, start);
    QFETCH(int, end);
    QFETCH(QString, moved);
    QFETCH(int, to);
    QFETCH(int, expectStart);
    QFETCH(int, expectEnd);
    AppFixture f;
    frmMain& m = f.main();
    m.findChild<QRadioButton*>("optEnd" + (endMode == "Time" ? "Timecode" : endMode))
        ->setChecked(true);
    Spinner* s = spinner(m, "scrStart" + pair);
    Spinner* e = spinner(m, "scrEnd" + pair);
    e->setValueClamped(end);
    s->setValueClamped(start);
    (moved == "start" ? s : e)->setValueClamped(to);
    QCOMPARE(s->Value(), expectStart);
    QCOMPARE(e->Value(), expectEnd);
    QCOMPARE(m.findChild<QLineEdit*>("txtStart" + pair)->text(), QString::number(expectStart));
    QCOMPARE(m.findChild<QLineEdit*>("txtEnd" + pair)->text(), QString::number(expectEnd));
    const int recStart = pair == "Title" ? m.params.StartTitle : m.params.StartChapter;
    const int recEnd = pair == "Title" ? m.params.EndTitle : m.params.EndChapter;
    QCOMPARE(recStart, expectStart);
    QCOMPARE(recEnd, expectEnd);
}

void EditorFieldsTest::unlinkedPairsStayAsSet()
{
    AppFixture f;
    frmMain& m = f.main();
    m.optEndChapter->setChecked(true);
    m.scrEndTitle->setValueClamped(10);
    m.scrStartTitle->setValueClamped(5);
    const int recordedStart = m.params.StartTitle;
    f.g().LinkedFieldsActive = false;
    m.scrStartTitle->setValueClamped(30);
    QCOMPARE(m.scrEndTitle->Value(), 10);
    QCOMPARE(m.txtStartTitle->text(), QStringLiteral("30"));
    QCOMPARE(m.params.StartTitle, recordedStart); // the record is not refreshed
}

void EditorFieldsTest::endModeSetsStartBounds_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<int>("titleMax");
    QTest::addColumn<int>("chapterMax");
    QTest::newRow("Title") << "optEndTitle" << 98 << 99;
    QTest::newRow("Chapter") << "optEndChapter" << 99 << 98;
    QTest::newRow("Time") << "optEndTimecode" << 99 << 99;
    QTest::newRow("Frame") << "optEndFrame" << 99 << 99;
}

void EditorFieldsTest::endModeSetsStartBounds()
{
    QFETCH(QString, option);
    QFETCH(int, titleMax);
    QFETCH(int, chapterMax);
    AppFixture f;
    frmMain& m = f.main();
    // Start at the top of both pairs while the end mode uses neither.
    m.optEndFrame->setChecked(true);
    m.scrEndTitle->setValueClamped(99);
    m.scrEndChapter->setValueClamped(99);
    m.scrStartTitle->setValueClamped(99);
    m.scrStartChapter->setValueClamped(99);
    QCOMPARE(m.scrEndTitle->Value(), 99);
    m.findChild<QRadioButton*>(option)->setChecked(true);
    QCOMPARE(m.scrStartTitle->Max(), titleMax);
    QCOMPARE(m.scrStartChapter->Max(), chapterMax);
    // A dropped bound moves the value, its box follows and the end stays above it.
    QCOMPARE(m.scrStartTitle->Value(), titleMax);
    QCOMPARE(m.txtStartTitle->text(), QString::number(titleMax));
    QCOMPARE(m.scrStartChapter->Value(), chapterMax);
    QCOMPARE(m.scrEndTitle->Value(), 99);
    QCOMPARE(m.scrEndChapter->Value(), 99);
}

void EditorFieldsTest::timesKeepEndAfterStart_data()
{
    QTest::addColumn<QString>("spinner");
    QTest::addColumn<int>("to");
    QTest::addColumn<QString>("startBefore");
    QTest::addColumn<QString>("endBefore");
    QTest::addColumn<QString>("startAfter");
    QTest::addColumn<QString>("endAfter");
    QTest::newRow("start seconds reach end") << "scrStartSeconds" << 31 << "10:30"
                                             << "10:31"
                                             << "10:31"
                                             << "10:32";
    QTest::newRow("start minutes pass end") << "scrStartMinutes" << 11 << "10:31"
                                            << "10:32"
                                            << "11:31"
                                            << "11:32";
    QTest::newRow("start 599:59 is not a start") << "scrStartSeconds" << 59 << "599:0"
                                                 << "599:30"
                                                 << "599:58"
                                                 << "599:59";
    QTest::newRow("end 0:00 is not an end") << "scrEndSeconds" << 0 << "0:0"
                                            << "0:1"
                                            << "0:0"
                                            << "0:1";
    QTest::newRow("end seconds down to start") << "scrEndSeconds" << 10 << "5:10"
                                               << "5:40"
                                               << "5:9"
                                               << "5:10";
    QTest::newRow("end minutes below start") << "scrEndMinutes" << 2 << "5:10"
                                             << "8:0"
                                             << "1:59"
                                             << "2:0";
    QTest::newRow("start seconds wrap end minute") << "scrStartSeconds" << 59 << "3:0"
                                                   << "3:30"
                                                   << "3:59"
                                                   << "4:0";
    QTest::newRow("no push needed") << "scrStartMinutes" << 4 << "3:0"
                                    << "9:0"
                                    << "4:0"
                                    << "9:0";
}

void EditorFieldsTest::timesKeepEndAfterStart()
{
    QFETCH(QString, spinner);
    QFETCH(int, to);
    QFETCH(QString, startBefore);
    QFETCH(QString, endBefore);
    QFETCH(QString, startAfter);
    QFETCH(QString, endAfter);
    AppFixture f;
    frmMain& m = f.main();
    auto set = [&](const QString& mmss, Spinner* mins, Spinner* secs) {
        const QStringList p = mmss.split(':');
        mins->setValueClamped(p[0].toInt());
        secs->setValueClamped(p[1].toInt());
    };
    // Place both times without pushes first.
    f.g().LinkedFieldsActive = false;
    set(startBefore, m.scrStartMinutes, m.scrStartSeconds);
    set(endBefore, m.scrEndMinutes, m.scrEndSeconds);
    f.g().LinkedFieldsActive = true;
    ::spinner(m, spinner)->setValueClamped(to);
    auto show = [](Spinner* mins, Spinner* secs) {
        return QStringLiteral("%1:%2").arg(mins->Value()).arg(secs->Value());
    };
    QCOMPARE(show(m.scrStartMinutes, m.scrStartSeconds), startAfter);
    QCOMPARE(show(m.scrEndMinutes, m.scrEndSeconds), endAfter);
    // Every box shows its own spinner.
    QCOMPARE(m.txtStartMinutes->text(), QString::number(m.scrStartMinutes->Value()));
    QCOMPARE(m.txtStartSeconds->text(), QString::number(m.scrStartSeconds->Value()));
    QCOMPARE(m.txtEndMinutes->text(), QString::number(m.scrEndMinutes->Value()));
    QCOMPARE(m.txtEndSeconds->text(), QString::number(m.scrEndSeconds->Value()));
    QVERIFY(!f.g().TimeAdjustBusy);
}

void EditorFieldsTest::frameBoxesNormaliseOnLosingFocus_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("endMode");
    QTest::addColumn<QString>("otherBefore");
    QTest::addColumn<QString>("startAfter");
    QTest::addColumn<QString>("endAfter");
    QTest::newRow("letters only") << "start"
                                  << "abc"
                                  << "Chapter"
                                  << "5000"
                                  << "1"
                                  << "5000";
    QTest::newRow("half to even, down") << "start"
                                        << " 12.5 "
                                        << "Chapter"
                                        << "5000"
                                        << "12"
                                        << "5000";
    QTest::newRow("half to even, up") << "start"
                                      << "13.5"
                                      << "Chapter"
                                      << "5000"
                                      << "14"
                                      << "5000";
    QTest::newRow("leading number only") << "start"
                                         << "77abc9"
                                         << "Chapter"
                                         << "5000"
                                         << "77"
                                         << "5000";
    QTest::newRow("blanks inside ignored") << "start"
                                           << "1 2 3"
                                           << "Chapter"
                                           << "5000"
                                           << "123"
                                           << "5000";
    QTest::newRow("too large, end not Frame") << "start"
                                              << "2000000"
                                              << "Chapter"
                                              << "5000"
                                              << "1079999"
                                              << "1079999";
    QTest::newRow("too large, end Frame") << "start"
                                          << "2000000"
                                          << "Frame"
                                          << "5000"
                                          << "1079998"
                                          << "1079999";
    QTest::newRow("1079999, end not Frame") << "start"
                                            << "1079999"
                                            << "Time"
                                            << "1079999"
                                            << "1079999"
                                            << "1079999";
    QTest::newRow("beyond 32 bits") << "start"
                                    << "99999999999999"
                                    << "Chapter"
                                    << "5000"
                                    << "1079999"
                                    << "1079999";
    QTest::newRow("below 32 bits") << "start"
                                   << "-99999999999999"
                                   << "Chapter"
                                   << "5000"
                                   << "1"
                                   << "5000";
    QTest::newRow("negative") << "start"
                              << "-5"
                              << "Chapter"
                              << "5000"
                              << "1"
                              << "5000";
    QTest::newRow("start at end pushes end") << "start"
                                             << "5000"
                                             << "Chapter"
                                             << "5000"
                                             << "5000"
                                             << "5001";
    QTest::newRow("end of 1") << "end"
                              << "1"
                              << "Frame"
                              << "1"
                              << "1"
                              << "2";
    QTest::newRow("end below start pulls start") << "end"
                                                 << "400"
                                                 << "Frame"
                                                 << "500"
                                                 << "399"
                                                 << "400";
    QTest::newRow("end too large") << "end"
                                   << "1080000"
                                   << "Frame"
                                   << "1"
                                   << "1"
                                   << "1079999";
    QTest::newRow("end exponent") << "end"
                                  << "1e3"
                                  << "Frame"
                                  << "1"
                                  << "1"
                                  << "1000";
}

void EditorFieldsTest::frameBoxesNormaliseOnLosingFocus()
{
    QFETCH(QString, box);
    QFETCH(QString, typed);
    QFETCH(QString, endMode);
    QFETCH(QString, otherBefore);
    QFETCH(QString, startAfter);
    QFETCH(QString, endAfter);
    AppFixture f;
    frmMain& m = f.main();
    // The box being typed into is shown: its side is in Frame mode.
    m.findChild<QRadioButton*>("optEnd" + endMode.replace("Time", "Timecode"))->setChecked(true);
    if (box == "start")
        m.optStartFrame->setChecked(true);
    QLineEdit* edited = box == "start" ? m.txtStartFrame : m.txtEndFrame;
    QLineEdit* other = box == "start" ? m.txtEndFrame : m.txtStartFrame;
    other->setText(otherBefore);
    edited->clear();
    typeInto(edited, typed);
    QCOMPARE(edited->text(), typed); // no check while typing
    m.txtComment->setFocus();        // the focus leaves the box
    QCOMPARE(m.txtStartFrame->text(), startAfter);
    QCOMPARE(m.txtEndFrame->text(), endAfter);
    QCOMPARE(m.params.StartFrame, startAfter.toInt());
    QCOMPARE(m.params.EndFrame, endAfter.toInt());
}

void EditorFieldsTest::modesShowTheirFields_data()
{
    QTest::addColumn<QString>("side");
    QTest::addColumn<QString>("option");
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<QStringList>("hidden");
    QTest::addColumn<int>("mode");
    const QStringList startAll{"Chapter", "Minutes", "Seconds", "Frame"};
    QTest::newRow("start Title") << "Start"
                                 << "optStartTitle" << QStringList{"Title"} << startAll << 0;
    QTest::newRow("start Chapter") << "Start"
                                   << "optStartChapter" << QStringList{"Title", "Chapter"}
                                   << QStringList{"Minutes", "Seconds", "Frame"} << 1;
    QTest::newRow("start Time") << "Start"
                                << "optStartTimecode" << QStringList{"Title", "Minutes", "Seconds"}
                                << QStringList{"Chapter", "Frame"} << 2;
    QTest::newRow("start Frame") << "Start"
                                 << "optStartFrame" << QStringList{"Title", "Frame"}
                                 << QStringList{"Chapter", "Minutes", "Seconds"} << 3;
    QTest::newRow("end Title") << "End"
                               << "optEndTitle" << QStringList{"Title"} << startAll << 0;
    QTest::newRow("end Chapter") << "End"
                                 << "optEndChapter" << QStringList{"Chapter"}
                                 << QStringList{"Title", "Minutes", "Seconds", "Frame"} << 1;
    QTest::newRow("end Time") << "End"
                              << "optEndTimecode" << QStringList{"Minutes", "Seconds"}
                              << QStringList{"Title", "Chapter", "Frame"} << 2;
    QTest::newRow("end Frame") << "End"
                               << "optEndFrame" << QStringList{"Frame"}
                               << QStringList{"Title", "Chapter", "Minutes", "Seconds"} << 3;
}

void EditorFieldsTest::modesShowTheirFields()
{
    QFETCH(QString, side);
    QFETCH(QString, option);
    QFETCH(QStringList, shown);
    QFETCH(QStringList, hidden);
    QFETCH(int, mode);
    AppFixture f;
    frmMain& m = f.main();
    // Leave the design-time Title mode first so that the option really changes.
    m.findChild<QRadioButton*>("opt" + side + "Frame")->setChecked(true);
    m.findChild<QRadioButton*>(option)->setChecked(true);
    auto visible = [&](const QString& field, const QString& kind) {
        QWidget* w = m.findChild<QWidget*>(kind + side + field);
        return w ? w->isVisible() : false;
    };
    for (const QString& field : shown) {
        QVERIFY2(visible(field, "lbl") && visible(field, "txt"), qPrintable(field));
        if (field != "Frame")
            QVERIFY2(visible(field, "scr"), qPrintable(field));
    }
    for (const QString& field : hidden)
        QVERIFY2(!visible(field, "lbl") && !visible(field, "txt") && !visible(field, "scr"),
                 qPrintable(field));
    const PointMode recorded = side == "Start" ? m.params.StartMode : m.params.EndMode;
    QCOMPARE(static_cast<int>(recorded), mode);
}

void EditorFieldsTest::commentStopsAtFifteen()
{
    AppFixture f;
    frmMain& m = f.main();
    typeInto(m.txtComment, QStringLiteral("ABCDEFGHIJKLMNOP"));
    QCOMPARE(m.txtComment->text(), QStringLiteral("ABCDEFGHIJKLMNO"));
    QCOMPARE(m.params.Comment, QStringLiteral("ABCDEFGHIJKLMNO"));
    m.txtComment->setText(QStringLiteral("a comment  with blanks"));
    QCOMPARE(m.params.Comment, QStringLiteral("a comment  with"));
    QVERIFY(f.modal.requests.empty());
}

void EditorFieldsTest::initStringsTotalLimit()
{
    AppFixture f;
    frmMain& m = f.main();
    m.txtInitStr1->setText(QString(23, 'a'));
    m.txtInitStr2->setText(QString(23, 'b'));
    m.txtInitStr3->setText(QString(12, 'c'));
    QVERIFY(f.modal.requests.empty()); // 58 together is allowed

    typeInto(m.txtInitStr4, QStringLiteral("x"));
    QCOMPARE(f.modal.messages().size(), 1);
    QCOMPARE(f.modal.messages().first(),
             QStringLiteral("The Init Strings are limited\r\nto 58 characters total\r\n"
                            "between all 4 strings."));
    QCOMPARE(f.modal.requests.front().exclamation, false);
    QCOMPARE(f.modal.requests.front().caption, QStringLiteral("Corvane"));
    QCOMPARE(m.txtInitStr4->text(), QString());

    // Pasting three characters shows the message three times and drops all three.
    f.modal.clear();
    m.txtInitStr3->setFocus();
    m.txtInitStr3->end(false);
    QApplication::clipboard()->setText(QStringLiteral("xyz"));
    m.txtInitStr3->paste();
    QCOMPARE(f.modal.messages().size(), 3);
    QCOMPARE(m.txtInitStr3->text(), QString(12, 'c'));
    QCOMPARE(m.params.InitStr[2], QString(12, 'c'));
}

void EditorFieldsTest::initStringTooLongAlone()
{
    AppFixture f;
    frmMain& m = f.main();
    m.txtInitStr1->clear();
    typeInto(m.txtInitStr2, QString(24, 'q'));
    QCOMPARE(m.txtInitStr2->text(), QString(23, 'q'));
    QCOMPARE(m.params.InitStr[1], QString(23, 'q'));
    QVERIFY(f.modal.requests.empty());
}

void EditorFieldsTest::switchesDriveTheirBits()
{
    AppFixture f;
    frmMain& m = f.main();
    modCorvaneComm::SetDefaults(m);
    QCOMPARE(m.params.OptionBits, uint16_t(12));
    QTest::mouseClick(m.chkSquelch, Qt::LeftButton);
    QCOMPARE(m.params.OptionBits, uint16_t(8));
    QVERIFY(!m.params.Squelch && m.params.Synchronize);
    QTest::mouseClick(m.chkSynchronize, Qt::LeftButton);
    QCOMPARE(m.params.OptionBits, uint16_t(0));
    QTest::mouseClick(m.chkSquelch, Qt::LeftButton);
    QCOMPARE(m.params.OptionBits, uint16_t(4));
    QVERIFY(m.params.Squelch && !m.params.Synchronize);
}

void EditorFieldsTest::defaultsFromAnyState()
{
    AppFixture f;
    frmMain& m = f.main();
    // An odd state: high starts, time late, long init strings, marks shown.
    m.optStartFrame->setChecked(true);
    m.optEndTimecode->setChecked(true);
    m.scrEndTitle->setValueClamped(60);
    m.scrStartTitle->setValueClamped(50);
    m.scrEndChapter->setValueClamped(90);
    m.scrStartChapter->setValueClamped(80);
    m.scrEndMinutes->setValueClamped(500);
    m.scrStartMinutes->setValueClamped(400);
    m.txtStartFrame->setText("70000");
    m.txtEndFrame->setText("80000");
    m.txtInitStr1->setText(QString(10, 'a'));
    m.txtInitStr2->setText(QString(23, 'b'));
    m.txtInitStr3->setText(QString(23, 'c'));
    m.txtInitStr4->setText(QString(2, 'd'));
    m.txtComment->setText("old");
    m.chkSquelch->setChecked(false);
    m.shpHiLiteStartTitle->show();
    f.g().marks[MarkKey::StartTitle].OutOfRange = true;
    f.modal.clear();

    // Every change of a spinner during the reset must leave relations 1 and 2 intact.
    QStringList broken;
    auto check = [&] {
        if (m.scrEndTitle->Value() <= m.scrStartTitle->Value())
            broken << QStringLiteral("title %1/%2")
                          .arg(m.scrStartTitle->Value())
                          .arg(m.scrEndTitle->Value());
        if (m.scrEndChapter->Value() <= m.scrStartChapter->Value())
            broken << "chapter";
        if (m.scrEndMinutes->Value() * 60 + m.scrEndSeconds->Value() <=
            m.scrStartMinutes->Value() * 60 + m.scrStartSeconds->Value())
            broken << "time";
    };
    QList<QMetaObject::Connection> watch;
    for (Spinner* s : m.findChildren<Spinner*>())
        watch << connect(s, &QAbstractSlider::valueChanged, s, check);

    QTest::mouseClick(m.cmdDefaults, Qt::LeftButton);
    for (auto& c : watch)
        disconnect(c);

    QVERIFY2(broken.isEmpty(), qPrintable(broken.join(", ")));
    QVERIFY(f.modal.requests.empty());
    QCOMPARE(m.txtModel->text(), QStringLiteral("22"));
    QCOMPARE(m.txtChannel->text(), QStringLiteral("1"));
    QVERIFY(m.optStartChapter->isChecked() && m.optEndChapter->isChecked());
    QCOMPARE(m.txtStartTitle->text(), QStringLiteral("1"));
    QCOMPARE(m.txtEndTitle->text(), QStringLiteral("2"));
    QCOMPARE(m.txtStartChapter->text(), QStringLiteral("1"));
    QCOMPARE(m.txtEndChapter->text(), QStringLiteral("2"));
    QCOMPARE(m.scrStartMinutes->Value() * 60 + m.scrStartSeconds->Value(), 0);
    QCOMPARE(m.scrEndMinutes->Value() * 60 + m.scrEndSeconds->Value(), 60);
    QCOMPARE(m.txtStartFrame->text(), QStringLiteral("1"));
    QCOMPARE(m.txtEndFrame->text(), QStringLiteral("1000"));
    QVERIFY(m.chkSynchronize->isChecked() && m.chkSquelch->isChecked());
    QCOMPARE(m.params.OptionBits, uint16_t(12));
    QCOMPARE(m.txtInitStr1->text(), QStringLiteral("0KL0DS"));
    for (int i = 1; i < 4; ++i)
        QCOMPARE(m.txtInitStr[i]->text(), QString());
    QCOMPARE(m.params.InitStr[0], QStringLiteral("0KL0DS"));
    QCOMPARE(m.txtComment->text(), QString());
    for (HighlightShape* s : m.highlightShapes())
        QVERIFY(!s->isVisible());
    QVERIFY(!f.g().marks.any());
    QCOMPARE(m.params.Model, int16_t(22));
    QCOMPARE(m.params.Channel, int16_t(1));
}

CORVANE_TEST_CLASS(EditorFieldsTest)
#include "EditorFieldsTest.moc"
