#pragma once
// The line settings string of the serial control, "1200,N,8,1": baud rate, parity
// (N none, E even, O odd, M mark, S space), data bits (5 to 8), stop bits (1, 1.5, 2).

#include <QSerialPort>
#include <QString>
#include <optional>

struct LineSettings
{
    qint32 baud = 9600;
    QSerialPort::Parity parity = QSerialPort::NoParity;
    QSerialPort::DataBits dataBits = QSerialPort::Data8;
    QSerialPort::StopBits stopBits = QSerialPort::OneStop;

    // Nothing when the string is not understood.
    static std::optional<LineSettings> parse(const QString& text);
    // Microseconds one character takes on the line (start, data, parity and stop bits).
    int charMicroseconds() const;
};
