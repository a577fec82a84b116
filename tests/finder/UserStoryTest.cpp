// The whole user story in one go, through the real windows against a simulated unit at
// line speed: start, find the unit after RESET, load, edit, save with compare, load again.

#include "FinderRig.h"
#include "app/HighlightShape.h"
#include "app/Spinner.h"
#include "app/frmProblem.h"
#include "support/TestRunner.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

using simsync::Direction;

namespace {
void setDigits(SimSync& unit, int address, const char* two)
{
    unit.setCell(address, uint8_t(two[0]), uint8_t(two[1]));
}

QByteArray cellBytes(SimSync& unit, int first, int count)
{
    QByteArray out;
    for (int a = first; a < first + count; ++a) {
        const auto c = unit.cell(a);
        out.append(char(c[0])).append(char(c[1]));
    }
    return out;
}

int problemsShown(const ModalRecorder& modal)
{
    int n = 0;
    for (const Modal::Request& r : modal.requests)
        n += qobject_cast<frmProblem*>(r.dialog) != nullptr;
    return n;
}
} // namespace

class UserStoryTest : public QObject
{
    Q_OBJECT
private slots:
    void findLoadEditSaveLoad();
};

void UserStoryTest::findLoadEditSaveLoad()
{
    FinderRig r;
    QVERIFY(r.startUnits({2}, true, {{1, "/nonexistent/ttyNone"}}));
    SimSync& unit = r.unit(2);
    // What the unit holds: model 7, channel 3, start at title 5, end at 12:34, "Lobby".
    setDigits(unit, 63, "07");
    setDigits(unit, 62, "03");
    setDigits(unit, 60, "80"); // start Title, end Time
    setDigits(unit, 52, "00");
    setDigits(unit, 53, "01");
    setDigits(unit, 54, "23");
    setDigits(unit, 55, "40");
    setDigits(unit, 56, "05");
    setDigits(unit, 57, "09");
    const QByteArray comment = QByteArray("Lobby") + QByteArray(11, '\a');
    for (int i = 0; i < 8; ++i)
        unit.setCell(0x48 + i, uint8_t(comment[2 * i]), uint8_t(comment[2 * i + 1]));
    frmMain& m = r.main();

    // Start: the editor alone, not connected.
    QVERIFY(m.isVisible() && m.imgNoSync->isVisible());
    QVERIFY(!r.f.app->hasFinder());

    // Synchronizer > Find Synchronizer, RESET on the unit, Try All serial ports.
    m.menuConnect->trigger();
    frmFinder& fi = r.f.app->finder();
    QVERIFY(fi.isVisible() && !m.isVisible());
    Script script;
    script.when(r.probing(2), [&] { unit.pressReset(); });
    QTest::mouseClick(fi.cmdStart, Qt::LeftButton);
    QVERIFY(script.finished());

    // The editor is back, connected and loaded, with nothing to report.
    QVERIFY(m.isVisible() && !fi.isVisible());
    QVERIFY(m.imgSync->isVisible() && !m.imgNoSync->isVisible());
    QVERIFY(r.statusLines().contains(QStringLiteral("  --- Found synchronizer on COM2")));
    QCOMPARE(m.scrModel->value(), 7);
    QCOMPARE(m.scrChannel->value(), 3);
    QVERIFY(m.optStartTitle->isChecked() && m.optEndTimecode->isChecked());
    QCOMPARE(m.scrStartTitle->value(), 5);
    QCOMPARE(m.scrEndMinutes->value(), 12);
    QCOMPARE(m.scrEndSeconds->value(), 34);
    QCOMPARE(m.txtComment->text(), QStringLiteral("Lobby"));
    for (HighlightShape* s : m.highlightShapes())
        QVERIFY(!s->isVisible());
    QVERIFY(r.f.modal.requests.empty());

    // Edit.
    QTest::mouseClick(m.optEndTitle, Qt::LeftButton);
    m.scrStartTitle->setValueNotify(12);
    m.scrEndTitle->setValueNotify(20);
    m.txtComment->selectAll();
    QTest::keyClicks(m.txtComment, "Hall 2");
    QTest::mouseClick(m.chkSquelch, Qt::LeftButton);
    QVERIFY(!m.chkSquelch->isChecked());

    // SAVE to Synchronizer: written and compared without a complaint.
    QTest::mouseClick(m.cmdSaveTo, Qt::LeftButton);
    QCOMPARE(problemsShown(r.f.modal), 0);
    QVERIFY(r.f.modal.messages().isEmpty());
    QCOMPARE(unit.cell(56), (std::array<uint8_t, 2>{'1', '2'}));
    QCOMPARE(unit.cell(57), (std::array<uint8_t, 2>{'2', '0'}));
    QCOMPARE(cellBytes(unit, 0x48, 8), QByteArray("Hall 2") + QByteArray(10, '\a'));

    // Something else in the editor, then LOAD from Synchronizer brings the saved set back.
    QTest::mouseClick(m.cmdDefaults, Qt::LeftButton);
    QCOMPARE(m.txtComment->text(), QString());
    QTest::mouseClick(m.cmdLoadFrom, Qt::LeftButton);
    QCOMPARE(problemsShown(r.f.modal), 0);
    QVERIFY(r.f.modal.messages().isEmpty());
    QCOMPARE(m.scrModel->value(), 7);
    QCOMPARE(m.scrChannel->value(), 3);
    QVERIFY(m.optStartTitle->isChecked() && m.optEndTitle->isChecked());
    QCOMPARE(m.scrStartTitle->value(), 12);
    QCOMPARE(m.scrEndTitle->value(), 20);
    QCOMPARE(m.txtComment->text(), QStringLiteral("Hall 2"));
    QVERIFY(m.chkSynchronize->isChecked() && !m.chkSquelch->isChecked());
    QVERIFY(m.imgSync->isVisible());
    QVERIFY(m.MSComm1->PortOpen());
}

CORVANE_TEST_CLASS(UserStoryTest)
#include "UserStoryTest.moc"
