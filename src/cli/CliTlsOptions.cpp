#include "cli/CliTlsOptions.h"

#include <QCommandLineParser>
#include <QFileInfo>

namespace CliTlsOptions {

void add(QCommandLineParser& parser)
{
    parser.addOption({QStringLiteral("ca"),
                      QStringLiteral("TLS addresses (rfc2217+tls://, tcp+tls://): trust servers "
                                     "whose certificate these CA certificates (PEM) signed."),
                      QStringLiteral("FILE")});
    parser.addOption({QStringLiteral("pin"),
                      QStringLiteral("TLS addresses: trust exactly the server certificate with "
                                     "this SHA-256 fingerprint (as openssl x509 -fingerprint "
                                     "-sha256 prints it)."),
                      QStringLiteral("SHA256")});
    parser.addOption({QStringLiteral("cert"),
                      QStringLiteral("TLS addresses: the client certificate (PEM) for servers "
                                     "that ask for one; with --key."),
                      QStringLiteral("FILE")});
    parser.addOption({QStringLiteral("key"),
                      QStringLiteral("The client certificate's key (PEM, no passphrase)."),
                      QStringLiteral("FILE")});
}

TlsTrust read(const QCommandLineParser& parser, QString* error)
{
    TlsTrust t;
    const auto file = [&](const char* option) {
        const QString path = parser.value(QLatin1String(option));
        if (path.isEmpty() || !error->isEmpty())
            return path;
        if (!QFileInfo(path).isReadable())
            *error = QStringLiteral("--%1 %2: no such file, or it cannot be read")
                         .arg(QLatin1String(option), path);
        return QFileInfo(path).absoluteFilePath();
    };
    t.caFile = file("ca");
    t.certFile = file("cert");
    t.keyFile = file("key");
    const QString pin = parser.value(QStringLiteral("pin"));
    if (!pin.isEmpty()) {
        t.pin = TlsTrust::parsePin(pin);
        if (t.pin.isEmpty() && error->isEmpty())
            *error = QStringLiteral("--pin must be %1, not \"%2\"").arg(TlsTrust::pinForm(), pin);
    }
    if (error->isEmpty() && t.certFile.isEmpty() != t.keyFile.isEmpty())
        *error = QStringLiteral("a client certificate needs both --cert and --key");
    return error->isEmpty() ? t : TlsTrust{};
}

} // namespace CliTlsOptions
