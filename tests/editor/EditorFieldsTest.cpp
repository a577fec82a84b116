// The editor's fields through the real window: spinners, linked pairs, times, modes,
// frame boxes, text limits, switches and Defaults.

#include "app/HighlightShape.h"
#include "app/Spinner.h"
#include "flows/EditorDefaults.h"
#include "support/AppFixture.h"
#include "support/TestRunner.h"

#include <QtTest>
#include <QtWidgets>

class EditorFieldsTest : public QObject
{
    Q_OBJECT
    static Spinner* spinner(frmMain& m, const QString& name) { return m.findChild<Spinner*>(name); }

    // A spinner's value, with "?" when the box beside it shows something else.
    static QString val(frmMain& m, const QString& field)
    {
        const QString v = QString::number(spinner(m, "scr" + field)->Value());
        return v + (m.findChild<QLineEdit*>("txt" + field)->text() == v ? "" : "?");
    }
    static QString pair(frmMain& m, const QString& f)
    {
        return val(m, "Start" + f) + "-" + val(m, "End" + f);
    }
    static QString times(frmMain& m)
    {
        return val(m, "StartMinutes") + ":" + val(m, "StartSeconds") + " " + val(m, "EndMinutes") +
               ":" + val(m, "EndSeconds");
    }

    // The record as the field handlers keep it; times and frames are read from the window.
    static QString record(const SyncParameters& p)
    {
        QStringList v;
        for (int n : std::initializer_list<int>{p.Model, p.Channel, int(p.StartMode),
                                                int(p.EndMode), p.StartTitle, p.EndTitle,
                                                p.StartChapter, p.EndChapter, int(p.OptionBits)})
            v << QString::number(n);
        return v.join(' ') + " [" + QStringList(p.InitStr.begin(), p.InitStr.end()).join('|') +
               "] [" + p.Comment + "]";
    }

    // Sets spinners ("Title" + "10-12", or "Minutes" + "10:30 10:31") without pushes between them.
    static void place(AppFixture& f, const QString& field, const QString& values)
    {
        const QStringList v = values.split(QRegularExpression("[-: ]"));
        const QStringList names =
            v.size() == 2 ? QStringList{"Start" + field, "End" + field}
                          : QStringList{"StartMinutes", "StartSeconds", "EndMinutes", "EndSeconds"};
        f.main().model().setLinkedFieldsActive(false);
        for (int i = 0; i < names.size(); ++i)
            spinner(f.main(), "scr" + names[i])->setValueClamped(v[i].toInt());
        f.main().model().setLinkedFieldsActive(true);
    }

    // A table whose rows are one text each, the values between '|'.
    static void rows(std::initializer_list<std::pair<const char*, const char*>> table)
    {
        QTest::addColumn<QString>("row");
        for (const auto& [name, row] : table)
            QTest::newRow(name) << QString(row);
    }

private slots:
    void arrowsAndTrack_data()
    {
        // spinner | value | where clicked | value after
        rows({{"up arrow", "StartMinutes|10|up|11"},
              {"down arrow", "StartMinutes|10|down|9"},
              {"track above", "StartMinutes|10|above|15"},
              {"track below", "StartMinutes|10|below|5"},
              {"up at the top", "EndSeconds|59|up|59"},
              {"down at the bottom", "StartSeconds|0|down|0"},
              {"track stops at a minimum of 2", "EndChapter|4|below|2"}});
    }

    void arrowsAndTrack()
    {
        QFETCH(QString, row);
        const QStringList c = row.split('|');
        const QString name = c[0], control = c[2];
        AppFixture f;
        ctl<QRadioButton>(f.main(), "optStartTimecode")->setChecked(true);
        ctl<QRadioButton>(f.main(), "optEndTimecode")->setChecked(true);
        Spinner* s = spinner(f.main(), "scr" + name);
        s->setValueClamped(c[1].toInt());
        // On the track: halfway between an arrow and the marker.
        const int x = s->width() / 2;
        const QPoint at =
            control == "up"     ? s->upArrowRect().center()
            : control == "down" ? s->downArrowRect().center()
            : control == "above"
                ? QPoint(x, (s->upArrowRect().bottom() + s->markerRect().top()) / 2)
                : QPoint(x, (s->markerRect().bottom() + s->downArrowRect().top()) / 2);
        QTest::mouseClick(s, Qt::LeftButton, {}, at);
        QCOMPARE(val(f.main(), name), c[3]);
        QVERIFY(f.main().findChild<QLineEdit*>("txt" + name)->isReadOnly());
    }

    void linkedFieldsPush_data()
    {
        // fields | end mode | before | spinner moved | to | after
        rows({{"title start up to end", "Title|optEndChapter|10-12|StartTitle|12|12-13"},
              {"title end down to start", "Title|optEndChapter|12-13|EndTitle|12|11-12"},
              {"title start 99, end unused", "Title|optEndChapter|50-99|StartTitle|99|99-99"},
              {"title start stops at 98", "Title|optEndTitle|50-99|StartTitle|99|98-99"},
              {"chapter start up to end", "Chapter|optEndTitle|10-12|StartChapter|12|12-13"},
              {"chapter end down to start", "Chapter|optEndTitle|12-13|EndChapter|12|11-12"},
              {"chapter start stops at 98", "Chapter|optEndChapter|1-99|StartChapter|99|98-99"},
              {"start seconds reach end",
               "Minutes|optEndTitle|10:30 10:31|StartSeconds|31|10:31 10:32"},
              {"start seconds carry", "Minutes|optEndTitle|3:0 3:30|StartSeconds|59|3:59 4:0"},
              {"start 599:59 is not a start",
               "Minutes|optEndTitle|599:0 599:30|StartSeconds|59|599:58 599:59"},
              {"end 0:00 is not an end", "Minutes|optEndTitle|0:0 0:1|EndSeconds|0|0:0 0:1"},
              {"end seconds down to start", "Minutes|optEndTitle|5:10 5:40|EndSeconds|10|5:9 5:10"},
              {"end minutes borrow", "Minutes|optEndTitle|5:10 8:0|EndMinutes|2|1:59 2:0"},
              {"time needs no push", "Minutes|optEndTitle|3:0 9:0|StartMinutes|4|4:0 9:0"},
              // Unlinked (while a load fills the fields) nothing is pushed and the record stays.
              {"unlinked", "Title|optEndChapter|5-10|StartTitle|30|30-10|unlinked"}});
    }

    void linkedFieldsPush()
    {
        QFETCH(QString, row);
        const QStringList c = row.split('|');
        const QString field = c[0], after = c[5];
        const bool linked = c.size() == 6;
        AppFixture f;
        frmMain& m = f.main();
        m.findChild<QRadioButton*>(c[1])->setChecked(true);
        place(f, field, c[2]);
        const QString recordBefore = record(m.model().record());
        f.main().model().setLinkedFieldsActive(linked);
        spinner(m, "scr" + c[3])->setValueClamped(c[4].toInt());
        QCOMPARE(field == "Minutes" ? times(m) : pair(m, field), after);
        // The record follows the pairs (it holds no times); unlinked, it is left alone.
        const SyncParameters& p = m.model().record();
        const QString recorded =
            field == "Title"     ? QStringLiteral("%1-%2").arg(p.StartTitle).arg(p.EndTitle)
            : field == "Chapter" ? QStringLiteral("%1-%2").arg(p.StartChapter).arg(p.EndChapter)
                                 : after;
        QCOMPARE(linked ? recorded : record(p), linked ? after : recordBefore);
    }

    void endModeSetsStartBounds_data()
    {
        // end modes chosen in turn | start maxima, title and chapter pairs
        rows({{"Title", "optEndTitle|98/99 98-99 99-99"},
              {"Chapter", "optEndChapter|99/98 99-99 98-99"},
              {"Title, then Time", "optEndTitle optEndTimecode|99/99 98-99 99-99"}});
    }

    void endModeSetsStartBounds()
    {
        QFETCH(QString, row);
        const QStringList c = row.split('|');
        AppFixture f;
        frmMain& m = f.main();
        // Both pairs at the top while the end mode uses neither.
        m.findChild<QRadioButton*>("optEndFrame")->setChecked(true);
        place(f, "Title", "99-99");
        place(f, "Chapter", "99-99");
        for (const QString& option : c[0].split(' '))
            m.findChild<QRadioButton*>(option)->setChecked(true);
        QCOMPARE(QStringLiteral("%1/%2 ")
                         .arg(ctl<Spinner>(m, "scrStartTitle")->Max())
                         .arg(ctl<Spinner>(m, "scrStartChapter")->Max()) +
                     pair(m, "Title") + " " + pair(m, "Chapter"),
                 c[1]);
    }

    void frameBoxesNormaliseOnLosingFocus_data()
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

    void frameBoxesNormaliseOnLosingFocus()
    {
        QFETCH(QString, row);
        const QStringList c = row.split('|');
        const QString box = c[0], typed = c[1];
        AppFixture f;
        frmMain& m = f.main();
        // The box typed into is shown: its side is in Frame mode.
        m.findChild<QRadioButton*>("optEnd" + c[2])->setChecked(true);
        if (box == "Start")
            ctl<QRadioButton>(m, "optStartFrame")->setChecked(true);
        auto* edited = m.findChild<QLineEdit*>("txt" + box + "Frame");
        (box == "Start" ? ctl<QLineEdit>(m, "txtEndFrame") : ctl<QLineEdit>(m, "txtStartFrame"))
            ->setText(c[3]);
        edited->clear();
        edited->setFocus();
        QTest::keyClicks(edited, typed);
        QCOMPARE(edited->text(), typed); // no check while typing
        ctl<QLineEdit>(m, "txtComment")->setFocus();
        QCOMPARE(ctl<QLineEdit>(m, "txtStartFrame")->text() + "-" +
                     ctl<QLineEdit>(m, "txtEndFrame")->text(),
                 c[4]);
        QCOMPARE(QStringLiteral("%1-%2")
                     .arg(m.model().record().StartFrame)
                     .arg(m.model().record().EndFrame),
                 c[4]);
    }

    void modesShowTheirFields_data()
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

    void modesShowTheirFields()
    {
        QFETCH(QString, row);
        const QStringList c = row.split('|');
        const QString option = c[0];
        AppFixture f;
        frmMain& m = f.main();
        const QString side = option.startsWith("optStart") ? "Start" : "End";
        // Leave another mode first so that the option really changes.
        m.findChild<QRadioButton*>("opt" + side + (option.endsWith("Frame") ? "Chapter" : "Frame"))
            ->setChecked(true);
        m.findChild<QRadioButton*>(option)->setChecked(true);
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
        QCOMPARE(int(side == "Start" ? m.model().record().StartMode : m.model().record().EndMode),
                 c[2].toInt());
    }

    void textLimits_data()
    {
        // box | init strings before | typed or pasted | kept | messages; "q*24" is 24 q's
        rows({{"comment past 15", "txtComment|none|type|m*16|m*15|0"},
              {"one string past 23", "txtInitStr2|none|type|q*24|q*23|0"},
              {"typed past 58 in all", "txtInitStr4|58|type|x||1"},
              {"three pasted past 58", "txtInitStr3|58|paste|xyz|c*12|3"}});
    }

    void textLimits()
    {
        QFETCH(QString, row);
        QStringList c = row.split('|');
        for (QString& v : c)
            if (v.contains('*'))
                v = v.left(1).repeated(v.mid(2).toInt());
        AppFixture f;
        frmMain& m = f.main();
        const int lengths[4] = {23, 23, 12, 0};
        for (int i = 0; i < 4; ++i)
            ctl<QLineEdit>(m, QStringLiteral("txtInitStr%1").arg(i + 1))
                ->setText(QString(c[1] == "58" ? lengths[i] : 0, QChar('a' + i)));
        QVERIFY(f.modal.requests.empty()); // 58 together is allowed
        auto* edit = m.findChild<QLineEdit*>(c[0]);
        edit->setFocus();
        edit->end(false);
        QApplication::clipboard()->setText(c[3]);
        if (c[2] == "paste")
            edit->paste();
        else
            QTest::keyClicks(edit, c[3]);
        QCOMPARE(edit->text(), c[4]);
        QCOMPARE(edit == ctl<QLineEdit>(m, "txtComment")
                     ? m.model().record().Comment
                     : m.model().record().InitStr[c[0].right(1).toInt() - 1],
                 c[4]);
        // Every character over the total is refused with its own message.
        QCOMPARE(f.modal.messages(),
                 QStringList(c[5].toInt(), "The Init Strings are limited\r\nto 58 characters "
                                           "total\r\nbetween all 4 strings."));
    }

    void switchesDriveTheirBits()
    {
        AppFixture f;
        frmMain& m = f.main();
        m.cmdDefaults_Click();
        QStringList bits;
        for (QCheckBox* box : {ctl<QCheckBox>(m, "chkSquelch"), ctl<QCheckBox>(m, "chkSynchronize"),
                               ctl<QCheckBox>(m, "chkSquelch")}) {
            QTest::mouseClick(box, Qt::LeftButton);
            bits << QString::number(m.model().record().OptionBits);
        }
        QCOMPARE(bits, (QStringList{"8", "0", "4"}));
        QVERIFY(m.model().record().Squelch && !m.model().record().Synchronize);
    }

    void defaultsFromAnyState_data()
    {
        // start mode | end mode | titles | chapters | times | frames
        rows({{"high starts, end by time",
               "optStartFrame|optEndTimecode|50-60|80-90|400:0 500:0|70000-80000"},
              {"all at the top, end by title",
               "optStartTimecode|optEndTitle|98-99|98-99|599:58 599:59|1079998-1079999"}});
    }

    void defaultsFromAnyState()
    {
        QFETCH(QString, row);
        const QStringList c = row.split('|');
        QStringList broken; // outlives the window it watches
        AppFixture f;
        frmMain& m = f.main();
        m.findChild<QRadioButton*>(c[0])->setChecked(true);
        m.findChild<QRadioButton*>(c[1])->setChecked(true);
        place(f, "Title", c[2]);
        place(f, "Chapter", c[3]);
        place(f, "Minutes", c[4]);
        ctl<QLineEdit>(m, "txtEndFrame")->setText(c[5].section('-', 1));
        ctl<QLineEdit>(m, "txtStartFrame")->setText(c[5].section('-', 0, 0));
        const int lengths[4] = {10, 23, 23, 2}; // 58 together
        for (int i = 0; i < 4; ++i)
            ctl<QLineEdit>(m, QStringLiteral("txtInitStr%1").arg(i + 1))
                ->setText(QString(lengths[i], QChar('a' + i)));
        ctl<QLineEdit>(m, "txtComment")->setText("old");
        ctl<QCheckBox>(m, "chkSquelch")->setChecked(false);
        ctl<HighlightShape>(m, "shpHiLiteStartTitle")->show();
        f.main().model().marks()[MarkKey::StartTitle].OutOfRange = true;
        f.modal.clear();

        // No spinner change during the reset may leave an end at or before its start.
        auto watch = [&] {
            if (ctl<Spinner>(m, "scrEndTitle")->Value() <=
                    ctl<Spinner>(m, "scrStartTitle")->Value() ||
                ctl<Spinner>(m, "scrEndChapter")->Value() <=
                    ctl<Spinner>(m, "scrStartChapter")->Value() ||
                ctl<Spinner>(m, "scrEndMinutes")->Value() * 60 +
                        ctl<Spinner>(m, "scrEndSeconds")->Value() <=
                    ctl<Spinner>(m, "scrStartMinutes")->Value() * 60 +
                        ctl<Spinner>(m, "scrStartSeconds")->Value())
                broken << pair(m, "Title") + " " + pair(m, "Chapter") + " " + times(m);
        };
        for (Spinner* s : m.findChildren<Spinner*>())
            connect(s, &QAbstractSlider::valueChanged, &m, watch);
        QTest::mouseClick(ctl<QPushButton>(m, "cmdDefaults"), Qt::LeftButton);

        QCOMPARE(broken, QStringList());
        QVERIFY(f.modal.requests.empty());
        QCOMPARE(
            QStringList(
                {ctl<QLineEdit>(m, "txtModel")->text(), ctl<QLineEdit>(m, "txtChannel")->text(),
                 pair(m, "Title"), pair(m, "Chapter"), times(m),
                 ctl<QLineEdit>(m, "txtStartFrame")->text() + "-" +
                     ctl<QLineEdit>(m, "txtEndFrame")->text(),
                 ctl<QLineEdit>(m, "txtInitStr1")->text(), ctl<QLineEdit>(m, "txtInitStr2")->text(),
                 ctl<QLineEdit>(m, "txtInitStr3")->text(), ctl<QLineEdit>(m, "txtInitStr4")->text(),
                 ctl<QLineEdit>(m, "txtComment")->text()})
                .join(' '),
            QStringLiteral("22 1 1-2 1-2 0:0 1:0 1-1000 0KL0DS    "));
        QVERIFY(ctl<QCheckBox>(m, "chkSynchronize")->isChecked() &&
                ctl<QCheckBox>(m, "chkSquelch")->isChecked());
        QCOMPARE(record(m.model().record()), record(SyncParameters()));
        for (HighlightShape* s : highlightShapes(m))
            QVERIFY(!s->isVisible());
        QVERIFY(!f.main().model().marks().any());
    }
};

CORVANE_TEST_CLASS(EditorFieldsTest)
#include "EditorFieldsTest.moc"