#pragma once
#include <QObject>

class LoadValidationTest : public QObject
{
    Q_OBJECT
private slots:
    void validation_data();
    void validation();
    void switchesModesAndBaud_data();
    void switchesModesAndBaud();
    void markPlan_data();
    void markPlan();
    void unusedYellowIsSilent();
    void reportText();
};
