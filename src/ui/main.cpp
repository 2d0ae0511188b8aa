#include "ui/SetIPApp.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    SetIPApp startUp;
    startUp.InitInstance();
    return 0;
}
