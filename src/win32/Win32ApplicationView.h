// Start-up in Win32: message boxes without an owner, the main dialog run
// modally, and the program's path.
#pragma once

#include "dialog/SetIPApp.h"

class Win32ApplicationView : public ApplicationView {
public:
    void ShowMessage(const std::string& text, MessageIcon icon, const std::string& caption) override;
    void RunMainDialog() override;
    std::string ProgramPath() override;
};
