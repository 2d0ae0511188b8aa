#include "ui/AboutDlg.h"

#include "dialog/AboutBox.h"
#include "ui/DialogResources.h"
#include "ui/WidgetMacroWindow.h"
#include "ui_AboutDlg.h"

AboutDlg::AboutDlg(QWidget* parent) : QDialog(parent), ui_(std::make_unique<Ui::AboutDlg>()) {
    LoadDialogResources();
    ui_->setupUi(this);
    OnInitDialog();
}

AboutDlg::~AboutDlg() = default;

void AboutDlg::OnInitDialog() {
    WidgetMacroWindow window(*this);
    InitAboutBox(window);
    ui_->okButton->setFocus();
}
