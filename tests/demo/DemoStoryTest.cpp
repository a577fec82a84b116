// Demo mode through the windows of one process: the simulated unit on COM1, found after
// RESET pressed in its own window, loaded, edited, saved with compare; then bad bytes put
// in a cell, a fault chosen, and the cable pulled during a load, each as a real unit
// would show them.

#include "../finder/FinderRig.h"
#include "app/HighlightShape.h"
#include "app/Spinner.h"
#include "app/frmProblem.h"
#include "app/frmSimUnit.h"
#include "simunit/SimUnit.h"
#include "support/Awaited.h"

#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QTableWidget>

namespace {

const QString CannotLoad = "Cannot Load! There were communications errors on the serial port "
                           "or the synchronizer is not responding. Please try again";

// The text a user types into a cell of the unit window's table.
void typeIntoCell(frmSimUnit& w, int address, int column, const QString& text)
{
    QTableWidget* table = ctl<QTableWidget>(w, "tblCells");
    table->item(address - simsync::FirstCell, column)->setText(text);
}

QString cellText(frmSimUnit& w, int address, int column)
{
    return ctl<QTableWidget>(w, "tblCells")->item(address - simsync::FirstCell, column)->text();
}

QImage sideBySide(QWidget& left, QWidget& right)
{
    const QPixmap a = left.grab(), b = right.grab();
    QImage out(a.width() + 12 + b.width(), std::max(a.height(), b.height()), QImage::Format_RGB32);
    out.fill(Qt::darkGray);
    QPainter p(&out);
    p.drawPixmap(0, 0, a);
    p.drawPixmap(a.width() + 12, 0, b);
    return out;
}

} // namespace

class DemoStoryTest : public QObject
{
    Q_OBJECT
private slots:
    void findLoadEditSaveThenBreakIt()
    {
        AppFixture f(true);
        QVERIFY2(f.app->inDemo(), qPrintable(f.demoError));
        QStringList problems;
        f.modal.onDialog = [&](const Modal::Request& r) {
            if (auto* p = qobject_cast<frmProblem*>(r.dialog))
                problems << p->txtProblem->toPlainText();
        };
        simsync::SimUnit& unit = f.app->demoUnit();
        frmSimUnit& w = f.app->simUnitWindow();
        QVERIFY(w.isVisible());
        frmMain& m = f.main();

        // Windows stay where the user put them: the unit window, moved, stays put when the
        // finder opens, and the editor comes back where it was.
        const QPoint unitAt = w.pos() + QPoint(30, 20), editorAt = m.pos();
        w.move(unitAt);
        // The finder lists the unit as COM1, its tooltip saying what it is.
        ctl<QAction>(m, "menuConnect")->trigger();
        QCOMPARE(w.pos(), unitAt);
        frmFinder& fi = f.app->finder();
        QComboBox* ports = ctl<QComboBox>(fi, "cmbPort");
        QCOMPARE(ports->itemText(0), QString("COM1"));
        QCOMPARE(ports->itemData(0, Qt::ToolTipRole).toString(),
                 QString("simulated synchronizer (demo)"));

        // CORVANE_SCREENSHOTS=<folder> keeps the finder and the unit window side by side.
        if (const QString folder = qEnvironmentVariable("CORVANE_SCREENSHOTS"); !folder.isEmpty())
            QVERIFY(sideBySide(fi, w).save(folder + "/demo.png"));

        // RESET in the unit window while the finder listens on COM1.
        Script script;
        script.when(
            [&] {
                return f.app->hasFinder() && f.app->finder().probe().running() &&
                       f.app->progressWindow().isVisible();
            },
            [&] { QTest::mouseClick(ctl<QPushButton>(w, "cmdSimReset"), Qt::LeftButton); });
        QTest::mouseClick(ctl<QPushButton>(fi, "cmdConnect"), Qt::LeftButton);
        // The scan holds the line until the unit it found has been loaded into the editor.
        QVERIFY(untilLeaseFree(f.app->lease()));
        QVERIFY(!f.app->wireLog().lines().filter("= load ended: 0 problems marked").isEmpty());
        QVERIFY(script.finished());
        QVERIFY(m.isVisible() && !fi.isVisible());
        QCOMPARE(m.pos(), editorAt);
        QCOMPARE(ctl<Spinner>(m, "scrModel")->value(), 22);
        QVERIFY(problems.isEmpty());
        QVERIFY(ctl<QLabel>(m, "imgSync")->isVisible());

        // Change a field and SAVE: the unit's table shows the new cell.
        ctl<Spinner>(m, "scrStartTitle")->setValueNotify(5);
        QTest::mouseClick(ctl<QPushButton>(m, "cmdSaveTo"), Qt::LeftButton);
        QVERIFY(untilLeaseFree(f.app->lease()));
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join('|')));
        QCOMPARE(unit.cells()[0x38 - simsync::FirstCell], (std::array<uint8_t, 2>{'0', '5'}));
        QTRY_COMPARE(cellText(w, 0x38, frmSimUnit::ColField), QString("Start Title: 5"));

        // A bad byte typed into the unit window: the next load marks the field red.
        typeIntoCell(w, 0x3F, frmSimUnit::ColHex, "3F 3F");
        const QString endTitle = cellText(w, 0x39, frmSimUnit::ColText);
        typeIntoCell(w, 0x39, frmSimUnit::ColText, "7"); // not two characters: refused
        QCOMPARE(cellText(w, 0x39, frmSimUnit::ColText), endTitle);
        f.modal.clear();
        QTest::mouseClick(ctl<QPushButton>(m, "cmdLoadFrom"), Qt::LeftButton);
        QVERIFY(untilLeaseFree(f.app->lease()));
        QVERIFY(problems.isEmpty());
        QVERIFY(ctl<HighlightShape>(m, "shpHiLiteModel")->isVisible());
        QCOMPARE(ctl<HighlightShape>(m, "shpHiLiteModel")->FillColor(), HighlightColors::Red);
        QCOMPARE(f.modal.messages().size(), 1); // the marks are explained once
        QVERIFY(!f.app->wireLog().lines().filter("= load ended: 1 problem marked").isEmpty());

        // Silence chosen for the replies: the load says what went wrong.
        QComboBox* fault = ctl<QComboBox>(w, "cmbSimFault");
        fault->setCurrentIndex(1);
        emit fault->activated(1);
        QTest::mouseClick(ctl<QPushButton>(m, "cmdLoadFrom"), Qt::LeftButton);
        QVERIFY(untilLeaseFree(f.app->lease()));
        QCOMPARE(problems.value(0).replace('\n', ' ').simplified(), CannotLoad);
        fault->setCurrentIndex(0);
        emit fault->activated(0);

        // The cable pulled during a load, then plugged in again under a new device.
        problems.clear();
        QPushButton* plug = ctl<QPushButton>(w, "cmdSimUnplug");
        bool pulled = false;
        f.app->cellHook = [&](uint8_t address) {
            if (address == 0x30 && !pulled) {
                pulled = true;
                QTest::mouseClick(plug, Qt::LeftButton);
            }
        };
        QTest::mouseClick(ctl<QPushButton>(m, "cmdLoadFrom"), Qt::LeftButton);
        QVERIFY(untilLeaseFree(f.app->lease()));
        f.app->cellHook = nullptr;
        QVERIFY(pulled);
        QCOMPARE(problems.size(), 1);
        QVERIFY2(problems[0].replace('\n', ' ').simplified().startsWith("Cannot Load!"),
                 qPrintable(problems[0]));
        // The picture says so at once, and the finder's status and the wire log name the port.
        QVERIFY(ctl<QLabel>(m, "imgNoSync")->isVisible() &&
                !ctl<QLabel>(m, "imgSync")->isVisible());
        QVERIFY(fi.txtFindStatus->toPlainText().contains("COM1 was lost: "));
        QVERIFY(!f.app->wireLog().lines().filter("COM1 lost: ").isEmpty());
        QCOMPARE(plug->text(), QString("Plug in"));
        QTest::mouseClick(plug, Qt::LeftButton);
        QCOMPARE(plug->text(), QString("Unplug"));
        QVERIFY(unit.pluggedIn());
        QCOMPARE(f.app->ports.devicePath(1), unit.path());
    }
};

CORVANE_TEST_CLASS(DemoStoryTest)
#include "DemoStoryTest.moc"
