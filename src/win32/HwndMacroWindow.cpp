#include "win32/HwndMacroWindow.h"

std::string WindowText(HWND window) {
    const int length = ::GetWindowTextLengthA(window);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    const int copied = ::GetWindowTextA(window, text.data(), length + 1);
    text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
    return text;
}

std::string HwndMacroWindow::Text() const { return WindowText(window_); }

void HwndMacroWindow::SetText(const std::string& text) { ::SetWindowTextA(window_, text.c_str()); }

void HwndMacroWindow::ForEachChild(const std::function<void(MacroWindow&)>& visit) {
    for (HWND child = ::GetWindow(window_, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        HwndMacroWindow window(child);
        visit(window);
    }
}
