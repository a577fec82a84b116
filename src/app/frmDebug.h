#pragma once
// The service window that reads and fills the synchronizer's cells directly.

#include <QWidget>

class CorvaneApp;

class frmDebug : public QWidget
{
    Q_OBJECT
public:
    explicit frmDebug(CorvaneApp& app);

private:
    CorvaneApp& app_;
};
