// The demo's unit window: where it stays, how the finder lists its unit, and what its
// table, fault list and plug button do to the unit. Finding, loading and saving as such:
// tests/finder and tests/transfer.

#include "../finder/FinderRig.h"
#include "app/Spinner.h"
#include "app/frmProblem.h"
#include "app/frmSimUnit.h"
#include "simunit/SimUnit.h"

#include <QComboBox>
#include <QTableWidget>

class DemoStoryTest : public QObject
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
};

CORVANE_TEST_CLASS(DemoStoryTest)
#include "DemoStoryTest.moc"
