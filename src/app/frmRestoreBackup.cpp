#include "app/frmRestoreBackup.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

frmRestoreBackup::frmRestoreBackup(const QString& folder,
                                   const QVector<RestoreBackup::Entry>& entries, QWidget* parent)
    : QDialog(parent), entries_(entries)
{
    setObjectName(QStringLiteral("frmRestoreBackup"));
    setWindowTitle(QStringLiteral("Restore Backup"));
    lblBackups =
        new QLabel(entries.isEmpty() ? QStringLiteral("No backups in %1 yet.").arg(folder)
                                     : QStringLiteral("&Backups in %1, newest first:").arg(folder),
                   this);
    lblBackups->setObjectName(QStringLiteral("lblBackups"));
    lstBackups = new QListWidget(this);
    lstBackups->setObjectName(QStringLiteral("lstBackups"));
    lblBackups->setBuddy(lstBackups);
    // A screen reader hears the list as "Backups", not the folder's whole path.
    lstBackups->setAccessibleName(QStringLiteral("Backups"));
    for (const RestoreBackup::Entry& e : entries)
        lstBackups->addItem(e.text());
    lstBackups->setMinimumWidth(lstBackups->fontMetrics().horizontalAdvance(
                                    QStringLiteral("0000-00-00 00:00:00  COM00  model 00 "
                                                   "channel 00")) +
                                40);
    cmdRestore = new QPushButton(QStringLiteral("&Restore"), this);
    cmdRestore->setObjectName(QStringLiteral("cmdRestore"));
    cmdRestore->setDefault(true);
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    if (!entries.isEmpty())
        lstBackups->setCurrentRow(0);
    cmdRestore->setEnabled(!entries.isEmpty());

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblBackups);
    layout->addWidget(lstBackups);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdRestore);
    buttons->addWidget(cmdCancel);
    layout->addLayout(buttons);

    connect(lstBackups, &QListWidget::currentRowChanged, this,
            [this](int row) { cmdRestore->setEnabled(row >= 0); });
    connect(lstBackups, &QListWidget::itemActivated, this, [this] { accept(); });
    connect(cmdRestore, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

QString frmRestoreBackup::chosenPath() const
{
    const int row = lstBackups->currentRow();
    return row >= 0 && row < entries_.size() ? entries_[row].path : QString();
}
