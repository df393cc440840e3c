#include <QApplication>

#include "Program.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    kartovex::Program program;
    program.start();
    return application.exec();
}
