#include "app/frmNetworkPort.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

frmNetworkPort::frmNetworkPort(int comNumber, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmNetworkPort"));
    setWindowTitle(QStringLiteral("Add Network Port"));
    cmbKind = new QComboBox(this);
    cmbKind->setObjectName(QStringLiteral("cmbKind"));
    cmbKind->addItem(QStringLiteral("RFC 2217 (the line is set from here)"),
                     QStringLiteral("rfc2217"));
    cmbKind->addItem(QStringLiteral("Raw TCP (the server's line is set by hand)"),
                     QStringLiteral("tcp"));
    txtHost = new QLineEdit(this);
    txtHost->setObjectName(QStringLiteral("txtHost"));
    txtTcpPort = new QSpinBox(this);
    txtTcpPort->setObjectName(QStringLiteral("txtTcpPort"));
    txtTcpPort->setRange(1, 65535);
    txtTcpPort->setValue(2217);
    chkTls = new QCheckBox(QStringLiteral("Over &TLS (the server's certificate is checked)"), this);
    chkTls->setObjectName(QStringLiteral("chkTls"));
    lblCom = new QLabel(QStringLiteral("COM%1, for this run only").arg(comNumber), this);
    lblCom->setObjectName(QStringLiteral("lblCom"));
    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    cmdOK->setEnabled(false);
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));

    auto* form = new QFormLayout(this);
    form->addRow(QStringLiteral("&Kind:"), cmbKind);
    form->addRow(QStringLiteral("&Address:"), txtHost);
    form->addRow(QStringLiteral("&Port:"), txtTcpPort);
    form->addRow(QString(), chkTls);
    form->addRow(QStringLiteral("Becomes:"), lblCom);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    form->addRow(buttons);

    connect(txtHost, &QLineEdit::textChanged, this,
            [this] { cmdOK->setEnabled(!address().isEmpty()); });
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

QString frmNetworkPort::address() const
{
    const QString host = txtHost->text().trimmed();
    if (host.isEmpty() || host.contains(QLatin1Char('/')) || host.contains(QLatin1Char(' ')))
        return {};
    const QString shown = host.contains(QLatin1Char(':')) && !host.startsWith(QLatin1Char('['))
                              ? QStringLiteral("[%1]").arg(host)
                              : host;
    return QStringLiteral("%1%2://%3:%4")
        .arg(cmbKind->currentData().toString(),
             chkTls->isChecked() ? QStringLiteral("+tls") : QString(), shown)
        .arg(txtTcpPort->value());
}
