#pragma once
// The preview window of a settings file being loaded.

#include <QWidget>

class CorvaneApp;

class frmFileInput : public QWidget
{
    Q_OBJECT
public:
    explicit frmFileInput(CorvaneApp& app);

private:
    CorvaneApp& app_;
};
