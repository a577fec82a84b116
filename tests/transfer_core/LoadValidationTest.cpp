#include "LoadValidationTest.h"

#include "TestCells.h"
#include "transfer/LoadReport.h"
#include "transfer/LoadValidation.h"
#include "transfer/MarkPlan.h"

#include <QMap>
#include <QTest>

namespace {

int field(const SyncParameters& v, const QString& name)
{
    const QMap<QString, int> values{
        {"Model", v.Model},
        {"Channel", v.Channel},
        {"StartTitle", v.StartTitle},
        {"EndTitle", v.EndTitle},
        {"StartChapter", v.StartChapter},
        {"EndChapter", v.EndChapter},
        {"StartFrame", v.StartFrame},
        {"EndFrame", v.EndFrame},
        {"StartTime", v.StartMinutes * 100 + v.StartSeconds}, // 1205 is 12:05
        {"EndTime", v.EndMinutes * 100 + v.EndSeconds},
    };
    Q_ASSERT(values.contains(name));
    return values.value(name);
}

const QStringList KeyNames{"Model",      "Channel",    "StartTitle", "EndTitle",  "StartChapter",
                           "EndChapter", "StartFrame", "EndFrame",   "StartTime", "EndTime"};

// "EndFrame:RY StartTime:R" for the flags that are set.
QString flagText(const ReadMarks& marks)
{
    QStringList out;
    for (int i = 0; i < MarkKeyCount; ++i) {
        const Mark& m = marks.flags[i];
        if (m.Unreadable || m.OutOfRange)
            out << KeyNames[i] + ":" + (m.Unreadable ? "R" : "") + (m.OutOfRange ? "Y" : "");
    }
    return out.join(' ');
}

} // namespace

void LoadValidationTest::validation_data()
{
    QTest::addColumn<QStringList>("cells");  // changes to the default unit
    QTest::addColumn<QStringList>("expect"); // "Field=value"; times as minutes * 100 + seconds
    QTest::addColumn<QString>("flags");

    QTest::newRow("defaults") << QStringList{}
                              << QStringList{"Model=22",     "Channel=1",      "StartTitle=1",
                                             "EndTitle=2",   "StartChapter=1", "EndChapter=2",
                                             "StartFrame=1", "EndFrame=1000",  "StartTime=1",
                                             "EndTime=1000"}
                              << "";
    // Model and channel.
    QTest::newRow("model spaces is 0, clamped")
        << QStringList{"3F=  "} << QStringList{"Model=1"} << "Model:Y";
    QTest::newRow("model 5 space") << QStringList{"3F=5 "} << QStringList{"Model=5"} << "";
    QTest::newRow("model unreadable")
        << QStringList{"3F=A5"} << QStringList{"Model=22"} << "Model:R";
    QTest::newRow("channel 00") << QStringList{"3E=00"} << QStringList{"Channel=1"} << "Channel:Y";
    QTest::newRow("channel unreadable")
        << QStringList{"3E=x1"} << QStringList{"Channel=1"} << "Channel:R";
    // Titles and chapters, with the room an end in the same field needs.
    QTest::newRow("start title 99, end Title")
        << QStringList{"modes=C/T", "38=99"} << QStringList{"StartTitle=98"} << "StartTitle:Y";
    QTest::newRow("start title 99, end Chapter")
        << QStringList{"modes=C/C", "38=99"} << QStringList{"StartTitle=99"} << "";
    QTest::newRow("start title 0")
        << QStringList{"38=00"} << QStringList{"StartTitle=1"} << "StartTitle:Y";
    QTest::newRow("start title unreadable")
        << QStringList{"38=?1"} << QStringList{"StartTitle=1"} << "StartTitle:R";
    QTest::newRow("end title 1") << QStringList{"39=01"} << QStringList{"EndTitle=2"}
                                 << "EndTitle:Y";
    QTest::newRow("end title unreadable")
        << QStringList{"39=--"} << QStringList{"EndTitle=2"} << "EndTitle:R";
    QTest::newRow("titles out of order stay")
        << QStringList{"38=50", "39=10"} << QStringList{"StartTitle=50", "EndTitle=10"} << "";
    QTest::newRow("start chapter 99, end Chapter")
        << QStringList{"38=05", "3A=99"} << QStringList{"StartChapter=98"} << "StartChapter:Y";
    QTest::newRow("start chapter 99, end Title")
        << QStringList{"modes=C/T", "3A=99"} << QStringList{"StartChapter=99"} << "";
    QTest::newRow("end chapter 1")
        << QStringList{"3B=01"} << QStringList{"EndChapter=2"} << "EndChapter:Y";
    QTest::newRow("end chapter unreadable")
        << QStringList{"3B=9x"} << QStringList{"EndChapter=2"} << "EndChapter:R";
    // Frame numbers.
    QTest::newRow("start point unreadable")
        << QStringList{"start=00x0000"} << QStringList{"StartFrame=1", "StartTime=0"}
        << "StartFrame:R StartTime:R";
    QTest::newRow("start frame 0")
        << QStringList{"start=0000000"} << QStringList{"StartFrame=1"} << "StartFrame:Y";
    QTest::newRow("start frame above the last")
        << QStringList{"start=9999999", "end=0000000"} << QStringList{"StartFrame=1079999"}
        << "StartFrame:Y EndFrame:Y StartTime:Y EndTime:Y";
    QTest::newRow("start frame last, end Frame")
        << QStringList{"modes=F/F", "start=1079999", "end=1079999"}
        << QStringList{"StartFrame=1079998", "EndFrame=1079999"}
        << "StartFrame:Y StartTime:Y EndTime:Y";
    QTest::newRow("start frame last, end Chapter")
        << QStringList{"modes=F/C", "start=1079999", "end=1079999"}
        << QStringList{"StartFrame=1079999", "EndFrame=1079999"}
        << "EndFrame:Y StartTime:Y EndTime:Y";
    QTest::newRow("end frame unreadable below start")
        << QStringList{"modes=F/F", "start=0005000", "end=?000000"}
        << QStringList{"StartFrame=5000", "EndFrame=5001"} << "EndFrame:RY EndTime:R";
    QTest::newRow("end frame unreadable above start")
        << QStringList{"modes=F/F", "start=0000500", "end=?000000"}
        << QStringList{"StartFrame=500", "EndFrame=1000"} << "EndFrame:R EndTime:R";
    QTest::newRow("end frame not after start")
        << QStringList{"modes=T/C", "start=0005000", "end=0005000"}
        << QStringList{"EndFrame=5001", "StartTime=5000", "EndTime=5000"} << "EndFrame:Y";
    QTest::newRow("end frame 1") << QStringList{"end=0000001"} << QStringList{"EndFrame=2"}
                                 << "EndFrame:Y";
    // Times: handled as seconds, normalised to minutes and seconds.
    QTest::newRow("start 2:75 is 3:15") << QStringList{"modes=M/M", "start=0000275", "end=0001000"}
                                        << QStringList{"StartTime=315", "EndTime=1000"} << "";
    QTest::newRow("end 0:00, start 0:00")
        << QStringList{"modes=M/M", "start=0000000", "end=0000000"}
        << QStringList{"StartTime=0", "EndTime=1"} << "StartFrame:Y EndFrame:Y EndTime:Y";
    QTest::newRow("end 0:00, start 0:30")
        << QStringList{"modes=M/M", "start=0000030", "end=0000000"}
        << QStringList{"StartTime=30", "EndTime=31"} << "EndFrame:Y EndTime:Y";
    QTest::newRow("end before start, both Time")
        << QStringList{"modes=M/M", "start=0001000", "end=0000500"}
        << QStringList{"StartTime=1000", "EndTime=1001"} << "EndTime:Y";
    QTest::newRow("start above 599:58")
        << QStringList{"modes=M/M", "start=0099999", "end=0099999"}
        << QStringList{"StartTime=59958", "EndTime=59959"} << "StartTime:Y EndTime:Y";
    QTest::newRow("end unreadable")
        << QStringList{"modes=M/M", "end=00:0000"} << QStringList{"EndFrame=1000", "EndTime=100"}
        << "EndFrame:R EndTime:R";
    // Readings of different modes are not put in order against each other.
    QTest::newRow("Chapter 5000 to Time 1:00")
        << QStringList{"modes=C/M", "start=0005000", "end=0000100"}
        << QStringList{"StartFrame=5000", "EndFrame=100", "EndTime=100"} << "";
    QTest::newRow("Frame 5000 to Time 1:00")
        << QStringList{"modes=F/M", "start=0005000", "end=0000100"}
        << QStringList{"StartFrame=5000", "EndTime=100"} << "";
    QTest::newRow("Time 12:05 to Frame 1000")
        << QStringList{"modes=M/F", "start=0001205", "end=0001000"}
        << QStringList{"StartTime=1205", "EndFrame=1000"} << "";
    QTest::newRow("Time 12:05 to Title, frames unordered")
        << QStringList{"modes=M/T", "start=0001205", "end=0001000"}
        << QStringList{"StartFrame=1205", "EndFrame=1000"} << "";
}

void LoadValidationTest::validation()
{
    QFETCH(QStringList, cells);
    QFETCH(QStringList, expect);
    QFETCH(QString, flags);
    CellSet unit = TestCells::defaultUnit();
    TestCells::apply(unit, cells);
    const LoadResult r = decodeAndValidate(unit);
    for (const QString& e : expect)
        QCOMPARE(
            QString("%1=%2").arg(e.section('=', 0, 0)).arg(field(r.values, e.section('=', 0, 0))),
            e);
    QCOMPARE(flagText(r.marks), flags);
    // Whatever the cells held, every value is within its range afterwards.
    QVERIFY(r.values.StartSeconds < 60 && r.values.EndSeconds < 60);
    QVERIFY(r.values.StartMinutes * 60 + r.values.StartSeconds <= 35998);
    QVERIFY(r.values.EndMinutes * 60 + r.values.EndSeconds >= 1);
    QVERIFY(r.values.StartFrame >= 1 && r.values.EndFrame <= 1079999);
}

void LoadValidationTest::switchesModesAndBaud_data()
{
    QTest::addColumn<QByteArray>("modeCell");
    QTest::addColumn<QByteArray>("optionCell");
    QTest::addColumn<int>("startMode");
    QTest::addColumn<int>("endMode");
    QTest::addColumn<int>("optionBits");
    QTest::newRow("Chapter/Chapter, both on")
        << QByteArray("50") << QByteArray("7<") << 1 << 1 << 12;
    QTest::newRow("Time/Frame, squelch, baud 0")
        << QByteArray(">0") << QByteArray("04") << 2 << 3 << 4;
    QTest::newRow("Title/Title, synchronize")
        << QByteArray("0 ") << QByteArray("68") << 0 << 0 << 8;
    QTest::newRow("high bits ignored") << QByteArray("O?") << QByteArray("7\xff") << 3 << 3 << 12;
    QTest::newRow("off") << QByteArray("90") << QByteArray("73") << 1 << 2 << 0;
}

void LoadValidationTest::switchesModesAndBaud()
{
    QFETCH(QByteArray, modeCell);
    QFETCH(QByteArray, optionCell);
    QFETCH(int, startMode);
    QFETCH(int, endMode);
    QFETCH(int, optionBits);
    CellSet unit = TestCells::defaultUnit();
    unit.set(0x3C, TestCells::bytes(modeCell));
    unit.set(0x3D, TestCells::bytes(optionCell));
    const SyncParameters v = decodeAndValidate(unit).values;
    QCOMPARE(int(v.StartMode), startMode);
    QCOMPARE(int(v.EndMode), endMode);
    QCOMPARE(int(v.OptionBits), optionBits);
    QCOMPARE(v.Synchronize, (optionBits & 8) != 0);
    QCOMPARE(v.Squelch, (optionBits & 4) != 0);
    QCOMPARE(v.BaudCode, int16_t(7));
}

void LoadValidationTest::markPlan_data()
{
    QTest::addColumn<QString>("flags"); // as flagText writes them
    QTest::addColumn<QString>("modes");
    QTest::addColumn<QString>("shapes");
    QTest::addColumn<int>("red");
    QTest::addColumn<int>("yellow");
    QTest::addColumn<bool>("modelChannel");
    QTest::newRow("nothing") << ""
                             << "C/C"
                             << "" << 0 << 0 << false;
    QTest::newRow("unreadable start point, Chapter start") << "StartFrame:R StartTime:R"
                                                           << "C/C"
                                                           << "" << 2 << 0 << false;
    QTest::newRow("unreadable start point, Time start")
        << "StartFrame:R StartTime:R"
        << "M/C"
        << "shpHiLiteStartMinutes:R shpHiLiteStartSeconds:R" << 2 << 0 << false;
    QTest::newRow("red wins over yellow") << "EndFrame:RY"
                                          << "F/F"
                                          << "shpHiLiteEndFrame:R" << 1 << 0 << false;
    QTest::newRow("yellow not in use") << "EndTitle:Y EndChapter:Y"
                                       << "T/C"
                                       << "shpHiLiteEndChapter:Y" << 0 << 1 << false;
    QTest::newRow("model yellow") << "Model:Y StartTitle:Y"
                                  << "T/T"
                                  << "shpHiLiteModel:Y shpHiLiteStartTitle:Y" << 0 << 2 << true;
    QTest::newRow("channel red") << "Channel:R EndTime:Y"
                                 << "F/M"
                                 << "shpHiLiteChannel:R shpHiLiteEndMinutes:Y shpHiLiteEndSeconds:Y"
                                 << 1 << 1 << true;
    QTest::newRow("start keys by mode") << "StartChapter:Y StartFrame:Y"
                                        << "F/T"
                                        << "shpHiLiteStartFrame:Y" << 0 << 1 << false;
}

void LoadValidationTest::markPlan()
{
    QFETCH(QString, flags);
    QFETCH(QString, modes);
    QFETCH(QString, shapes);
    QFETCH(int, red);
    QFETCH(int, yellow);
    QFETCH(bool, modelChannel);
    ReadMarks marks;
    for (const QString& f : flags.split(' ', Qt::SkipEmptyParts)) {
        Mark& m = marks[MarkKey(KeyNames.indexOf(f.section(':', 0, 0)))];
        m.Unreadable = f.section(':', 1).contains('R');
        m.OutOfRange = f.section(':', 1).contains('Y');
    }
    const MarkPlan plan = ::markPlan(marks, TestCells::modeFromLetter(modes.at(0)),
                                     TestCells::modeFromLetter(modes.at(2)));
    QStringList got;
    for (const ShapeMark& s : plan.shapes)
        got << s.shape + (s.colour == MarkColour::Red ? ":R" : ":Y");
    QCOMPARE(got.join(' '), shapes);
    QCOMPARE(plan.red, red);
    QCOMPARE(plan.yellow, yellow);
    QCOMPARE(plan.problemCount(), red + yellow);
    QCOMPARE(plan.modelChannelFlagged, modelChannel);
}

void LoadValidationTest::unusedYellowIsSilent()
{
    // Only keys the Title modes do not use are out of range: no shape, no count, no box.
    CellSet unit = TestCells::defaultUnit();
    TestCells::apply(unit, {"modes=T/T", "3A=00", "3B=01", "start=0000000"});
    const LoadResult r = decodeAndValidate(unit);
    QVERIFY(r.marks.any());
    const MarkPlan plan = ::markPlan(r.marks, r.values.StartMode, r.values.EndMode);
    QCOMPARE(plan.problemCount(), 0);
    QVERIFY(plan.shapes.isEmpty());
    QCOMPARE(loadReportText(plan.red, plan.yellow), QString());
}

void LoadValidationTest::reportText()
{
    const QStringList red{"ERROR!", "There were some errors reading the synchronizer. The",
                          "fields with red borders had unrecognized characters", "in them. "};
    const QStringList redYellowSentence{"Fields with yellow borders had numbers",
                                        "outside the valid range."};
    const QStringList redCause{"",
                               "",
                               "The errors marked in red may have been caused by",
                               "communications errors, or by bad data stored the",
                               "last time the synchronizer was programmed. The",
                               "screen has been updated with valid settings, but",
                               "there may still be a communications problem or",
                               "there may be bad data in the synchronizer."};
    const QStringList yellowCause{"",
                                  "",
                                  "The warnings in yellow might be caused by data saved",
                                  "by earlier versions of the software, which were able",
                                  "to save numbers that were out of the valid range.",
                                  "They could also be caused by communications errors.",
                                  ""};
    const QStringList advice{"",
                             "",
                             "You may want to check your connections and then try",
                             "reading the synchronizer again. If the results are",
                             "identical, you could try saving to the synchronizer.",
                             ""};
    const QString crlf("\r\n");
    // Pieces follow each other on the same line where one does not end in CR LF.
    const QString redOnly = red.join(crlf) + redCause.join(crlf) + advice.join(crlf);
    const QString redAndYellow = red.join(crlf) + redYellowSentence.join(crlf) +
                                 redCause.join(crlf) + yellowCause.join(crlf) + advice.join(crlf);
    const QString yellowOnly = QStringList{"WARNING!",
                                           "The fields with yellow borders had values stored in",
                                           "the synchronizer that are outside the allowed range",
                                           "of values. This may have been caused by saving from",
                                           "previous versions of the software, which were able",
                                           "to save out of range values. This version will not.",
                                           "It is also possible that there were problems while",
                                           "communicating with the synchronizer and the numbers",
                                           "shown may not actually be stored in the synchronizer.",
                                           "The numbers on the screen have been changed to valid",
                                           "values, but the synchronizer may still have the old",
                                           "values.",
                                           "",
                                           "You should either try reading the synchronizer",
                                           "again, or check the values and then save them to",
                                           "the synchronizer.",
                                           ""}
                                   .join(crlf);
    QCOMPARE(loadReportText(0, 0), QString());
    QCOMPARE(loadReportText(1, 0), redOnly);
    QCOMPARE(loadReportText(3, 2), redAndYellow);
    QCOMPARE(loadReportText(0, 1), yellowOnly);
    QVERIFY(redAndYellow.contains("in them. Fields with yellow"));
    QVERIFY(redAndYellow.contains("errors.\r\n\r\n\r\nYou may"));
    QVERIFY(!loadReportText(2, 0).contains('\n' + QString("Fields")));
}
