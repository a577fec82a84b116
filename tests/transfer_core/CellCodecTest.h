#pragma once
#include <QObject>

class CellCodecTest : public QObject
{
    Q_OBJECT
private slots:
    void cellOrders();
    void twoDigit_data();
    void twoDigit();
    void point_data();
    void point();
    void modeAndOptionCells();
    void decodeNumber_data();
    void decodeNumber();
    void decodePoint_data();
    void decodePoint();
    void filterInitChar();
    void ansiText();
    void commentImage_data();
    void commentImage();
    void initImage_data();
    void initImage();
    void walks_data();
    void walks();
};
