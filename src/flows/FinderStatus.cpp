#include "flows/FinderStatus.h"

void FinderStatus::append(const QString& text)
{
    if (receivers(SIGNAL(line(QString))) > 0)
        emit line(text);
    else
        backlog_.append(text);
}

QStringList FinderStatus::takeBacklog()
{
    QStringList lines;
    lines.swap(backlog_);
    return lines;
}

void FinderStatus::listingStarted()
{
    append(QString());
    append(QString());
    append(QStringLiteral("Looking for Serial Ports"));
}

void FinderStatus::portPossible(int16_t port)
{
    append(QStringLiteral("  Com%1 is possible").arg(port));
}

void FinderStatus::noPortAvailable()
{
    append(QStringLiteral("PROBLEM!!!"));
    append(QStringLiteral("No Serial Ports are avaliable!!"));
    append(QStringLiteral("  Close other programs that might be using"));
    append(QStringLiteral("  serial ports and try again"));
}

void FinderStatus::portTrouble(const QString& why)
{
    append(why);
}

void FinderStatus::findStarted()
{
    append(QStringLiteral("Looking for a Syncronizer"));
    append(QStringLiteral(" !!! DON'T FORGET TO HIT RESET on your synchronizer !!! --"));
}

void FinderStatus::testingPort(int16_t port)
{
    append(QString());
    append(QStringLiteral("Testing COM%1").arg(port));
}

void FinderStatus::cannotOpen(int16_t port, const QString& reason)
{
    append(QStringLiteral("Unable to Open COM%1 (%2)").arg(port).arg(reason));
}

void FinderStatus::unitFound(int16_t port, bool numbersDoubtful)
{
    append(QString());
    append(QStringLiteral("  --- Found synchronizer on COM%1").arg(port));
    if (numbersDoubtful)
        append(QStringLiteral("  --- model and/or channel number may be incorrect"));
}

void FinderStatus::noUnitFound()
{
    append(QString());
    append(QStringLiteral(" !! NO Synchronizer was Found !!"));
}

void FinderStatus::findFinished()
{
    append(QString());
    append(QStringLiteral(" === Finished Testing ==="));
    append(QString());
}
