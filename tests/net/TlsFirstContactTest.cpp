// Adding a TLS device server's port from the finder: the server's certificate is looked at
// first. One that the trust given vouches for is added as entered; one that nothing here
// vouches for is shown with its fingerprint and pinned only when the user says yes; a
// server that cannot be reached is told and nothing is added.

#include "../finder/FinderRig.h"
#include "Ser2net.h"
#include "TlsFiles.h"
#include "app/frmFinder.h"
#include "app/frmNetworkPort.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QSpinBox>

class TlsFirstContactTest : public QObject
{
    Q_OBJECT
    std::unique_ptr<TlsFiles> files_;

private slots:
    void initTestCase()
    {
        QVERIFY2(Ser2net::installed(),
                 "ser2net is missing (tools/setup-deps.sh --with-test-servers installs it)");
        files_ = std::make_unique<TlsFiles>();
        QVERIFY2(files_->ok, qPrintable(files_->failure));
    }

    void addPort_data()
    {
        QTest::addColumn<QString>("trust");  // "ca": the CA given beforehand, else none
        QTest::addColumn<QString>("answer"); // to the question, if one comes
        QTest::addColumn<bool>("listening"); // the server is there
        QTest::addColumn<QString>("added");  // COM3's address, %port and %pin in place; "" none
        QTest::addColumn<QString>("told");   // the question's or message's text, a pattern
        QTest::newRow("unknown certificate, trusted")
            << ""
            << "Yes" << true << "rfc2217+tls://127.0.0.1:%port?pin=%pin"
            << "^rfc2217\\+tls://127\\.0\\.0\\.1:%port shows a certificate that is not trusted "
               "here:\n.+\n\nIssued to: 127\\.0\\.0\\.1\nFingerprint \\(SHA-256\\):\n%pin\n\n";
        QTest::newRow("unknown certificate, refused") << ""
                                                      << "No" << true << ""
                                                      << "Fingerprint \\(SHA-256\\):\n%pin\n";
        QTest::newRow("signed by the CA given")
            << "ca"
            << "" << true << "rfc2217+tls://127.0.0.1:%port?ca=%ca"
            << "";
        QTest::newRow("nobody listens")
            << ""
            << "" << false << ""
            << "^rfc2217\\+tls://127\\.0\\.0\\.1:%port cannot be added: Connection refused$";
    }

    void addPort()
    {
        QFETCH(QString, trust);
        QFETCH(QString, answer);
        QFETCH(bool, listening);
        QFETCH(QString, added);
        QFETCH(QString, told);
        FinderRig r;
        QVERIFY(r.startUnits({1}, {{2, "/nonexistent/ttyGone"}}));
        SimSync unit;
        QVERIFY(unit.start());
        std::unique_ptr<Ser2net> server;
        quint16 port = freeTcpPort();
        if (listening) {
            server = std::make_unique<Ser2net>(
                QStringList{unit.path()}, true,
                Ser2net::Tls{files_->path("server.crt"), files_->path("server.key"), QString()});
            QVERIFY(server->ok);
            port = server->port;
        }
        if (trust == "ca") {
            TlsTrust t;
            t.caFile = files_->path("ca.crt");
            r.f.app->ports.setTlsDefaults(t);
        }
        const auto placed = [&](QString text) {
            return text.replace("%port", QString::number(port))
                .replace("%pin", files_->fingerprint("server"))
                .replace("%ca", files_->path("ca.crt"));
        };
        frmFinder& fi = r.openFinder();
        bool asked = false;
        r.f.modal.onDialog = [&](const Modal::Request& request) {
            auto* d = qobject_cast<frmNetworkPort*>(request.dialog);
            QVERIFY(d);
            d->txtHost->setText("127.0.0.1");
            d->txtTcpPort->setValue(port);
            d->chkTls->setChecked(true);
            asked = true;
            QTest::mouseClick(d->cmdOK, Qt::LeftButton);
        };
        if (!answer.isEmpty())
            r.f.modal.questionAnswers << answer;
        const int boxesBefore = r.f.modal.messages().size();
        fi.menuAddNetworkPort->trigger();
        QTRY_VERIFY(asked);
        // The look ends one way or another: the port is there, or a box said why not.
        QTRY_VERIFY_WITH_TIMEOUT(
            !r.f.app->ports.devicePath(3).isEmpty() ||
                !(r.f.modal.questions() + r.f.modal.messages().mid(boxesBefore)).isEmpty(),
            10000);
        const QStringList shown = r.f.modal.questions() + r.f.modal.messages().mid(boxesBefore);
        if (told.isEmpty()) {
            QVERIFY2(shown.isEmpty(), qPrintable(shown.join('|')));
        } else {
            QCOMPARE(shown.size(), 1);
            const QRegularExpression pattern(placed(told));
            QVERIFY2(pattern.match(shown.first()).hasMatch(), qPrintable(shown.first()));
        }
        QTRY_COMPARE(r.f.app->ports.devicePath(3), placed(added));
        // The look sends nothing of its own: the unit has heard no frame.
        QCOMPARE(unit.framesReceived(), 0);
        if (added.isEmpty())
            return;
        // The port added opens as the finder lists it, without its trust in the name.
        QTRY_COMPARE(fi.cmbPort->currentText(), QString("COM3"));
        QCOMPARE(fi.cmbPort->currentData(Qt::ToolTipRole).toString(),
                 placed("rfc2217+tls://127.0.0.1:%port"));
    }
};

CORVANE_TEST_CLASS(TlsFirstContactTest)
#include "TlsFirstContactTest.moc"
