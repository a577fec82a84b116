#include "app/Modal.h"

#include "app/AccessibleNames.h"
#include "app/Placement.h"
#include "model/AppIdentity.h"

#include <QDialog>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>

namespace {

// Shows a box modal to the whole application and waits until it is closed. A box whose
// owner goes first is gone with it, and nothing after the wait runs.
Task<> shownUntilClosed(QDialog* box)
{
    box->setWindowModality(Qt::ApplicationModal);
    box->show();
    co_await Await::nextSignal(box, &QDialog::finished);
}

} // namespace

Task<QString> Modal::fileDialog(Request::Kind kind, QWidget* parent, QString title, QString filter,
                                QString selectedFilter, QString proposedName)
{
    if (hasHandler()) {
        Request r;
        r.kind = kind;
        r.caption = title;
        r.filter = filter;
        r.selectedFilter = selectedFilter;
        r.proposedName = proposedName;
        co_return handler_(r);
    }
    // "*.*" means every file on Windows; elsewhere it would hide names without a dot,
    // and saved settings files get no extension.
    QString platformFilter = filter;
#ifndef Q_OS_WIN
    platformFilter.replace(QStringLiteral("(*.*)"), QStringLiteral("(*)"));
#endif
    QPointer<QFileDialog> dlg = new QFileDialog(parent, title, QString(), platformFilter);
    dlg->setAcceptMode(kind == Request::SaveFile ? QFileDialog::AcceptSave
                                                 : QFileDialog::AcceptOpen);
    dlg->setFileMode(QFileDialog::AnyFile);
    dlg->setOption(QFileDialog::DontConfirmOverwrite, true);
    dlg->selectNameFilter(selectedFilter);
    if (!proposedName.isEmpty())
        dlg->selectFile(proposedName);
    co_await shownUntilClosed(dlg);
    QString chosen;
    if (dlg && dlg->result() == QDialog::Accepted && !dlg->selectedFiles().isEmpty())
        chosen = dlg->selectedFiles().constFirst();
    if (dlg)
        dlg->deleteLater();
    co_return chosen;
}

Task<> Modal::messageBox(QWidget* parent, QString text, bool exclamation, Place place)
{
    QPointer<QMessageBox> box =
        new QMessageBox(exclamation ? QMessageBox::Warning : QMessageBox::NoIcon,
                        AppIdentity::Title, text, QMessageBox::Ok, parent);
    // The box keeps the text's own line breaks; a screen reader hears whole sentences.
    if (auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label")))
        label->setAccessibleName(AccessibleNames::flowingText(text));
    if (parent) {
        box->adjustSize();
        // Over the window that asked, never over another window's controls.
        if (place == Place::BesideOwner)
            Placement::placeBesideClear(*box, *parent->window());
        else
            Placement::centreOn(*box, *parent->window());
    }
    if (hasHandler()) {
        Request r;
        r.kind = Request::Message;
        r.caption = AppIdentity::Title;
        r.text = text;
        r.exclamation = exclamation;
        r.place = place;
        r.parent = parent;
        r.at = box->frameGeometry();
        delete box;
        handler_(r);
        co_return;
    }
    co_await shownUntilClosed(box);
    if (box)
        box->deleteLater();
}

Task<bool> Modal::question(QWidget* parent, QString text)
{
    if (hasHandler()) {
        Request r;
        r.kind = Request::Question;
        r.caption = AppIdentity::Title;
        r.text = text;
        r.exclamation = true;
        r.parent = parent;
        co_return handler_(r) == QLatin1String("Yes");
    }
    QPointer<QMessageBox> box = new QMessageBox(QMessageBox::Question, AppIdentity::Title, text,
                                                QMessageBox::Yes | QMessageBox::No, parent);
    box->setDefaultButton(QMessageBox::No);
    if (auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label")))
        label->setAccessibleName(AccessibleNames::flowingText(text));
    if (parent) {
        box->adjustSize();
        Placement::centreOn(*box, *parent->window());
    }
    co_await shownUntilClosed(box);
    const bool yes = box && box->clickedButton() == box->button(QMessageBox::Yes);
    if (box)
        box->deleteLater();
    co_return yes;
}

Task<> Modal::showDialog(QDialog* dialog)
{
    if (dialog->parentWidget())
        Placement::centreOn(*dialog, *dialog->parentWidget()->window());
    if (hasHandler()) {
        Request r;
        r.kind = Request::Dialog;
        r.caption = dialog->windowTitle();
        r.dialog = dialog;
        dialog->show();
        handler_(r);
        dialog->hide();
        co_return;
    }
    co_await shownUntilClosed(dialog);
}

Task<QString> Modal::openFileName(QWidget* parent, QString title, QString filter,
                                  QString selectedFilter)
{
    return fileDialog(Request::OpenFile, parent, std::move(title), std::move(filter),
                      std::move(selectedFilter));
}

Task<QString> Modal::saveFileName(QWidget* parent, QString title, QString filter,
                                  QString selectedFilter, QString proposedName)
{
    return fileDialog(Request::SaveFile, parent, std::move(title), std::move(filter),
                      std::move(selectedFilter), std::move(proposedName));
}
