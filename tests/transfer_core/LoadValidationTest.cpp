#include "transfer/LoadValidation.h"
#include "TestCells.h"
#include "transfer/LoadReport.h"
#include "transfer/MarkPlan.h"
#include "transfer/TextImages.h"

#include <QTest>

namespace {

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

// "Field=value", times as minutes * 100 + seconds (1205 is 12:05).
QString fieldText(const SyncParameters& v, const QString& name)
{
    const int values[] = {v.Model,
                          v.Channel,
                          v.StartTitle,
                          v.EndTitle,
                          v.StartChapter,
                          v.EndChapter,
                          v.StartFrame,
                          v.EndFrame,
                          v.StartMinutes * 100 + v.StartSeconds,
                          v.EndMinutes * 100 + v.EndSeconds};
    return name + "=" + QString::number(values[KeyNames.indexOf(name)]);
}

void row(const char* name, const char* cells, const char* expect, const char* flags)
{
    QTest::newRow(name) << QString(cells) << QString(expect) << QString(flags);
}

} // namespace

class LoadTest : public QObject
{
    Q_OBJECT
private slots:
    void validation_data()
    {
        QTest::addColumn<QString>("cells");  // changes to the default unit
        QTest::addColumn<QString>("expect"); // values afterwards
        QTest::addColumn<QString>("flags");
        row("defaults", "",
            "Model=22 Channel=1 StartTitle=1 EndTitle=2 StartChapter=1 EndChapter=2 "
            "StartFrame=1 EndFrame=1000 StartTime=1 EndTime=1000",
            "");
        row("model spaces is 0, clamped", "3F=__", "Model=1", "Model:Y");
        row("model 5 space", "3F=5_", "Model=5", "");
        row("model unreadable", "3F=A5", "Model=22", "Model:R");
        row("channel 00", "3E=00", "Channel=1", "Channel:Y");
        row("channel unreadable", "3E=x1", "Channel=1", "Channel:R");
        // Titles and chapters, with the room an end in the same field needs.
        row("start title 99, end Title", "modes=C/T 38=99", "StartTitle=98", "StartTitle:Y");
        row("start title 99, end Chapter", "38=99", "StartTitle=99", "");
        row("start title 0", "38=00", "StartTitle=1", "StartTitle:Y");
        row("start title unreadable", "38=?1", "StartTitle=1", "StartTitle:R");
        row("end title 1", "39=01", "EndTitle=2", "EndTitle:Y");
        row("end title unreadable", "39=--", "EndTitle=2", "EndTitle:R");
        row("titles out of order stay", "38=50 39=10", "StartTitle=50 EndTitle=10", "");
        row("start chapter 99, end Chapter", "38=05 3A=99", "StartChapter=98", "StartChapter:Y");
        row("start chapter 99, end Title", "modes=C/T 3A=99", "StartChapter=99", "");
        row("end chapter 1", "3B=01", "EndChapter=2", "EndChapter:Y");
        row("end chapter unreadable", "3B=9x", "EndChapter=2", "EndChapter:R");
        // Frame numbers.
        row("start units digit unreadable", "start=000000?", "StartFrame=1 StartTime=0",
            "StartFrame:R StartTime:R");
        row("start frame 0", "start=0000000", "StartFrame=1", "StartFrame:Y");
        row("start frame above the last", "start=9999999 end=0000000", "StartFrame=1079999",
            "StartFrame:Y EndFrame:Y StartTime:Y EndTime:Y");
        row("start frame last, end Frame", "modes=F/F start=1079999 end=1079999",
            "StartFrame=1079998 EndFrame=1079999", "StartFrame:Y StartTime:Y EndTime:Y");
        row("start frame last, end Chapter", "modes=F/C start=1079999 end=1079999",
            "StartFrame=1079999 EndFrame=1079999", "EndFrame:Y StartTime:Y EndTime:Y");
        row("end frame unreadable below start", "modes=F/F start=0005000 end=?000000",
            "StartFrame=5000 EndFrame=5001", "EndFrame:RY EndTime:R");
        row("end frame unreadable above start", "modes=F/F start=0000500 end=?000000",
            "StartFrame=500 EndFrame=1000", "EndFrame:R EndTime:R");
        row("end frame not after start", "modes=T/C start=0005000 end=0005000",
            "EndFrame=5001 StartTime=5000 EndTime=5000", "EndFrame:Y");
        row("end frame 1", "end=0000001", "EndFrame=2", "EndFrame:Y");
        // Times: handled as seconds, normalised to minutes and seconds.
        row("start 2:75 is 3:15", "modes=M/M start=0000275", "StartTime=315 EndTime=1000", "");
        row("spaces are zeros", "modes=M/M start=___1_5_ end=0001100",
            "StartFrame=1050 StartTime=1050", "");
        row("end 0:00, start 0:00", "modes=M/M start=0000000 end=0000000", "StartTime=0 EndTime=1",
            "StartFrame:Y EndFrame:Y EndTime:Y");
        row("end 0:00, start 0:30", "modes=M/M start=0000030 end=0000000",
            "StartTime=30 EndTime=31", "EndFrame:Y EndTime:Y");
        row("end before start, both Time", "modes=M/M start=0001000 end=0000500",
            "StartTime=1000 EndTime=1001", "EndTime:Y");
        row("start above 599:58", "modes=M/M start=0099999 end=0099999",
            "StartTime=59958 EndTime=59959", "StartTime:Y EndTime:Y");
        row("end unreadable", "modes=M/M end=00:0000", "EndFrame=1000 EndTime=100",
            "EndFrame:R EndTime:R");
        // Readings of different modes are not put in order against each other.
        row("Chapter 5000 to Time 1:00", "modes=C/M start=0005000 end=0000100",
            "StartFrame=5000 EndFrame=100 EndTime=100", "");
        row("Frame 5000 to Time 1:00", "modes=F/M start=0005000 end=0000100",
            "StartFrame=5000 EndTime=100", "");
        row("Time 12:05 to Frame 1000", "modes=M/F start=0001205 end=0001000",
            "StartTime=1205 EndFrame=1000", "");
        row("Time 12:05 to Title, frames unordered", "modes=M/T start=0001205 end=0001000",
            "StartFrame=1205 EndFrame=1000", "");
    }

    void validation()
    {
        QFETCH(QString, cells);
        QFETCH(QString, expect);
        QFETCH(QString, flags);
        CellSet unit = TestCells::defaultUnit();
        TestCells::apply(unit, cells.split(' ', Qt::SkipEmptyParts).replaceInStrings("_", " "));
        const LoadResult r = decodeAndValidate(unit);
        for (const QString& e : expect.split(' '))
            QCOMPARE(fieldText(r.values, e.section('=', 0, 0)), e);
        QCOMPARE(flagText(r.marks), flags);
        // Whatever the cells held, every value is within its range afterwards.
        QVERIFY(r.values.StartSeconds < 60 && r.values.EndSeconds < 60);
        QVERIFY(r.values.StartMinutes * 60 + r.values.StartSeconds <= 35998);
        QVERIFY(r.values.EndMinutes * 60 + r.values.EndSeconds >= 1);
        QVERIFY(r.values.StartFrame >= 1 && r.values.EndFrame <= 1079999);
    }

    void switchesAndModes()
    {
        // Modes from the low bits of the mode cell, switches from bits 3 and 2 of the option
        // cell; higher bits and the baud byte are ignored.
        const struct
        {
            const char* mode;
            const char* option;
            int start, end, bits;
        } rows[] = {{"50", "7<", 1, 1, 12},
                    {">0", "04", 2, 3, 4},
                    {"O?", "7\xff", 3, 3, 12},
                    {"90", "73", 1, 2, 0},
                    {"0 ", "68", 0, 0, 8}};
        for (const auto& r : rows) {
            CellSet unit = TestCells::defaultUnit();
            TestCells::apply(unit, {QString("3C=") + r.mode, QString("3D=") + r.option});
            const SyncParameters v = decodeAndValidate(unit).values;
            QCOMPARE(int(v.StartMode), r.start);
            QCOMPARE(int(v.EndMode), r.end);
            QCOMPARE(int(v.OptionBits), r.bits);
            QCOMPARE(v.Synchronize, (r.bits & 8) != 0);
            QCOMPARE(v.Squelch, (r.bits & 4) != 0);
            QCOMPARE(v.BaudCode, int16_t(7));
        }
    }

    void markPlan_data()
    {
        QTest::addColumn<QString>("flags"); // as flagText writes them
        QTest::addColumn<QString>("modes");
        QTest::addColumn<QString>("shapes"); // then red, yellow and the model/channel flag
        QTest::newRow("nothing") << ""
                                 << "C/C"
                                 << "0 0 0";
        QTest::newRow("unreadable start point, Chapter start") << "StartFrame:R StartTime:R"
                                                               << "C/C"
                                                               << "2 0 0";
        QTest::newRow("unreadable start point, Time start")
            << "StartFrame:R StartTime:R"
            << "M/C"
            << "shpHiLiteStartMinutes:R shpHiLiteStartSeconds:R 2 0 0";
        QTest::newRow("red wins over yellow") << "EndFrame:RY"
                                              << "F/F"
                                              << "shpHiLiteEndFrame:R 1 0 0";
        QTest::newRow("yellow not in use") << "EndTitle:Y EndChapter:Y"
                                           << "T/C"
                                           << "shpHiLiteEndChapter:Y 0 1 0";
        QTest::newRow("model yellow") << "Model:Y StartTitle:Y"
                                      << "T/T"
                                      << "shpHiLiteModel:Y shpHiLiteStartTitle:Y 0 2 1";
        QTest::newRow("channel red")
            << "Channel:R EndTime:Y"
            << "F/M"
            << "shpHiLiteChannel:R shpHiLiteEndMinutes:Y shpHiLiteEndSeconds:Y 1 1 1";
        QTest::newRow("start keys by mode") << "StartChapter:Y StartFrame:Y"
                                            << "F/T"
                                            << "shpHiLiteStartFrame:Y 0 1 0";
    }

    void markPlan()
    {
        QFETCH(QString, flags);
        QFETCH(QString, modes);
        QFETCH(QString, shapes);
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
        got << QString("%1 %2 %3").arg(plan.red).arg(plan.yellow).arg(plan.modelChannelFlagged);
        QCOMPARE(got.join(' '), shapes);
        QCOMPARE(plan.problemCount(), plan.red + plan.yellow);
    }

    void unusedYellowIsSilent()
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

    void walks_data()
    {
        QTest::addColumn<QByteArray>("commentCells"); // 16 bytes at most, BEL filled
        QTest::addColumn<QByteArray>("initCells");    // 64 bytes at most, BEL filled
        QTest::addColumn<QString>("comment");
        QTest::addColumn<QStringList>("strings");
        QTest::newRow("empty string kept by a second CR")
            << QByteArray("Stage left") << QByteArray("AB\rCD\r\rEF\a") << "Stage left"
            << QStringList{"AB", "CD", "", "EF"};
        QTest::newRow("fourth CR ends the walk") << QByteArray() << QByteArray("A\rB\rC\rD\rE\r")
                                                 << "" << QStringList{"A", "B", "C", "D"};
        QTest::newRow("first string of 30 keeps 25")
            << QByteArray() << QByteArray(30, 'x') + "\rZZ\r"
            << "" << QStringList{QString(25, u'x'), "", "", ""};
        QTest::newRow("rejected byte ends the walks")
            << QByteArray("ABCDE\x01GH") << QByteArray("AB\rC\tD\r") << "ABCDE"
            << QStringList{"AB", "C", "", ""};
        QTest::newRow("16 characters, no BEL") << QByteArray("0123456789abcdef") << QByteArray("\a")
                                               << "0123456789abcdef" << QStringList{"", "", "", ""};
        QTest::newRow("code page characters")
            << QByteArray("\x80 5") << QByteArray("\xe9\r") << QString::fromUtf8("\u20ac 5")
            << QStringList{QString::fromUtf8("\u00e9"), "", "", ""};
    }

    void walks()
    {
        QFETCH(QByteArray, commentCells);
        QFETCH(QByteArray, initCells);
        QFETCH(QString, comment);
        QFETCH(QStringList, strings);
        CellSet cells;
        TestCells::putText(cells, 0x48, 8, commentCells);
        TestCells::putText(cells, 0x50, 32, initCells);
        const CommentImage ci = commentImageFromCells(cells);
        const InitImage ii = initImageFromCells(cells);
        QCOMPARE(ci[16], Bel);
        QCOMPARE(ii[64], Bel);
        QCOMPARE(walkComment(ci), comment);
        const std::array<QString, 4> got = walkInitStrings(ii);
        QCOMPARE((QStringList{got[0], got[1], got[2], got[3]}), strings);
    }

    void reportText()
    {
        const QString red = "ERROR!\r\nThere were some errors reading the synchronizer. The\r\n"
                            "fields with red borders had unrecognized characters\r\nin them. ";
        const QString yellowSentence =
            "Fields with yellow borders had numbers\r\noutside the valid range.";
        const QString redCause = "\r\n\r\nThe errors marked in red may have been caused by\r\n"
                                 "communications errors, or by bad data stored the\r\n"
                                 "last time the synchronizer was programmed. The\r\n"
                                 "screen has been updated with valid settings, but\r\n"
                                 "there may still be a communications problem or\r\n"
                                 "there may be bad data in the synchronizer.";
        const QString yellowCause =
            "\r\n\r\nThe warnings in yellow might be caused by data saved\r\n"
            "by earlier versions of the software, which were able\r\n"
            "to save numbers that were out of the valid range.\r\n"
            "They could also be caused by communications errors.\r\n";
        const QString advice = "\r\n\r\nYou may want to check your connections and then try\r\n"
                               "reading the synchronizer again. If the results are\r\n"
                               "identical, you could try saving to the synchronizer.\r\n";
        QCOMPARE(loadReportText(0, 0), QString());
        QCOMPARE(loadReportText(1, 0), red + redCause + advice);
        QCOMPARE(loadReportText(3, 2), red + yellowSentence + redCause + yellowCause + advice);
        QCOMPARE(loadReportText(0, 1),
                 QString("WARNING!\r\nThe fields with yellow borders had values stored in\r\n"
                         "the synchronizer that are outside the allowed range\r\n"
                         "of values. This may have been caused by saving from\r\n"
                         "previous versions of the software, which were able\r\n"
                         "to save out of range values. This version will not.\r\n"
                         "It is also possible that there were problems while\r\n"
                         "communicating with the synchronizer and the numbers\r\n"
                         "shown may not actually be stored in the synchronizer.\r\n"
                         "The numbers on the screen have been changed to valid\r\n"
                         "values, but the synchronizer may still have the old\r\n"
                         "values.\r\n\r\nYou should either try reading the synchronizer\r\n"
                         "again, or check the values and then save them to\r\n"
                         "the synchronizer.\r\n"));
    }
};

int runLoadTest(int argc, char** argv)
{
    LoadTest t;
    return QTest::qExec(&t, argc, argv);
}

#include "LoadValidationTest.moc"
