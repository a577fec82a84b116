// The unit window's pure parts: the cell image file both ways, and what each cell holds
// as a load reads it.

#include "simunit/CellImage.h"
#include "support/TestRunner.h"
#include "transfer/CellFields.h"

#include <QTest>
#include <tuple>

class CellImageTest : public QObject
{
    Q_OBJECT
private slots:
    void imageRoundTripsEveryByte()
    {
        simsync::Cells cells{};
        for (int i = 0; i < simsync::CellCount; ++i)
            cells[i] = {uint8_t(i * 4), uint8_t(255 - i * 3)}; // control bytes, '#', high bytes
        simsync::Cells back{};
        QString error;
        QVERIFY2(simsync::parseCellImage(simsync::formatCellImage(cells), &back, &error),
                 qPrintable(error));
        QVERIFY(back == cells);
    }

    void badImagesNameTheLine()
    {
        // A replacement for the image's line for cell 31, and what the parser says of it.
        const std::pair<QByteArray, QString> rows[] = {
            {"31 30", "line 3: expected an address and two bytes in hex"},
            {"31 3G 30", "line 3: \"3G\" is not a byte in hex"},
            {"31 030 30", "line 3: \"030\" is not a byte in hex"},
            {"70 30 30", "line 3: 70 is not a cell (30 to 6F)"},
            {"30 30 30", "line 3: cell 30 appears twice"},
            {"# nothing", "cell 31 is missing"}};
        for (const auto& [change, error] : rows) {
            QList<QByteArray> lines = simsync::formatCellImage(simsync::defaultCells()).split('\n');
            QVERIFY(lines[2].startsWith("31 "));
            lines[2] = change;
            simsync::Cells cells = simsync::defaultCells();
            const simsync::Cells kept = cells;
            QString said;
            QVERIFY(!simsync::parseCellImage(lines.join('\n'), &cells, &said));
            QCOMPARE(said, error);
            QVERIFY(cells == kept); // a bad image changes nothing
        }
    }

    void fieldsAsALoadReadsThem()
    {
        // A cell of the default unit, its new bytes ("" keeps it), and what a load reads there.
        const std::tuple<uint8_t, QByteArray, QString> rows[] = {
            {0x3F, "", "Model: 22"},
            {0x3F, "??", "Model: not a number"},
            {0x39, "", "End Title: 2"},
            {0x3C, "", "Modes: start Chapter, end Chapter"},
            {0x3D, "", "Options: Synchronize on, Squelch on"},
            {0x35, "", "End point, part 2 of 4: frame 1000 (10:00)"},
            {0x30, "x0", "Start point, part 1 of 4: not a number"},
            {0x51, "", "Init String 1, part 2 of 8: \"0KL0DS\""},
            {0x48, "Hi", "Comment, part 1 of 8: \"Hi\""},
            {0x44, "", "(not used)"}};
        CellSet unit;
        const simsync::Cells defaults = simsync::defaultCells();
        for (int i = 0; i < simsync::CellCount; ++i)
            unit.set(uint8_t(simsync::FirstCell + i), {defaults[i][0], defaults[i][1]});
        for (const auto& [address, bytes, field] : rows) {
            CellSet cells = unit;
            if (!bytes.isEmpty())
                cells.set(address, {uint8_t(bytes[0]), uint8_t(bytes[1])});
            QCOMPARE(describeCellField(cells, address), field);
        }
    }
};

CORVANE_TEST_CLASS(CellImageTest)
#include "CellImageTest.moc"
