#include "app/frmSimUnit.h"

#include "app/Modal.h"
#include "app/WidgetMaking.h"
#include "model/HexText.h"
#include "model/WholeFile.h"
#include "simunit/CellImage.h"
#include "simunit/SimUnit.h"
#include "transfer/CellFields.h"

#include <QComboBox>
#include <QFile>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

using simsync::Fault;
using WidgetMaking::named;

namespace {

const Fault FaultChoices[] = {Fault::None, Fault::Silence, Fault::Short3, Fault::Long5,
                              Fault::Garbage};

QString asText(uint8_t b)
{
    return b >= 32 && b < 127 ? QString(QChar(char16_t(b))) : QStringLiteral("\u00B7");
}

// Two bytes from "32 32", "3232", or two characters; false when it is neither.
bool parseHex(const QString& text, uint8_t* d0, uint8_t* d1)
{
    const QString digits = QString(text).remove(u' ');
    bool ok = false;
    const int v = digits.toInt(&ok, 16);
    if (!ok || digits.size() != 4)
        return false;
    *d0 = uint8_t(v >> 8);
    *d1 = uint8_t(v & 0xFF);
    return true;
}

bool parseText(const QString& text, uint8_t* d0, uint8_t* d1)
{
    if (text.size() != 2 || text.at(0).unicode() > 255 || text.at(1).unicode() > 255)
        return false;
    *d0 = uint8_t(text.at(0).unicode());
    *d1 = uint8_t(text.at(1).unicode());
    return true;
}

} // namespace

frmSimUnit::frmSimUnit(simsync::SimUnit& unit, Modal& modal, QWidget* parent)
    : QWidget(parent, Qt::Window), unit_(unit), modal_(modal), refresh_(new QTimer(this))
{
    setObjectName(QStringLiteral("frmSimUnit"));
    setWindowTitle(QStringLiteral("Simulated Synchronizer"));
    resize(560, 640);

    tblCells = named(new QTableWidget(simsync::CellCount, 4, this), "tblCells");
    tblCells->setHorizontalHeaderLabels({QStringLiteral("Cell"), QStringLiteral("Hex"),
                                         QStringLiteral("Text"), QStringLiteral("Field")});
    tblCells->verticalHeader()->hide();
    tblCells->horizontalHeader()->setStretchLastSection(true);
    tblCells->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    tblCells->setSelectionMode(QAbstractItemView::SingleSelection);
    cmdSimReset = named(new QPushButton(QStringLiteral("RESET"), this), "cmdSimReset");
    cmbSimFault = named(new QComboBox(this), "cmbSimFault");
    cmbSimFault->addItems({QStringLiteral("Replies: none faulty"),
                           QStringLiteral("Replies: silence"), QStringLiteral("Replies: short"),
                           QStringLiteral("Replies: long"), QStringLiteral("Replies: garbled")});
    cmdSimUnplug = named(new QPushButton(QStringLiteral("Unplug"), this), "cmdSimUnplug");
    cmdSimDefaults =
        named(new QPushButton(QStringLiteral("Factory defaults"), this), "cmdSimDefaults");
    cmdSimLoadCells =
        named(new QPushButton(QStringLiteral("Load cells from file..."), this), "cmdSimLoadCells");
    cmdSimSaveCells =
        named(new QPushButton(QStringLiteral("Save cells to file..."), this), "cmdSimSaveCells");
    lblSimLine = named(new QLabel(this), "lblSimLine");

    auto* top = new QHBoxLayout;
    top->addWidget(cmdSimReset);
    top->addWidget(cmbSimFault, 1);
    top->addWidget(cmdSimUnplug);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(cmdSimDefaults);
    bottom->addStretch(1);
    bottom->addWidget(cmdSimLoadCells);
    bottom->addWidget(cmdSimSaveCells);
    auto* column = new QVBoxLayout(this);
    column->addLayout(top);
    column->addWidget(lblSimLine);
    column->addWidget(tblCells, 1);
    column->addLayout(bottom);

    connect(cmdSimReset, &QPushButton::clicked, this, [this] { cmdSimReset_Click(); });
    connect(cmdSimUnplug, &QPushButton::clicked, this, [this] { cmdSimUnplug_Click(); });
    connect(cmdSimDefaults, &QPushButton::clicked, this, [this] { cmdSimDefaults_Click(); });
    connect(cmdSimLoadCells, &QPushButton::clicked, this, [this] { cmdSimLoadCells_Click(); });
    connect(cmdSimSaveCells, &QPushButton::clicked, this, [this] { cmdSimSaveCells_Click(); });
    connect(cmbSimFault, &QComboBox::activated, this, [this] { cmbSimFault_Click(); });
    connect(tblCells, &QTableWidget::itemChanged, this, &frmSimUnit::cellEdited);
    // A save changes a cell every 100 ms: the table follows in batches, not per write.
    refresh_->setSingleShot(true);
    refresh_->setInterval(50);
    connect(refresh_, &QTimer::timeout, this, &frmSimUnit::showCells);
    connect(&unit_, &simsync::SimUnit::cellsChanged, this, [this] {
        if (!refresh_->isActive())
            refresh_->start();
    });
    connect(&unit_, &simsync::SimUnit::lineChanged, this, &frmSimUnit::showLine);
    showCells();
    showLine();
}

void frmSimUnit::showCells()
{
    refresh_->stop();
    filling_ = true;
    CellSet set;
    for (int i = 0; i < simsync::CellCount; ++i)
        set.set(uint8_t(simsync::FirstCell + i),
                CellBytes{unit_.cells()[i][0], unit_.cells()[i][1]});
    for (int i = 0; i < simsync::CellCount; ++i) {
        const int address = simsync::FirstCell + i;
        const auto& c = unit_.cells()[i];
        const QString texts[] = {
            QStringLiteral("%1 '%2'").arg(hexByte(address), QChar(char16_t(address))),
            hexByte(c[0]) + QLatin1Char(' ') + hexByte(c[1]), asText(c[0]) + asText(c[1]),
            describeCellField(set, uint8_t(address))};
        for (int col = 0; col < 4; ++col) {
            QTableWidgetItem* item = tblCells->item(i, col);
            if (!item) {
                item = new QTableWidgetItem;
                if (col == ColAddress || col == ColField)
                    item->setFlags(item->flags() & ~Qt::ItemIsEditable);
                tblCells->setItem(i, col, item);
            }
            if (item->text() != texts[col])
                item->setText(texts[col]);
        }
    }
    // Measuring every row's text is slow: the columns are sized once, on the first fill.
    if (!sized_) {
        tblCells->resizeColumnsToContents();
        sized_ = true;
    }
    filling_ = false;
}

void frmSimUnit::cellEdited(QTableWidgetItem* item)
{
    if (filling_)
        return;
    uint8_t d0 = 0, d1 = 0;
    const bool ok = item->column() == ColHex    ? parseHex(item->text(), &d0, &d1)
                    : item->column() == ColText ? parseText(item->text(), &d0, &d1)
                                                : false;
    if (ok)
        unit_.setCell(simsync::FirstCell + item->row(), d0, d1);
    else
        showCells(); // not two bytes: the cell keeps what it had
}

void frmSimUnit::showLine()
{
    const bool in = unit_.pluggedIn();
    cmdSimUnplug->setText(in ? QStringLiteral("Unplug") : QStringLiteral("Plug in"));
    cmdSimReset->setEnabled(in);
    lblSimLine->setText(in ? QStringLiteral("Line: %1 (COM1)").arg(unit_.path())
                           : QStringLiteral("Line: unplugged"));
}

void frmSimUnit::cmdSimReset_Click()
{
    unit_.pressReset();
}

Task<> frmSimUnit::cmdSimUnplug_Click()
{
    if (unit_.pluggedIn()) {
        unit_.unplug();
    } else if (!unit_.plugIn()) {
        co_await modal_.messageBox(
            this,
            QStringLiteral("The simulated line cannot be made again: %1").arg(unit_.errorString()),
            true);
    }
}

void frmSimUnit::cmdSimDefaults_Click()
{
    unit_.loadDefaults();
}

void frmSimUnit::cmbSimFault_Click()
{
    unit_.setStandingFault(FaultChoices[std::max(0, cmbSimFault->currentIndex())]);
}

Task<> frmSimUnit::cmdSimLoadCells_Click()
{
    const QString path =
        co_await modal_.openFileName(this, QStringLiteral("Load cells from file"),
                                     QStringLiteral("Cell Images (*.cells);;All Files (*.*)"),
                                     QStringLiteral("Cell Images (*.cells)"));
    if (path.isEmpty())
        co_return;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        co_await modal_.messageBox(
            this, QStringLiteral("%1 cannot be read:\r\n%2").arg(path, file.errorString()), true);
        co_return;
    }
    simsync::Cells cells{};
    QString error;
    if (!simsync::parseCellImage(file.read(64 * 1024), &cells, &error)) {
        co_await modal_.messageBox(
            this, QStringLiteral("%1 is not a cell image:\r\n%2").arg(path, error), true);
        co_return;
    }
    unit_.loadCells(cells);
}

Task<> frmSimUnit::cmdSimSaveCells_Click()
{
    const QString path =
        co_await modal_.saveFileName(this, QStringLiteral("Save cells to file"),
                                     QStringLiteral("Cell Images (*.cells);;All Files (*.*)"),
                                     QStringLiteral("Cell Images (*.cells)"));
    if (path.isEmpty())
        co_return;
    QString reason;
    if (!writeWholeFile(path, simsync::formatCellImage(unit_.cells()), &reason))
        co_await modal_.messageBox(
            this, QStringLiteral("The cells could not be saved to %1:\r\n%2").arg(path, reason),
            true);
}
