#pragma once
// The synchronizer finder window.

#include <QMainWindow>

class CorvaneApp;

class frmFinder : public QMainWindow
{
    Q_OBJECT
public:
    explicit frmFinder(CorvaneApp& app);
    // The editor handed over: a separating line in the status box.
    void returnedFromEditor();

private:
    CorvaneApp& app_;
};
