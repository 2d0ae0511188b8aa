#include "dialog/SetIPApp.h"
#include "ui/QtApplicationView.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QtApplicationView view;
    SetIPApp startUp(view);
    startUp.InitInstance();
    return 0;
}
