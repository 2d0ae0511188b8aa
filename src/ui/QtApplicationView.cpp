#include "ui/QtApplicationView.h"

#include "ui/MainDialog.h"
#include "ui/MessageBox.h"

#include <QCoreApplication>

void QtApplicationView::ShowMessage(const std::string& text, MessageIcon icon, const std::string& caption) {
    MessageBoxes::Current().Show(nullptr, text, icon, caption);
}

void QtApplicationView::RunMainDialog() {
    MainDialog dialog;
    dialog.exec();
}

std::string QtApplicationView::ProgramPath() { return QCoreApplication::applicationFilePath().toStdString(); }
