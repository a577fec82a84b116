// The unit window's pure parts: the cell image file both ways, and what each cell holds
// as a load reads it.

#include "simunit/CellImage.h"
#include "support/TestRunner.h"
#include "transfer/CellFields.h"

#include <QTest>

namespace {

CellSet asSet(const simsync::Cells& cells)
{
    CellSet set;
    for (int i = 0; i < simsync::CellCount; ++i)
        set.set(uint8_t(simsync::FirstCell + i), CellBytes{cells[i][0], cells[i][1]});
    return set;
}

} // namespace

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

    void badImagesNameTheLine_data()
    {
        QTest::addColumn<QByteArray>("change"); // replaces the image's line for cell 31
        QTest::addColumn<QString>("error");
        QTest::newRow("two bytes only")
            << QByteArray("31 30") << "line 3: expected an address and two bytes in hex";
        QTest::newRow("not hex") << QByteArray("31 3G 30") << "line 3: \"3G\" is not a byte in hex";
        QTest::newRow("three digits")
            << QByteArray("31 030 30") << "line 3: \"030\" is not a byte in hex";
        QTest::newRow("outside the unit")
            << QByteArray("70 30 30") << "line 3: 70 is not a cell (30 to 6F)";
        QTest::newRow("twice") << QByteArray("30 30 30") << "line 3: cell 30 appears twice";
        QTest::newRow("gone") << QByteArray("# nothing") << "cell 31 is missing";
    }
    void badImagesNameTheLine()
    {
        QFETCH(QByteArray, change);
        QFETCH(QString, error);
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

    void fieldsAsALoadReadsThem_data()
    {
        QTest::addColumn<int>("address");
        QTest::addColumn<QByteArray>("bytes"); // "" keeps the default cell
        QTest::addColumn<QString>("field");
        QTest::newRow("model") << 0x3F << QByteArray() << "Model: 22";
        QTest::newRow("model unreadable") << 0x3F << QByteArray("??") << "Model: not a number";
        QTest::newRow("end title") << 0x39 << QByteArray() << "End Title: 2";
        QTest::newRow("modes") << 0x3C << QByteArray() << "Modes: start Chapter, end Chapter";
        QTest::newRow("options") << 0x3D << QByteArray() << "Options: Synchronize on, Squelch on";
        QTest::newRow("end point")
            << 0x35 << QByteArray() << "End point, part 2 of 4: frame 1000 (10:00)";
        QTest::newRow("point unreadable")
            << 0x30 << QByteArray("x0") << "Start point, part 1 of 4: not a number";
        QTest::newRow("init string")
            << 0x51 << QByteArray() << "Init String 1, part 2 of 8: \"0KL0DS\"";
        QTest::newRow("comment") << 0x48 << QByteArray("Hi") << "Comment, part 1 of 8: \"Hi\"";
        QTest::newRow("unused") << 0x44 << QByteArray() << "(not used)";
    }
    void fieldsAsALoadReadsThem()
    {
        QFETCH(int, address);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, field);
        simsync::Cells cells = simsync::defaultCells();
        if (!bytes.isEmpty())
            cells[address - simsync::FirstCell] = {uint8_t(bytes[0]), uint8_t(bytes[1])};
        QCOMPARE(describeCellField(asSet(cells), uint8_t(address)), field);
    }
};

CORVANE_TEST_CLASS(CellImageTest)
#include "CellImageTest.moc"
