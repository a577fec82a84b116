#include "app/CorvaneApp.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication qapp(argc, argv);
    CorvaneApp app;
    startApplication(app);
    return qapp.exec();
}
