#pragma once
// The texts the synchronizer commands show in the problem window and in their boxes.
// Each problem text is a heading ("Cannot Load! ") followed by why; lines end in CR LF.

#include <QString>

namespace TransferTexts {

inline const QString CannotLoad = QStringLiteral("Cannot Load! ");
inline const QString CannotSave = QStringLiteral("Cannot Save! ");
inline const QString CannotCompare = QStringLiteral("Cannot Compare! ");
inline const QString CompareFailed = QStringLiteral("Compare Failed! ");

inline const QString PortNotAvailable =
    QStringLiteral("Serial port is not available\r\nUse Synchronizer > Find Synchronizer");
inline const QString CommunicationErrors =
    QStringLiteral("There were communications errors on the serial port or the synchronizer "
                   "is not responding.\r\n Please try again");
inline const QString NotSavedCorrectly =
    QStringLiteral("The settings did not save correctly to the synchronizer.\r\n Please try again");

// The box of an unexpected failure inside a transfer, named after the procedure.
inline QString programError(const char* procedure)
{
    return QStringLiteral("program error ") + QLatin1String(procedure);
}

// The progress window's captions and step lines.
inline const QString LoadCaption = QStringLiteral("Load from Synchronizer");
inline const QString LoadingLine = QStringLiteral("Loading.............");
inline const QString SaveCaption = QStringLiteral("Save to Synchronizer");
inline const QString SavingLine = QStringLiteral("Saving.............");
inline const QString ComparingLine = QStringLiteral("Comparing.............");

} // namespace TransferTexts
