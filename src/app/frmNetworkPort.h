#pragma once
// "Add Network Port": a device server's port (RFC 2217 or raw TCP, host and TCP port,
// in the clear or over TLS) put on the next free COM number for this run.

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

class frmNetworkPort : public QDialog
{
    Q_OBJECT
public:
    // `comNumber`: the COM number the port will take.
    frmNetworkPort(int comNumber, QWidget* parent);

    QComboBox* cmbKind;
    QLineEdit* txtHost;
    QSpinBox* txtTcpPort;
    QCheckBox* chkTls;
    QLabel* lblCom;
    QPushButton* cmdOK;
    QPushButton* cmdCancel;

    // "rfc2217://HOST:PORT" or "tcp://HOST:PORT" as entered ("+tls" after the kind when TLS
    // is ticked); "" while the host is empty.
    QString address() const;
};
