#pragma once
// --ca, --pin, --cert and --key: whom TLS addresses trust where they say nothing themselves.

#include "comm/TlsTrust.h"

#include <QString>

class QCommandLineParser;

namespace CliTlsOptions {
void add(QCommandLineParser& parser);
// The trust the options give; `error` set (and the trust empty) when one is malformed.
TlsTrust read(const QCommandLineParser& parser, QString* error);
} // namespace CliTlsOptions
