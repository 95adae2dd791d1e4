#include "app/application.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName("VM880 Programmer");

    vm880::Application program;
    program.Start();
    return app.exec();
}
