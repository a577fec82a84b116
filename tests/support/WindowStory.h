#pragma once
// Stories of the editor window: a fresh application with its modal boxes answered and
// COM1's unit of support/Story.h on COM5, the port open unless asked otherwise; then
//   "set txtComment=Hi|scrEndTitle=7"   controls set as the user does, '|' between
//   "click cmdLoadFrom"  "menu menuSaveTo"   run to the command's end
//   "defaults"  "unlock" (model and channel)  "forget boxes"  "port shut"
//   "answer PATH" (the next file dialog)  "accept" (the preview's OK)
//   "load", "save" (the worker alone, its result the fact "result")  "hidden keys"
//   "run cmdFileSave" (a file command's handler, to its end)  "type txtStartFrame 77"
//   "transfer running" / "transfer done"  "keys txtComment Ctrl+G, X" (the focus put on the
//   control, then the keys to whatever has it)
//   "portmap 3=%path2,9=/dev/none --port 9=tcp://h:1" (CORVANE_PORT_MAP and --port as
//   start-up takes them; the fact "portmap" says ok or why not)
//   "open finder" (Find Synchronizer, to the end of its listing)  "press cmdConnect" (a
//   finder button, to the end of the scan and the load it handed over to)
//   "await finder~TEXT" (until the fact holds the text)
//   "backups DIR" (saves' backups; none unless given; "from the environment": as start-up
//   chooses)  "env NAME=VALUE" (for this story)  "say Yes" / "say No" (the next question's
//   answer)  "restore N" (Restore Backup..., row N chosen, OK; "restore cancel": Cancel)
// and the facts: fields{PATTERN} (the controls as pick() gives them), editor (all of them),
// changes (those that differ from "keep editor"), details (the preview's),
// boxes, messages, problems, progress (each showing of the progress window), log:Command
// (log:Event, log:Finding: that kind of wire-log entry, a line each), title, result,
// preview (the file, lines and errors it shows, or hidden), preview:lines,
// described:NAME (a control's words for a screen reader, then its tooltip), lastbox (the
// last box's icon and place), focus (the control that has it), lblUnit (the status bar's
// port and unit), ports (the finder's list: "COM3 DEVICE|..."), finder (its status lines),
// questions (the questions asked), rows (Restore Backup's list as it showed, '|' between),
// backup (the cells of the newest backup in the folder, as the fact cells gives a unit's).
// The editor is read and set as text here too: editorText, pick, setControls.

#include "app/HiddenKeys.h"
#include "app/Spinner.h"
#include "app/StartOptions.h"
#include "app/frmFileInput.h"
#include "app/frmFinder.h"
#include "app/frmMain.h"
#include "app/frmProblem.h"
#include "app/frmProgress.h"
#include "app/frmRestoreBackup.h"
#include "comm/WireLog.h"
#include "comm/modCorvaneComm.h"
#include "flows/BackupBeforeSave.h"
#include "flows/modGetSetAll.h"
#include "model/CellImage.h"
#include "support/AppFixture.h"
#include "support/Awaited.h"
#include "support/Story.h"
#include "transfer/SavePlan.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <memory>

// Every control of the editor as "name=value", sorted: a box by its text (" disabled" when
// it is), a spinner as "value/max" (" hidden" when it is), a switch or option as 1 or 0, a
// highlight mark as red, yellow, other or hidden; then the model's marks (U unreadable,
// Y out of range, per key), the model/channel lock (shut, open, or open and marked), and
// the modes and switch bits the record holds.
inline QStringList editorText(frmMain& m)
{
    QStringList out;
    const QWidget& c = *m.centralWidget();
    for (QLineEdit* b : c.findChildren<QLineEdit*>())
        out << b->objectName() + '=' + b->text() + (b->isEnabled() ? "" : " disabled");
    for (Spinner* s : c.findChildren<Spinner*>())
        out << QStringLiteral("%1=%2/%3").arg(s->objectName()).arg(s->Value()).arg(s->Max()) +
                   (s->isHidden() ? " hidden" : "");
    for (QAbstractButton* b : c.findChildren<QAbstractButton*>())
        if (b->isCheckable())
            out << b->objectName() + (b->isChecked() ? "=1" : "=0");
    for (HighlightShape* s : highlightShapes(m))
        out << s->objectName() + (s->isHidden()                               ? "=hidden"
                                  : s->FillColor() == HighlightColors::Red    ? "=red"
                                  : s->FillColor() == HighlightColors::Yellow ? "=yellow"
                                                                              : "=other");
    QString marks = "marks=";
    for (const Mark& k : m.model().marks().flags)
        marks += QString(k.Unreadable ? "U" : "") + (k.OutOfRange ? "Y" : "") + '.';
    const SyncParameters& r = m.model().record();
    out << marks
        << QString("lock=") + (m.model().modelChannelUnlocked() ? "open" : "shut") +
               (m.model().modelChannelMarked() ? " marked" : "")
        << QStringLiteral("record=%1/%2 %3")
               .arg(int(r.StartMode))
               .arg(int(r.EndMode))
               .arg(r.OptionBits);
    out.sort();
    return out;
}

// The entries of editorText that start with `pattern`, joined by '|'.
inline QString pick(frmMain& m, const QString& pattern)
{
    return editorText(m).filter(QRegularExpression("^(" + pattern + ')')).join('|');
}

// Sets controls as the user does, from "txtComment=Hi", "scrEndTitle=7", "optStartFrame=1".
inline void setControls(frmMain& m, const QStringList& tokens)
{
    for (const QString& t : tokens) {
        const QString name = t.section(u'=', 0, 0), value = t.section(u'=', 1);
        if (auto* s = m.findChild<Spinner*>(name))
            s->setValueNotify(value.toInt());
        else if (auto* b = m.findChild<QAbstractButton*>(name))
            b->setChecked(value == "1");
        else
            ctl<QLineEdit>(m, name)->setText(value);
    }
}

// Each showing of the progress window as "caption|step line|bar at show-at hide/max".
class ProgressWatch : public QObject
{
public:
    QStringList showings;
    explicit ProgressWatch(frmProgress& p) : p_(p) { p_.installEventFilter(this); }
    ~ProgressWatch() override { p_.removeEventFilter(this); }

protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        const QProgressBar* bar = ctl<QProgressBar>(p_, "ProgressBar1");
        if (e->type() == QEvent::Show)
            showings << QStringLiteral("%1|%2|%3")
                            .arg(p_.windowTitle(), ctl<QLabel>(p_, "lblProgress")->text())
                            .arg(bar->value());
        if (e->type() == QEvent::Hide && !showings.isEmpty())
            showings.last() += QStringLiteral("-%1/%2").arg(bar->value()).arg(bar->maximum());
        return false;
    }

private:
    frmProgress& p_;
};

class WindowStory : public Story::Teller
{
public:
    SimSync& sim; // COM1's unit, on COM5 of the application
    AppFixture fx;
    QStringList problems; // texts shown in the problem window (a line break as LF)
    bool ok = false;

    // Unpaced unless a paced story passes the real times.
    explicit WindowStory(bool openPort = true, const LineTiming& timing = LineTiming::unpaced())
        : sim(unit(1)), fx(false, timing)
    {
        sim.setPacing(timing);
        fx.modal.onDialog = [this](const Modal::Request& r) {
            if (auto* p = qobject_cast<frmProblem*>(r.dialog))
                problems << p->txtProblem->toPlainText();
        };
        fx.app->ports.setTestMapping({{5, sim.path()}});
        ok = sim.running() && (!openPort || step("port", "COM5"));
    }

    ~WindowStory() override
    {
        for (const QByteArray& name : std::as_const(environment_))
            qunsetenv(name.constData());
    }
    frmMain& main() { return fx.main(); }
    // A click returns once the command has come to its first wait; it ends later.
    void click(const char* button)
    {
        QTest::mouseClick(ctl<QAbstractButton>(main(), button), Qt::LeftButton);
    }
    // Clicks, then waits until the command has given the line back: it has ended.
    bool clickToEnd(const char* button)
    {
        click(button);
        return untilLeaseFree(fx.app->lease());
    }
    QStringList messages() const { return fx.modal.messages(); }
    QByteArray boxes() const { return (messages() + problems).join('|').toLocal8Bit(); }
    // Frames the unit received, as the unit names them ("ATT", "R63", "W60 90": decimal).
    QStringList frames(const QString& prefix = {}) const
    {
        return sim.frames(simsync::Direction::ToUnit).filter(QRegularExpression('^' + prefix));
    }
    // The texts of one kind of entry in the application's wire log.
    QStringList logged(WireLogEntry::Kind kind) const
    {
        QStringList out;
        for (const WireLogEntry& e : fx.app->wireLog().entries())
            if (e.kind == kind)
                out << e.text;
        return out;
    }

protected:
    bool step(const QString& verb, const QString& rest) override
    {
        frmMain& m = main();
        if (verb == "port" && rest == "shut")
            fx.app->serial().closePort();
        else if (verb == "port") {
            CommContext c = fx.app->comm();
            return awaited(modCorvaneComm::OpenSyncPort(c, int16_t(rest.mid(3).toInt()))).number == 0;
        } else if (verb == "set")
            setControls(m, rest.split('|'));
        else if (verb == "click")
            return clickToEnd(qPrintable(rest));
        else if (verb == "menu") {
            ctl<QAction>(m, rest)->trigger();
            return untilLeaseFree(fx.app->lease());
        } else if (verb == "defaults")
            m.cmdDefaults_Click();
        else if (verb == "unlock")
            m.model().setModelChannelUnlocked(true);
        else if (verb == "forget" && rest == "boxes") {
            fx.modal.clear();
            problems.clear();
        } else if (verb == "watch" && rest == "progress")
            progress_ = std::make_unique<ProgressWatch>(fx.app->progressWindow());
        else if (verb == "answer")
            fx.modal.fileAnswers << rest;
        else if (verb == "load")
            loaded_ = awaited(modGetSetAll::GetAllFromCorvane(*fx.app));
        else if (verb == "save")
            loaded_ = awaited(
                modGetSetAll::SetAllToCorvane(*fx.app, buildSavePlan(m.model().snapshot())));
        else if (verb == "hidden" && rest == "keys") {
            m.Form_KeyPress(HiddenKeys::First);
            m.Form_KeyPress(HiddenKeys::Second);
        } else if (verb == "run") { // a file command's handler, as its enabled control runs it
            QObject* command = ctl<QObject>(m, rest);
            if (command->property("enabled").toBool())
                awaited(rest == "cmdFileLoad"    ? m.cmdFileLoad_Click()
                        : rest == "menuFileLoad" ? m.menuFileLoad_Click()
                        : rest == "cmdFileSave"  ? m.cmdFileSave_Click()
                                                 : m.menuFileSave_Click());
        } else if (verb == "type") { // into a box that has the focus, over what it held
            auto* box = ctl<QLineEdit>(m, rest.section(' ', 0, 0));
            box->setFocus();
            box->selectAll();
            QTest::keyClicks(box, rest.section(' ', 1));
        } else if (verb == "keys") {
            ctl<QWidget>(m, rest.section(' ', 0, 0))->setFocus(Qt::TabFocusReason);
            QTest::keySequence(QApplication::focusWidget(),
                               QKeySequence::fromString(rest.section(' ', 1)));
        } else if (verb == "portmap") {
            QStringList parts = rest.split(" --port ");
            const QString map = parts.takeFirst();
            QString error;
            portMap_ = StartOptions::putPorts(fx.app->ports, map, parts, &error) ? "ok" : error;
        } else if (verb == "open" && rest == "finder") {
            fx.app->showFinderFromEditor();
            return until([this] { return fact("finder").contains("Finder -- Ready"); }) &&
                   untilFinderIdle();
        } else if (verb == "press") {
            QTest::mouseClick(ctl<QAbstractButton>(fx.app->finder(), qPrintable(rest)),
                              Qt::LeftButton);
            return untilFinderIdle();
        } else if (verb == "await")
            return until(
                [&] { return fact(rest.section('~', 0, 0)).contains(rest.section('~', 1)); });
        else if (verb == "backups")
            fx.app->backupFolder =
                rest == "from the environment" ? BackupBeforeSave::editorFolder() : rest;
        else if (verb == "env") {
            environment_ << rest.section('=', 0, 0).toLocal8Bit();
            qputenv(environment_.last().constData(), rest.section('=', 1).toLocal8Bit());
        } else if (verb == "say")
            fx.modal.questionAnswers << rest;
        else if (verb == "restore") { // the row chosen and OK clicked while the dialog shows
            const auto before = fx.modal.onDialog;
            fx.modal.onDialog = [&](const Modal::Request& r) {
                if (auto* d = qobject_cast<frmRestoreBackup*>(r.dialog)) {
                    rows_.clear();
                    for (int i = 0; i < d->lstBackups->count(); ++i)
                        rows_ << d->lstBackups->item(i)->text();
                    if (rest == "cancel")
                        QTest::mouseClick(d->cmdCancel, Qt::LeftButton);
                    else {
                        d->lstBackups->setCurrentRow(rest.toInt());
                        QTest::mouseClick(d->cmdRestore, Qt::LeftButton);
                    }
                }
            };
            ctl<QAction>(m, "menuRestoreBackup")->trigger();
            const bool ended = untilFinderIdle();
            fx.modal.onDialog = before;
            return ended;
        } else if (verb == "transfer") // a transfer running, or not
            m.model().setTransferRunning(rest == "running");
        else if (verb == "accept")
            QTest::mouseClick(ctl<QPushButton>(fx.app->fileInput(), "cmdAccept"), Qt::LeftButton);
        else
            return Teller::step(verb, rest);
        return true;
    }

    QString fact(const QString& key) override
    {
        static const QMap<QString, WireLogEntry::Kind> kinds{{"Command", WireLogEntry::Command},
                                                             {"Event", WireLogEntry::Event},
                                                             {"Finding", WireLogEntry::Finding},
                                                             {"Sent", WireLogEntry::Sent}};
        if (key.startsWith("fields{"))
            return pick(main(), key.mid(7).chopped(1));
        if (key == "editor")
            return editorText(main()).join('|');
        if (key == "changes") { // the controls that differ from the editor kept
            QStringList now = editorText(main());
            const QStringList before = fact("kept:editor").split('|');
            now.removeIf([&](const QString& e) { return before.contains(e); });
            return now.join('|');
        }
        if (key == "details")
            return fx.app->filePreview.details().join('\n');
        if (key == "boxes")
            return QString::fromLocal8Bit(boxes());
        if (key == "messages")
            return messages().join('|');
        if (key == "problems")
            return problems.join('|');
        if (key == "progress")
            return progress_ ? progress_->showings.join('|') : "<not watched>";
        if (key.startsWith("log:"))
            return logged(kinds.value(key.mid(4))).join('\n');
        if (key == "preview") { // shown or not, the file, its line and error counts
            frmFileInput& p = fx.app->fileInput();
            return p.isVisible() ? QStringList{p.txtFileName->text(), p.txtLines->text(),
                                               p.txtErrs->text()}
                                       .join(' ')
                                 : "hidden";
        }
        if (key == "preview:lines")
            return fx.app->fileInput().txtInput->toPlainText().remove("LoadFile: ");
        if (key == "title")
            return main().windowTitle();
        if (key == "portmap")
            return portMap_;
        if (key == "lblUnit")
            return ctl<QLabel>(main(), "lblUnit")->text();
        if (key == "ports") {
            const QComboBox* list = fx.app->finder().cmbPort;
            QStringList out;
            for (int i = 0; i < list->count(); ++i)
                out << list->itemText(i) + ' ' + list->itemData(i, Qt::ToolTipRole).toString();
            return out.join('|');
        }
        if (key == "finder")
            return fx.app->finder().txtFindStatus->toPlainText().split('\n').join('|');
        if (key == "focus")
            return QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : "";
        if (key == "result")
            return QString::number(loaded_);
        if (key == "questions")
            return fx.modal.questions().join('|');
        if (key == "rows")
            return rows_.join('|');
        if (key == "backup") { // the newest file's cells, lower-case as a unit's
            const QDir dir(fx.app->backupFolder);
            const QStringList found =
                dir.entryList(QStringList{"*.cells"}, QDir::Files, QDir::Name);
            CellImage::Cells image{};
            QString error;
            if (found.isEmpty() ||
                !CellImage::parse(ScratchFolder::read(dir.filePath(found.last())), &image, &error))
                return "<no backup in " + dir.path() + "> " + error;
            return QString::fromLatin1(Story::imageText(image));
        }
        if (key.startsWith("described:")) {
            const QWidget* w = ctl<QWidget>(main(), key.mid(10));
            return w->accessibleDescription() + '|' + w->toolTip();
        }
        if (key == "lastbox" && !fx.modal.requests.empty()) {
            const Modal::Request& r = fx.modal.requests.back();
            return QString(r.exclamation ? "exclamation " : "plain ") +
                   (r.place == Modal::Place::BesideOwner ? "beside" : "centred");
        }
        return Teller::fact(key);
    }

private:
    // Until no command holds the line, no scan runs and no load fills the editor.
    bool untilFinderIdle()
    {
        return until([this] {
            return fx.app->lease().isFree() && !fx.app->finder().isBusy() &&
                   !main().model().transferRunning();
        });
    }
    QString portMap_ = "<not mapped>";
    QList<QByteArray> environment_;
    QStringList rows_;
    std::unique_ptr<ProgressWatch> progress_;
    int loaded_ = -99;
};
