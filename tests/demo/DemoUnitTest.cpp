// The demo's unit window: where it stays, how the finder lists its unit, and what its
// table, fault list and plug button do to the unit; and its pure parts: the cell image file
// both ways, and what each cell holds as a load reads it. Finding, loading and saving as
// such: tests/finder and tests/transfer.

#include "../finder/FinderRig.h"
#include "app/Spinner.h"
#include "app/frmLineMonitor.h"
#include "app/frmProblem.h"
#include "app/frmSimUnit.h"
#include "simunit/CellImage.h"
#include "simunit/SimUnit.h"
#include "transfer/CellFields.h"

#include <QComboBox>
#include <QTableWidget>
#include <tuple>

namespace {
// An image of every cell holding "01", in order after a comment line: line 3 is cell 31.
QList<QByteArray> imageLines()
{
    QList<QByteArray> lines{"# cells"};
    for (int address = 0x30; address <= 0x6F; ++address)
        lines << QByteArray::number(address, 16).toUpper() + " 30 31";
    return lines;
}
} // namespace

class DemoUnitTest : public QObject
{
    Q_OBJECT
private slots:
    // The unit window stays where the user moved it while the finder, listing the unit as
    // COM1, comes and goes. Its table follows a save; bytes typed into it change the unit's
    // cell, text not two characters changes nothing; the fault chosen makes the next load
    // fail; the plug button pulls the line and makes it again.
    void unitWindowDrivesTheUnit()
    {
        AppFixture f(true);
        QVERIFY2(f.app->inDemo(), qPrintable(f.demoError));
        QStringList problems;
        f.modal.onDialog = [&](const Modal::Request& r) {
            if (auto* p = qobject_cast<frmProblem*>(r.dialog))
                problems << p->txtProblem->toPlainText().replace('\n', ' ').simplified();
        };
        simsync::SimUnit& unit = f.app->demoUnit();
        frmSimUnit& w = f.app->simUnitWindow();
        frmMain& m = f.main();
        const auto cell = [&w](int address, int column) {
            return ctl<QTableWidget>(w, "tblCells")->item(address - simsync::FirstCell, column);
        };
        const QPoint unitAt = w.pos() + QPoint(30, 20), editorAt = m.pos();
        w.move(unitAt);
        ctl<QAction>(m, "menuConnect")->trigger();
        QCOMPARE(w.pos(), unitAt);
        frmFinder& fi = f.app->finder();
        QCOMPARE(fi.cmbPort->itemText(0) + ": " +
                     fi.cmbPort->itemData(0, Qt::ToolTipRole).toString(),
                 QString("COM1: simulated synchronizer (demo)"));
        QTest::mouseClick(fi.cmdWithout, Qt::LeftButton);
        QVERIFY(m.isVisible() && m.pos() == editorAt && w.pos() == unitAt);

        CommContext c = f.app->comm();
        QCOMPARE(awaited(modCorvaneComm::OpenSyncPort(c, 1)).number, 0);
        ctl<Spinner>(m, "scrStartTitle")->setValueNotify(5);
        QTest::mouseClick(ctl<QPushButton>(m, "cmdSaveTo"), Qt::LeftButton);
        QVERIFY(untilLeaseFree(f.app->lease()));
        QTRY_COMPARE(cell(0x38, frmSimUnit::ColField)->text(), QString("Start Title: 5"));
        cell(0x3F, frmSimUnit::ColHex)->setText("3F 41");
        QCOMPARE(unit.cells()[0x3F - simsync::FirstCell], (std::array<uint8_t, 2>{0x3F, 'A'}));
        for (const char* notTwoBytes : {"3F 41 42", "3F4", "3G 41"}) { // refused, shown as before
            cell(0x3F, frmSimUnit::ColHex)->setText(notTwoBytes);
            QCOMPARE(unit.cells()[0x3F - simsync::FirstCell], (std::array<uint8_t, 2>{0x3F, 'A'}));
            QCOMPARE(cell(0x3F, frmSimUnit::ColHex)->text(), QString("3F 41"));
        }
        cell(0x39, frmSimUnit::ColText)->setText("7"); // End Title, 6 since the save
        QCOMPARE(cell(0x39, frmSimUnit::ColText)->text(), QString("06"));

        QComboBox* fault = ctl<QComboBox>(w, "cmbSimFault");
        fault->setCurrentIndex(1);
        emit fault->activated(1);
        QTest::mouseClick(ctl<QPushButton>(m, "cmdLoadFrom"), Qt::LeftButton);
        QVERIFY(untilLeaseFree(f.app->lease()));
        QCOMPARE(problems, QStringList("Cannot Load! There were communications errors on the "
                                       "serial port or the synchronizer is not responding. "
                                       "Please try again"));

        QPushButton* plug = ctl<QPushButton>(w, "cmdSimUnplug");
        QTest::mouseClick(plug, Qt::LeftButton);
        QVERIFY(plug->text() == "Plug in" && !unit.pluggedIn());
        QTest::mouseClick(plug, Qt::LeftButton);
        QVERIFY(plug->text() == "Unplug" && unit.pluggedIn());
        QCOMPARE(f.app->ports.devicePath(1), unit.path());
    }

    // With the unit window beside the editor, a load's marks box opens as the editor's,
    // beside it only where it covers no other window, and the line monitor opened from the
    // finder is the finder's and leaves the unit window (and its RESET button) clear.
    void windowsOpenOverTheOneThatAsked()
    {
        AppFixture f(true);
        QVERIFY2(f.app->inDemo(), qPrintable(f.demoError));
        frmMain& m = f.main();
        frmSimUnit& w = f.app->simUnitWindow();
        // The offscreen screen is too narrow for both: the unit window goes right of the
        // editor, partly off the screen, where a box beside the editor would cover it.
        w.move(m.frameGeometry().right() + 20, m.y());
        const QRect unitWindow = w.frameGeometry();
        QVERIFY(w.isVisible() && !unitWindow.intersects(m.frameGeometry()));
        f.app->demoUnit().setCell(0x3F, '?', '?'); // model unreadable: the marks box
        CommContext c = f.app->comm();
        QCOMPARE(awaited(modCorvaneComm::OpenSyncPort(c, 1)).number, 0);
        QTest::mouseClick(ctl<QPushButton>(m, "cmdLoadFrom"), Qt::LeftButton);
        QVERIFY(untilLeaseFree(f.app->lease()));
        QCOMPARE(f.modal.requests.size(), size_t(1));
        const Modal::Request& marks = f.modal.requests.front();
        QVERIFY(marks.place == Modal::Place::BesideOwner);
        QCOMPARE(marks.parent, &m);
        QVERIFY2(!marks.at.intersects(unitWindow),
                 qPrintable(QString("box %1,%2 %3x%4 over the unit window")
                                .arg(marks.at.x())
                                .arg(marks.at.y())
                                .arg(marks.at.width())
                                .arg(marks.at.height())));

        ctl<QAction>(m, "menuConnect")->trigger();
        frmFinder& fi = f.app->finder();
        QVERIFY(fi.isVisible());
        // Narrow enough to open clear of the unit window on this screen.
        frmLineMonitor& monitor = f.app->lineMonitor();
        monitor.resize(300, 300);
        ctl<QAction>(fi, "menuLineMonitor")->trigger();
        QVERIFY(monitor.isVisible());
        QCOMPARE(monitor.parentWidget(), &fi);
        QVERIFY(!monitor.frameGeometry().intersects(unitWindow));
    }

    // Each cell on its line in hex, then as characters (a dot for a byte not printable).
    void formatShowsEachCell()
    {
        simsync::Cells cells{};
        cells[0] = {0x00, 0xFF};
        cells[8] = {' ', '#'};
        cells[0x11] = {'D', 0x7F};
        cells[63] = {'~', 0x80};
        const QList<QByteArray> lines = simsync::formatCellImage(cells).split('\n');
        QCOMPARE(lines.size(), 66); // a heading, 64 cells, nothing after the last newline
        QCOMPARE(lines[0], "# synchronizer cells: address d0 d1, in hex");
        QCOMPARE(lines[1], "30 00 FF   # '0' \"..\"");
        QCOMPARE(lines[9], "38 20 23   # '8' \" #\"");
        QCOMPARE(lines[18], "41 44 7F   # 'A' \"D.\"");
        QCOMPARE(lines[64], "6F 7E 80   # 'o' \"~.\"");
    }

    // Comments, blank lines, lower case, one digit, any spacing and any order are read.
    void parseReadsEachCell()
    {
        QList<QByteArray> lines = imageLines();
        lines[1] = "30 0 ff";
        lines[2] = "  31\t7e   80 # '1'";
        lines.swapItemsAt(3, 64);
        lines.insert(5, "");
        simsync::Cells cells{};
        QString error;
        QVERIFY2(simsync::parseCellImage(lines.join('\n'), &cells, &error), qPrintable(error));
        QCOMPARE(cells[0], (std::array<uint8_t, 2>{0x00, 0xFF}));
        QCOMPARE(cells[1], (std::array<uint8_t, 2>{0x7E, 0x80}));
        for (int i = 2; i < simsync::CellCount; ++i)
            QCOMPARE(cells[i], (std::array<uint8_t, 2>{'0', '1'}));
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
            QList<QByteArray> lines = imageLines();
            lines[2] = change;
            simsync::Cells cells{};
            cells.fill({'x', 'y'});
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

CORVANE_TEST_CLASS(DemoUnitTest)
#include "DemoUnitTest.moc"
