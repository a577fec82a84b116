#pragma once
// Certificates for the TLS tests, made by the system's openssl in a folder of their own:
// a CA, a server certificate for 127.0.0.1 that it signed, a client certificate it signed
// (common name "corvane"), and a stranger: another CA with a client certificate of the
// same name. Fingerprints are read with openssl too, as a user reads them. The folder also
// holds the admission list a client-authenticating ser2net reads (authDir()): the CA for
// the user "corvane". Qt Core only.

#include <QDir>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>

struct TlsFiles
{
    QTemporaryDir dir;
    bool ok = false;
    QString failure; // the openssl run that did not work, with its output

    TlsFiles()
    {
        const QString ec = QStringLiteral("ec_paramgen_curve:prime256v1");
        ok = dir.isValid() &&
             openssl({"req", "-x509", "-newkey", "ec", "-pkeyopt", ec, "-nodes", "-keyout",
                      path("ca.key"), "-out", path("ca.crt"), "-days", "30", "-subj",
                      "/CN=Test CA"}) &&
             openssl({"req", "-x509", "-newkey", "ec", "-pkeyopt", ec, "-nodes", "-keyout",
                      path("stranger-ca.key"), "-out", path("stranger-ca.crt"), "-days", "30",
                      "-subj", "/CN=Stranger CA"}) &&
             signed_("server", "127.0.0.1", "ca", "subjectAltName=IP:127.0.0.1,DNS:localhost") &&
             signed_("client", "corvane", "ca", "") &&
             signed_("stranger", "corvane", "stranger-ca", "") &&
             QDir().mkpath(authDir() + "/corvane/allowed_certs") &&
             QFile::copy(path("ca.crt"), authDir() + "/corvane/allowed_certs/ca.crt") &&
             openssl({"rehash", authDir() + "/corvane/allowed_certs"});
    }

    QString path(const QString& name) const { return dir.filePath(name); }
    // ser2net's authdir: a folder per user name, its allowed_certs/ the CAs it admits.
    QString authDir() const { return dir.filePath("auth"); }

    // "AB:CD:...", the SHA-256 fingerprint openssl prints for the certificate NAME.crt.
    QString fingerprint(const QString& name)
    {
        if (!fingerprints_.contains(name)) {
            QString out;
            if (!openssl({"x509", "-in", path(name + ".crt"), "-noout", "-fingerprint", "-sha256"},
                         &out))
                return {};
            fingerprints_.insert(name, out.trimmed().section('=', 1));
        }
        return fingerprints_.value(name);
    }

    // What `openssl s_client` reports of a session with the server at `port`, trusting the
    // CA: "TLSv1.3 TLS_AES_256_GCM_SHA384" (protocol and cipher), empty when it failed.
    QString sessionSeenByOpenssl(quint16 port)
    {
        QString out;
        if (!openssl({"s_client", "-connect", QStringLiteral("127.0.0.1:%1").arg(port), "-CAfile",
                      path("ca.crt"), "-verify_return_error", "-brief"},
                     &out))
            return {};
        const QString protocol = out.section("Protocol version: ", 1).section('\n', 0, 0);
        const QString cipher = out.section("Ciphersuite: ", 1).section('\n', 0, 0);
        return (protocol + ' ' + cipher).trimmed();
    }

private:
    QMap<QString, QString> fingerprints_;

    // NAME.key and NAME.crt for the common name `cn`, signed by the CA BY.crt; `extension`:
    // a line of X.509 v3 extensions, or none.
    bool signed_(const QString& name, const QString& cn, const QString& by,
                 const QString& extension)
    {
        if (!openssl({"req", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes",
                      "-keyout", path(name + ".key"), "-out", path(name + ".csr"), "-subj",
                      "/CN=" + cn}))
            return false;
        QStringList sign{"x509",
                         "-req",
                         "-in",
                         path(name + ".csr"),
                         "-CA",
                         path(by + ".crt"),
                         "-CAkey",
                         path(by + ".key"),
                         "-CAcreateserial",
                         "-out",
                         path(name + ".crt"),
                         "-days",
                         "30"};
        if (!extension.isEmpty()) {
            QFile ext(path(name + ".ext"));
            if (!ext.open(QIODevice::WriteOnly) || ext.write((extension + '\n').toUtf8()) < 0)
                return false;
            sign << "-extfile" << ext.fileName();
        }
        return openssl(sign);
    }

    // Runs openssl to its end with nothing on its input; `out`: what it printed (both
    // streams).
    bool openssl(const QStringList& args, QString* out = nullptr)
    {
        QProcess p;
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.setStandardInputFile(QProcess::nullDevice());
        p.start(QStringLiteral("openssl"), args);
        const bool done =
            p.waitForFinished(20000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
        const QString printed = QString::fromLocal8Bit(p.readAll());
        if (out)
            *out = printed;
        if (!done && failure.isEmpty())
            failure = "openssl " + args.join(' ') + ":\n" + printed;
        return done;
    }
};
