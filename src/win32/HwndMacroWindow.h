// A window as the text macros see it: its text, and its direct child windows
// in creation order.
#pragma once

#include "support/MacroWindow.h"
#include "win32/Win32Api.h"

class HwndMacroWindow : public MacroWindow {
public:
    explicit HwndMacroWindow(HWND window) : window_(window) {}

    std::string Text() const override;
    void SetText(const std::string& text) override;
    void ForEachChild(const std::function<void(MacroWindow&)>& visit) override;

private:
    HWND window_;
};

// The text of any window.
std::string WindowText(HWND window);
