#pragma once
// Stories of the rack window: a fresh application whose port map holds the story's units
// (COM1 to COMn, support/Story.h), then
//   "rack"                  the rack window shown, with the units' ports
//   "backups DIR"           where writes and restores keep their backups (before "rack")
//   "press cmdScan"         a button clicked, to the end of what it started
//   "click cmdListen"       a button clicked; what it started goes on
//   "select all" / "select 0,3"   rows chosen by the user (top row 0)
//   "answer PATH"           the next file dialog's answer ("" cancels)
//   "add TEXT"              typed into the add box, then Add
//   "keys NAME KEYS"        the focus put on a control, then the keys to it
//   "await FACT~TEXT"       until the fact holds the text
//   "unit3 recovers"        COM3's unit answers again and stores every write
//   "wait MS"               time passes
//   "editor busy"           a command of the editor's holds the application's line
// and the facts: table (each row "COM3 22 1 done ok", '|' between), status (the rack's
// line), change (the last row change as heard), details:N (row N's messages and
// differences), heard:N (row N as a screen reader reads its first cell), selected (the
// chosen rows), focus, backup:N (row N's last backup column), line (the editor's),
// questions, messages.

#include "app/RackModel.h"
#include "app/frmRack.h"
#include "support/AppFixture.h"
#include "support/Awaited.h"
#include "support/Story.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>

class RackStory : public Story::Teller
{
public:
    AppFixture fx;

    explicit RackStory(const LineTiming& timing = LineTiming::unpaced()) : fx(false, timing) {}

    frmRack& rack() { return fx.app->rack(); }

protected:
    bool step(const QString& verb, const QString& rest) override
    {
        if (verb == "rack") {
            QMap<int, QString> map;
            for (const QString& item : portMap().split(',', Qt::SkipEmptyParts))
                map.insert(item.section('=', 0, 0).toInt(), item.section('=', 1));
            fx.app->ports.setTestMapping(map);
            fx.app->showRack(&fx.main());
            rack().listenSeconds = 30;
            return rack().isVisible();
        }
        if (verb.startsWith("unit") && rest == "recovers") { // silent and frozen no more
            SimSync& u = unit(verb.mid(4).toInt());
            u.setStandingFault(simsync::Fault::None);
            for (int a = 0x30; a < 0x70; ++a)
                u.freezeCell(a, false);
        } else if (verb == "backups")
            fx.app->backupFolder = rest;
        else if (verb == "editor" && rest == "busy") // a command of the editor's holds its line
            return fx.app->lease().take("load");
        else if (verb == "wait")
            until([] { return false; }, rest.toInt());
        else if (verb == "press") {
            QTest::mouseClick(ctl<QPushButton>(rack(), qPrintable(rest)), Qt::LeftButton);
            return until([this] { return !fx.app->rackModel().busy(); }) && settled();
        } else if (verb == "click")
            QTest::mouseClick(ctl<QPushButton>(rack(), qPrintable(rest)), Qt::LeftButton);
        else if (verb == "select") {
            QList<int> rows;
            for (int i = 0; i < fx.app->rackModel().rows().size(); ++i)
                if (rest == "all" || rest.split(',').contains(QString::number(i)))
                    rows << i;
            rack().selectRows(rows);
        } else if (verb == "answer")
            fx.modal.fileAnswers << rest;
        else if (verb == "add") {
            rack().txtAddUnit->setText(rest);
            QTest::mouseClick(rack().cmdAddUnit, Qt::LeftButton);
        } else if (verb == "keys") {
            // To the control itself: offscreen, no window of a test is ever the active one.
            auto* control = ctl<QWidget>(rack(), rest.section(' ', 0, 0));
            control->setFocus(Qt::TabFocusReason);
            QTest::keySequence(control, QKeySequence::fromString(rest.section(' ', 1)));
            return until([this] { return !fx.app->rackModel().busy(); }) && settled();
        } else if (verb == "await")
            return until(
                [&] { return fact(rest.section('~', 0, 0)).contains(rest.section('~', 1)); });
        else
            return Teller::step(verb, rest);
        return true;
    }

    QString fact(const QString& key) override
    {
        const QTableWidget* table = rack().tblRack;
        const auto cell = [table](int row, int column) {
            return table->item(row, column) ? table->item(row, column)->text() : QString();
        };
        if (key == "table") {
            QStringList rows;
            for (int r = 0; r < table->rowCount(); ++r) {
                QStringList cells;
                for (int c : {0, 2, 3, 4, 5})
                    if (!cell(r, c).isEmpty())
                        cells << cell(r, c);
                rows << cells.join(' ');
            }
            return rows.join('|');
        }
        if (key == "status")
            return rack().lblRackStatus->text();
        if (key == "change")
            return rack().lblRowChange->text();
        if (key.startsWith("details:")) {
            rack().tblRack->setCurrentCell(key.mid(8).toInt(), 0, QItemSelectionModel::NoUpdate);
            return rack().txtRackDetails->toPlainText().split('\n').join('|');
        }
        if (key.startsWith("heard:"))
            return table->item(key.mid(6).toInt(), 0)->data(Qt::AccessibleTextRole).toString();
        if (key.startsWith("backup:"))
            return cell(key.mid(7).toInt(), 6);
        if (key == "selected") {
            QStringList rows;
            for (int r : rack().selectedRows())
                rows << QString::number(r);
            return rows.join(',');
        }
        if (key == "focus")
            return QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : "";
        if (key == "line") // the application's own line, as the editor holds it
            return fx.app->serial().PortOpen()
                       ? QStringLiteral("COM%1 open").arg(fx.app->serial().CommPort())
                       : "closed";
        if (key == "questions")
            return fx.modal.questions().join('|');
        if (key == "messages")
            return fx.modal.messages().join('|');
        return Teller::fact(key);
    }

private:
    // The window has shown what the action ended with.
    bool settled()
    {
        return until([this] { return rack().cmdScan->isEnabled(); });
    }
};
