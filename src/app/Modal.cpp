#include "app/Modal.h"

#include "app/AccessibleNames.h"
#include "app/Placement.h"
#include "model/AppIdentity.h"

#include <QDialog>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>

QString Modal::fileDialog(Request::Kind kind, QWidget* parent, const QString& title,
                          const QString& filter, const QString& selectedFilter,
                          const QString& proposedName)
{
    if (hasHandler()) {
        Request r;
        r.kind = kind;
        r.caption = title;
        r.filter = filter;
        r.selectedFilter = selectedFilter;
        r.proposedName = proposedName;
        return handler_(r);
    }
    // "*.*" means every file on Windows; elsewhere it would hide names without a dot,
    // and saved settings files get no extension.
    QString platformFilter = filter;
#ifndef Q_OS_WIN
    platformFilter.replace(QStringLiteral("(*.*)"), QStringLiteral("(*)"));
#endif
    QFileDialog dlg(parent, title, QString(), platformFilter);
    dlg.setAcceptMode(kind == Request::SaveFile ? QFileDialog::AcceptSave
                                                : QFileDialog::AcceptOpen);
    dlg.setFileMode(QFileDialog::AnyFile);
    dlg.setOption(QFileDialog::DontConfirmOverwrite, true);
    dlg.selectNameFilter(selectedFilter);
    if (!proposedName.isEmpty())
        dlg.selectFile(proposedName);
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty())
        return QString();
    return dlg.selectedFiles().constFirst();
}

void Modal::messageBox(QWidget* parent, const QString& text, bool exclamation, Place place)
{
    if (hasHandler()) {
        Request r;
        r.kind = Request::Message;
        r.caption = AppIdentity::Title;
        r.text = text;
        r.exclamation = exclamation;
        r.place = place;
        handler_(r);
        return;
    }
    QMessageBox box(exclamation ? QMessageBox::Warning : QMessageBox::NoIcon, AppIdentity::Title,
                    text, QMessageBox::Ok, parent);
    // The box keeps the text's own line breaks; a screen reader hears whole sentences.
    if (auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label")))
        label->setAccessibleName(AccessibleNames::flowingText(text));
    if (parent) {
        box.adjustSize();
        if (place == Place::BesideOwner)
            Placement::placeBeside(box, *parent->window());
        else
            Placement::centreOn(box, *parent->window());
    }
    box.exec();
}

void Modal::showDialog(QDialog* dialog)
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
        return;
    }
    dialog->exec();
}

QString Modal::openFileName(QWidget* parent, const QString& title, const QString& filter,
                            const QString& selectedFilter)
{
    return fileDialog(Request::OpenFile, parent, title, filter, selectedFilter);
}

QString Modal::saveFileName(QWidget* parent, const QString& title, const QString& filter,
                            const QString& selectedFilter, const QString& proposedName)
{
    return fileDialog(Request::SaveFile, parent, title, filter, selectedFilter, proposedName);
}
