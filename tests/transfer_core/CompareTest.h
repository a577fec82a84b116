#pragma once
#include <QObject>

class CompareTest : public QObject
{
    Q_OBJECT
private slots:
    void differences_data();
    void differences();
    void nothingReadBack();
};
