#pragma once
#include <QObject>

class SavePlanTest : public QObject
{
    Q_OBJECT
private slots:
    void defaultsLocked();
    void unlockedWritesModelAndChannelFirst();
    void pointsByMode_data();
    void pointsByMode();
    void checks_data();
    void checks();
    void problemText();
    void parseWholeNumber_data();
    void parseWholeNumber();
    void roundTrip_data();
    void roundTrip();
};
