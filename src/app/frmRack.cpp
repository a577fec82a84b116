#include "app/frmRack.h"

#include "app/Modal.h"

#include <QAccessible>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

enum Column
{
    Port,
    Device,
    Model,
    Channel,
    State,
    Result,
    Backup,
    Columns
};

QPushButton* button(QWidget* parent, const char* name, const QString& text)
{
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    return b;
}

QString numberText(std::optional<int> n)
{
    return n ? QString::number(*n) : QString();
}

} // namespace

frmRack::frmRack(RackModel& rack, Modal& modal, QWidget* parent)
    : QWidget(parent, Qt::Window), rack_(rack), modal_(modal)
{
    setObjectName(QStringLiteral("frmRack"));
    setWindowTitle(QStringLiteral("Rack"));
    tblRack = new QTableWidget(0, Columns, this);
    tblRack->setObjectName(QStringLiteral("tblRack"));
    tblRack->setHorizontalHeaderLabels({QStringLiteral("Port"), QStringLiteral("Device"),
                                        QStringLiteral("Model"), QStringLiteral("Channel"),
                                        QStringLiteral("State"), QStringLiteral("Result"),
                                        QStringLiteral("Last backup")});
    tblRack->setSelectionBehavior(QAbstractItemView::SelectRows);
    tblRack->setSelectionMode(QAbstractItemView::ExtendedSelection);
    tblRack->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tblRack->setTabKeyNavigation(false); // Tab leaves the table for the buttons
    tblRack->verticalHeader()->hide();
    tblRack->horizontalHeader()->setStretchLastSection(true);
    tblRack->setAccessibleName(QStringLiteral("Units"));

    cmdScan = button(this, "cmdScan", QStringLiteral("&Scan"));
    cmdListen = button(this, "cmdListen", QStringLiteral("&Listen"));
    cmdStop = button(this, "cmdStop", QStringLiteral("S&top"));
    txtAddUnit = new QLineEdit(this);
    txtAddUnit->setObjectName(QStringLiteral("txtAddUnit"));
    txtAddUnit->setPlaceholderText(QStringLiteral("3, COM3, /dev/ttyUSB0 or rfc2217://host:port"));
    txtAddUnit->setAccessibleName(QStringLiteral("Port, device or address to add"));
    auto* lblAddUnit = new QLabel(QStringLiteral("&Unit:"), this);
    lblAddUnit->setBuddy(txtAddUnit);
    cmdAddUnit = button(this, "cmdAddUnit", QStringLiteral("&Add"));
    cmdOpenRack = button(this, "cmdOpenRack", QStringLiteral("&Open Rack..."));
    cmdSaveRack = button(this, "cmdSaveRack", QStringLiteral("Sa&ve Rack..."));
    cmdWriteFile = button(this, "cmdWriteFile", QStringLiteral("&Write File..."));
    cmdWriteOwn = button(this, "cmdWriteOwn", QStringLiteral("Write Ow&n Files"));
    cmdVerify = button(this, "cmdVerify", QStringLiteral("Ve&rify..."));
    cmdBackup = button(this, "cmdBackup", QStringLiteral("&Backup"));
    cmdRestore = button(this, "cmdRestore", QStringLiteral("Restore Last Bac&kup"));
    cmdRestoreImage = button(this, "cmdRestoreImage", QStringLiteral("Restore &Image..."));
    cmdOpenInEditor = button(this, "cmdOpenInEditor", QStringLiteral("Open in &Editor"));
    cmdSelectFailed = button(this, "cmdSelectFailed", QStringLiteral("Select &Failed"));
    lblRackStatus = new QLabel(this);
    lblRackStatus->setObjectName(QStringLiteral("lblRackStatus"));
    lblRackStatus->setWordWrap(true);
    lblRowChange = new QLabel(this);
    lblRowChange->setObjectName(QStringLiteral("lblRowChange"));
    txtRackDetails = new QPlainTextEdit(this);
    txtRackDetails->setObjectName(QStringLiteral("txtRackDetails"));
    txtRackDetails->setReadOnly(true);
    txtRackDetails->setAccessibleName(QStringLiteral("What the current unit said"));
    txtRackDetails->setMaximumHeight(120);

    auto* fill = new QHBoxLayout;
    for (QWidget* w :
         std::initializer_list<QWidget*>{cmdScan, cmdListen, cmdStop, lblAddUnit, txtAddUnit,
                                         cmdAddUnit, cmdOpenRack, cmdSaveRack})
        fill->addWidget(w);
    auto* act = new QHBoxLayout;
    for (QWidget* w : std::initializer_list<QWidget*>{cmdWriteFile, cmdWriteOwn, cmdVerify,
                                                      cmdBackup, cmdRestore, cmdRestoreImage,
                                                      cmdOpenInEditor, cmdSelectFailed})
        act->addWidget(w);
    act->addStretch();
    auto* all = new QVBoxLayout(this);
    all->addLayout(fill);
    all->addWidget(tblRack, 1);
    all->addWidget(lblRowChange);
    all->addLayout(act);
    all->addWidget(txtRackDetails);
    all->addWidget(lblRackStatus);
    resize(860, 420);
    // Tab goes as the window reads: the top row, the table, the actions, what the unit said.
    const QList<QWidget*> tabs{
        cmdScan,     cmdListen,       cmdStop,         txtAddUnit,      cmdAddUnit,    cmdOpenRack,
        cmdSaveRack, tblRack,         cmdWriteFile,    cmdWriteOwn,     cmdVerify,     cmdBackup,
        cmdRestore,  cmdRestoreImage, cmdOpenInEditor, cmdSelectFailed, txtRackDetails};
    for (int i = 1; i < tabs.size(); ++i)
        setTabOrder(tabs[i - 1], tabs[i]);

    rack_.rowAdded = [this](int row) { addRowToTable(row); };
    rack_.rowChanged = [this](int row) {
        showRow(row);
        lblRowChange->setText(rack_.rows()[row].sentence());
        if (tblRack->currentRow() == row)
            showDetails();
    };
    rack_.status = [this](const QString& text) { lblRackStatus->setText(text); };
    for (int i = 0; i < rack_.rows().size(); ++i)
        addRowToTable(i);

    connect(cmdScan, &QPushButton::clicked, this, [this] { Await::start(cmdScan_Click()); });
    connect(cmdListen, &QPushButton::clicked, this, [this] { Await::start(cmdListen_Click()); });
    connect(cmdStop, &QPushButton::clicked, this, [this] { cmdStop_Click(); });
    connect(cmdAddUnit, &QPushButton::clicked, this, [this] { cmdAddUnit_Click(); });
    connect(txtAddUnit, &QLineEdit::returnPressed, this, [this] { cmdAddUnit_Click(); });
    connect(cmdOpenRack, &QPushButton::clicked, this,
            [this] { Await::start(cmdOpenRack_Click()); });
    connect(cmdSaveRack, &QPushButton::clicked, this,
            [this] { Await::start(cmdSaveRack_Click()); });
    connect(cmdWriteFile, &QPushButton::clicked, this,
            [this] { Await::start(cmdWriteFile_Click()); });
    connect(cmdWriteOwn, &QPushButton::clicked, this,
            [this] { Await::start(cmdWriteOwn_Click()); });
    connect(cmdVerify, &QPushButton::clicked, this, [this] { Await::start(cmdVerify_Click()); });
    connect(cmdBackup, &QPushButton::clicked, this, [this] { Await::start(cmdBackup_Click()); });
    connect(cmdRestore, &QPushButton::clicked, this, [this] { Await::start(cmdRestore_Click()); });
    connect(cmdRestoreImage, &QPushButton::clicked, this,
            [this] { Await::start(cmdRestoreImage_Click()); });
    connect(cmdOpenInEditor, &QPushButton::clicked, this,
            [this] { Await::start(cmdOpenInEditor_Click()); });
    connect(cmdSelectFailed, &QPushButton::clicked, this, [this] { cmdSelectFailed_Click(); });
    connect(tblRack, &QTableWidget::currentCellChanged, this, [this] { showDetails(); });
    showBusy();
}

void frmRack::addRowToTable(int row)
{
    tblRack->insertRow(row);
    for (int c = 0; c < Columns; ++c)
        tblRack->setItem(row, c, new QTableWidgetItem);
    showRow(row);
    lblRowChange->setText(rack_.rows()[row].sentence());
}

void frmRack::showRow(int row)
{
    const RackRow& r = rack_.rows()[row];
    const QStringList texts{r.label,
                            r.device == r.label ? QString() : r.device,
                            numberText(r.model),
                            numberText(r.channel),
                            r.state,
                            r.result,
                            r.backup.isEmpty() ? QString() : QFileInfo(r.backup).fileName()};
    const QString sentence = r.sentence();
    for (int c = 0; c < Columns; ++c) {
        QTableWidgetItem* item = tblRack->item(row, c);
        item->setText(texts[c]);
        // A listener moving along the rows hears each as one sentence.
        item->setData(Qt::AccessibleTextRole, c == Port ? sentence : texts[c]);
        item->setData(Qt::AccessibleDescriptionRole, sentence);
        item->setToolTip(c == Backup ? r.backup : QString());
    }
    showBusy();
}

void frmRack::showDetails()
{
    const int row = tblRack->currentRow();
    if (row < 0 || row >= rack_.rows().size()) {
        txtRackDetails->clear();
        return;
    }
    const RackRow& r = rack_.rows()[row];
    QStringList lines = r.said;
    for (const UnitReport::Difference& d : r.differences)
        lines << QStringLiteral("%1: the unit holds %2, the file makes %3")
                     .arg(d.field, d.unit, d.file);
    txtRackDetails->setPlainText(lines.join(QLatin1Char('\n')));
}

void frmRack::showBusy()
{
    const bool busy = rack_.busy();
    for (QWidget* w : std::initializer_list<QWidget*>{
             cmdScan, cmdListen, cmdAddUnit, txtAddUnit, cmdOpenRack, cmdWriteFile, cmdWriteOwn,
             cmdVerify, cmdBackup, cmdRestore, cmdRestoreImage, cmdOpenInEditor})
        w->setEnabled(!busy);
    cmdStop->setEnabled(busy);
}

QList<int> frmRack::selectedRows() const
{
    QList<int> rows;
    for (const QModelIndex& i : tblRack->selectionModel()->selectedRows())
        rows << i.row();
    std::sort(rows.begin(), rows.end());
    return rows;
}

void frmRack::selectRows(const QList<int>& rows)
{
    tblRack->clearSelection();
    QItemSelection chosen;
    for (int r : rows)
        chosen.select(tblRack->model()->index(r, 0), tblRack->model()->index(r, Columns - 1));
    tblRack->selectionModel()->select(chosen, QItemSelectionModel::Select);
    if (!rows.isEmpty())
        tblRack->setCurrentCell(rows.first(), 0, QItemSelectionModel::NoUpdate);
}
