#include "ui/AboutDlg.h"

#include "support/MacroWindow.h"
#include "ui/DialogResources.h"
#include "ui/FileVersionText.h"
#include "ui/WidgetMacroWindow.h"
#include "ui_AboutDlg.h"

AboutDlg::AboutDlg(QWidget* parent) : QDialog(parent), ui_(std::make_unique<Ui::AboutDlg>()) {
    LoadDialogResources();
    ui_->setupUi(this);
    OnInitDialog();
}

AboutDlg::~AboutDlg() = default;

void AboutDlg::OnInitDialog() {
    const std::string version = GetFileVersionText();
    WidgetMacroWindow window(*this);
    ApplyFormattedMacrosToWindow(window, "VERSION=%s", version.c_str());
    ui_->okButton->setFocus();
}
