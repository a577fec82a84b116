#pragma once
// "Restore Backup...": the backups the editor's saves kept, one a row, newest first with the
// unit's own before the others; OK restores the chosen one.

#include "flows/RestoreBackup.h"

#include <QDialog>

class QLabel;
class QListWidget;
class QPushButton;

class frmRestoreBackup : public QDialog
{
    Q_OBJECT
public:
    frmRestoreBackup(const QString& folder, const QVector<RestoreBackup::Entry>& entries,
                     QWidget* parent);

    QLabel* lblBackups;
    QListWidget* lstBackups;
    QPushButton* cmdRestore;
    QPushButton* cmdCancel;

    // The chosen backup's path; "" when none is chosen.
    QString chosenPath() const;

private:
    QVector<RestoreBackup::Entry> entries_;
};
