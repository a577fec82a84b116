#include "transfer/LoadValidation.h"
#include "support/CellTokens.h"
#include "support/TestRunner.h"
#include "transfer/LoadReport.h"
#include "transfer/MarkPlan.h"
#include "transfer/TextImages.h"

#include <QTest>

namespace {

// The default set (model 22 channel 1, Chapter to Chapter, frames 1 and 1000, titles and
// chapters 1 and 2, both switches on, "0KL0DS", no comment), then the changes (tokens of
// support/CellTokens.h).
CellSet defaultUnit(const QStringList& changes)
{
    CellSet cells;
    CellTokens::apply(cells,
                      {"3F=22", "3E=01", "modes=C/C", "start=0000001", "end=0001000", "38=01",
                       "39=02", "3A=01", "3B=02", "3D=7<", "comment=", "init=0KL0DS\r"});
    CellTokens::apply(cells, changes);
    return cells;
}

const QStringList KeyNames{"Model",      "Channel",    "StartTitle", "EndTitle",  "StartChapter",
                           "EndChapter", "StartFrame", "EndFrame",   "StartTime", "EndTime"};

} // namespace

class LoadValidationTest : public QObject
{
    Q_OBJECT
private slots:
    void validation_data()
    {
        // Each row: changes to the default unit ("_" a blank in a cell), ">", then values
        // afterwards and flags, keys in the order of KeyNames: "Model=1:Y" is Model 1 flagged
        // out of range, "EndTime:R" EndTime unreadable; keys unnamed carry no flag.
        QTest::addColumn<QString>("cells");
        QTest::addColumn<QString>("expect");
        const auto row = [](const char* line) {
            const QString l = line;
            QTest::newRow(line) << l.section(" > ", 0, 0) << l.section(" > ", 1);
        };
        row(" > Model=22 Channel=1 StartTitle=1 EndTitle=2 StartChapter=1 EndChapter=2 "
            "StartFrame=1 EndFrame=1000 StartTime=1 EndTime=1000 StartMode=1 EndMode=1 Options=12");
        row("3F=__ > Model=1:Y"); // spaces read as 0, then clamped
        row("3F=5_ > Model=5");
        row("3F=A5 > Model=22:R");
        row("3E=00 > Channel=1:Y");
        row("3E=x1 > Channel=1:R");
        // Titles and chapters, with the room an end in the same field needs; an end below
        // its start stays.
        row("modes=C/T 38=99 > StartTitle=98:Y");
        row("38=99 > StartTitle=99");
        row("38=00 > StartTitle=1:Y");
        row("38=?1 3A=?1 > StartTitle=1:R StartChapter=1:R");
        row("39=01 > EndTitle=2:Y");
        row("39=-- > EndTitle=2:R");
        row("38=50 39=10 > StartTitle=50 EndTitle=10");
        row("38=05 3A=99 > StartChapter=98:Y");
        row("modes=C/T 3A=99 > StartChapter=99");
        row("3B=01 > EndChapter=2:Y");
        row("3B=9x > EndChapter=2:R");
        // Frame numbers: a start at the last frame leaves room only for an end frame; an
        // unreadable end frame is put after its start.
        row("start=000000? > StartFrame=1:R StartTime=0:R");
        row("start=0000000 > StartFrame=1:Y");
        row("start=9999999 end=0000000 > StartFrame=1079999:Y EndFrame:Y StartTime:Y EndTime:Y");
        row("modes=F/F start=1079999 end=1079999 > "
            "StartFrame=1079998:Y EndFrame=1079999 StartTime:Y EndTime:Y");
        row("modes=F/C start=1079999 end=1079999 > "
            "StartFrame=1079999 EndFrame=1079999:Y StartTime:Y EndTime:Y");
        row("modes=F/F start=0005000 end=?000000 > StartFrame=5000 EndFrame=5001:RY EndTime:R");
        row("modes=F/F start=0000500 end=?000000 > StartFrame=500 EndFrame=1000:R EndTime:R");
        row("modes=T/C start=0005000 end=0005000 > EndFrame=5001:Y StartTime=5000 EndTime=5000");
        row("end=0000001 > EndFrame=2:Y");
        // Times: handled as seconds (2:75 is 3:15), normalised to minutes and seconds; blanks
        // are zeros; an end time after a start time, a second after it if need be.
        row("modes=M/M start=0000275 > StartTime=315 EndTime=1000");
        row("modes=M/M start=___1_5_ end=0001100 > StartFrame=1050 StartTime=1050");
        row("modes=M/M start=0000000 end=0000000 > "
            "StartFrame:Y EndFrame:Y StartTime=0 EndTime=1:Y");
        row("modes=M/M start=0000030 end=0000000 > EndFrame:Y StartTime=30 EndTime=31:Y");
        row("modes=M/M start=0001000 end=0001000 > StartTime=1000 EndTime=1001:Y");
        row("modes=M/M start=0099999 end=0099999 > StartTime=59958:Y EndTime=59959:Y");
        row("modes=M/M end=00:0000 > EndFrame=1000:R EndTime=100:R");
        // Readings of different modes are not put in order against each other.
        row("modes=C/M start=0005000 end=0000100 > StartFrame=5000 EndFrame=100 EndTime=100");
        row("modes=M/F start=0001205 end=0001000 > StartFrame=1205 EndFrame=1000 StartTime=1205");
        // Modes from the low bits of the mode cell, switches from bits 3 and 2 of the option
        // cell; higher bits and the baud byte are ignored.
        row("3C=>0 3D=04 > StartMode=2 EndMode=3 Options=4");
        row("3C=O? 3D=7\u00ff > StartMode=3 EndMode=3 Options=12");
        row("3C=90 3D=73 > StartMode=1 EndMode=2 Options=0");
        row("3C=0_ 3D=68 > StartMode=0 EndMode=0 Options=8");
    }

    void validation()
    {
        QFETCH(QString, cells);
        QFETCH(QString, expect);
        const LoadResult r = decodeAndValidate(
            defaultUnit(cells.split(' ', Qt::SkipEmptyParts).replaceInStrings("_", " ")));
        const SyncParameters& v = r.values;
        // Times as minutes * 100 + seconds (1205 is 12:05), modes as numbers.
        const int startTime = v.StartMinutes * 100 + v.StartSeconds,
                  endTime = v.EndMinutes * 100 + v.EndSeconds;
        const QList<int> values{v.Model,        v.Channel,    v.StartTitle,     v.EndTitle,
                                v.StartChapter, v.EndChapter, v.StartFrame,     v.EndFrame,
                                startTime,      endTime,      int(v.StartMode), int(v.EndMode),
                                v.OptionBits};
        const QStringList names = KeyNames + QStringList{"StartMode", "EndMode", "Options"};
        QStringList flags;
        for (const QString& e : expect.split(' ')) {
            const QString name = e.section('=', 0, 0).section(':', 0, 0);
            if (e.contains('='))
                QCOMPARE(name + '=' + QString::number(values.value(names.indexOf(name), INT_MIN)),
                         e.section(':', 0, 0));
            if (e.contains(':'))
                flags << name + ':' + e.section(':', 1);
        }
        QStringList got; // "EndFrame:RY StartTime:R" for the flags that are set
        for (int i = 0; i < MarkKeyCount; ++i)
            if (const Mark& m = r.marks.flags[i]; m.Unreadable || m.OutOfRange)
                got << KeyNames[i] + ":" + (m.Unreadable ? "R" : "") + (m.OutOfRange ? "Y" : "");
        QCOMPARE(got, flags);
        // Whatever the cells held, every value is within its range afterwards, the switches
        // follow their bits and the baud rate is 9600.
        QVERIFY(v.StartSeconds < 60 && v.StartMinutes * 60 + v.StartSeconds <= 35998);
        QVERIFY(v.EndSeconds < 60 && v.EndMinutes * 60 + v.EndSeconds >= 1);
        QVERIFY(v.StartFrame >= 1 && v.EndFrame <= 1079999);
        QCOMPARE(v.Synchronize, (v.OptionBits & 8) != 0);
        QCOMPARE(v.Squelch, (v.OptionBits & 4) != 0);
        QCOMPARE(v.BaudCode, int16_t(7));
    }

    void markPlan_data()
    {
        // Each row: the modes and the flags (as the validation rows write them), ">", then the
        // marked shapes, the red and yellow counts and the model/channel flag. Red counts even
        // where no shape shows it and wins over yellow; yellow on a key the modes do not use is
        // silent; which start key shows depends on the start mode.
        QTest::addColumn<QString>("flags");
        QTest::addColumn<QString>("shapes");
        for (const char* line :
             {"C/C > 0 0 0", "C/C StartFrame:R StartTime:R > 2 0 0",
              "M/C StartFrame:R StartTime:R > "
              "shpHiLiteStartMinutes:R shpHiLiteStartSeconds:R 2 0 0",
              "F/F EndFrame:RY > shpHiLiteEndFrame:R 1 0 0",
              "T/C EndTitle:Y EndChapter:Y > shpHiLiteEndChapter:Y 0 1 0",
              "T/T StartChapter:Y EndChapter:Y StartFrame:Y > 0 0 0",
              "T/T Model:Y StartTitle:Y > shpHiLiteModel:Y shpHiLiteStartTitle:Y 0 2 1",
              "F/M Channel:R EndTime:Y > shpHiLiteChannel:R shpHiLiteEndMinutes:Y "
              "shpHiLiteEndSeconds:Y 1 1 1",
              "F/T StartChapter:Y StartFrame:Y > shpHiLiteStartFrame:Y 0 1 0"})
            QTest::newRow(line) << QString(line).section(" > ", 0, 0)
                                << QString(line).section(" > ", 1);
    }

    void markPlan()
    {
        QFETCH(QString, flags);
        QFETCH(QString, shapes);
        ReadMarks marks;
        for (const QString& f : flags.split(' ').mid(1))
            marks[MarkKey(KeyNames.indexOf(f.section(':', 0, 0)))] = {f.contains(":R"),
                                                                      f.endsWith('Y')};
        const MarkPlan plan = ::markPlan(marks, CellTokens::modeFromLetter(flags.at(0)),
                                         CellTokens::modeFromLetter(flags.at(2)));
        QStringList got;
        for (const ShapeMark& s : plan.shapes)
            got << s.shape + (s.colour == MarkColour::Red ? ":R" : ":Y");
        got << QString("%1 %2 %3").arg(plan.red).arg(plan.yellow).arg(plan.modelChannelFlagged);
        QCOMPARE(got.join(' '), shapes);
    }

    void walks()
    {
        // Comment cells (16 bytes at most) and init-string cells (64 at most), BEL filled,
        // and the texts walked from them, the four strings apart by "|". A second CR keeps an
        // empty string, the fourth ends the walk, a first string keeps 25 of its 30
        // characters, a rejected byte ends a walk, 16 comment characters need no BEL.
        const char* const rows[][4] = {
            {"Stage left", "AB\rCD\r\rEF\a", "Stage left", "AB|CD||EF"},
            {"", "A\rB\rC\rD\rE\r", "", "A|B|C|D"},
            {"", "ABCDEFGHIJKLMNOPQRSTUVWXYZabcd\rZZ\r", "", "ABCDEFGHIJKLMNOPQRSTUVWXY|||"},
            {"ABCDE\x01GH", "AB\rC\tD\r", "ABCDE", "AB|C||"},
            {"0123456789abcdef", "\a", "0123456789abcdef", "|||"},
            {"\x80 5", "\xe9\r", "\u20ac 5", "\u00e9|||"}, // code page characters
        };
        for (const auto& r : rows) {
            CellSet cells;
            CellTokens::putText(cells, 0x48, 8, r[0]);
            CellTokens::putText(cells, 0x50, 32, r[1]);
            const CommentImage ci = commentImageFromCells(cells);
            const InitImage ii = initImageFromCells(cells);
            QVERIFY(ci[16] == Bel && ii[64] == Bel); // the images end in BEL
            QCOMPARE(walkComment(ci), QString(r[2]));
            const std::array<QString, 4> got = walkInitStrings(ii);
            QCOMPARE(QStringList(got.begin(), got.end()).join('|'), QString(r[3]));
        }
    }

    void reportText()
    {
        const QString red =
            "ERROR!\r\nThere were some errors reading the synchronizer. The\r\nfields with red "
            "borders had unrecognized characters\r\nin them. ";
        const QString yellow = "Fields with yellow borders had numbers\r\noutside the valid range.";
        const QString redCause =
            "\r\n\r\nThe errors marked in red may have been caused by\r\ncommunications errors, "
            "or by bad data stored the\r\nlast time the synchronizer was programmed. The\r\n"
            "screen has been updated with valid settings, but\r\nthere may still be a "
            "communications problem or\r\nthere may be bad data in the synchronizer.";
        const QString yellowCause =
            "\r\n\r\nThe warnings in yellow might be caused by data saved\r\nby earlier versions "
            "of the software, which were able\r\nto save numbers that were out of the valid "
            "range.\r\nThey could also be caused by communications errors.\r\n";
        const QString advice =
            "\r\n\r\nYou may want to check your connections and then try\r\nreading the "
            "synchronizer again. If the results are\r\nidentical, you could try saving to the "
            "synchronizer.\r\n";
        const QString warning =
            "WARNING!\r\nThe fields with yellow borders had values stored in\r\nthe synchronizer "
            "that are outside the allowed range\r\nof values. This may have been caused by saving "
            "from\r\nprevious versions of the software, which were able\r\nto save out of range "
            "values. This version will not.\r\nIt is also possible that there were problems "
            "while\r\ncommunicating with the synchronizer and the numbers\r\nshown may not "
            "actually be stored in the synchronizer.\r\nThe numbers on the screen have been "
            "changed to valid\r\nvalues, but the synchronizer may still have the old\r\n"
            "values.\r\n\r\nYou should either try reading the synchronizer\r\nagain, or check the "
            "values and then save them to\r\nthe synchronizer.\r\n";
        QCOMPARE(loadReportText(0, 0), QString());
        QCOMPARE(loadReportText(1, 0), red + redCause + advice);
        QCOMPARE(loadReportText(3, 2), red + yellow + redCause + yellowCause + advice);
        QCOMPARE(loadReportText(0, 1), warning);
    }
};

CORVANE_TEST_CLASS(LoadValidationTest)

#include "LoadValidationTest.moc"
