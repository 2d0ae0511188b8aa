#include "win32/Win32ApplicationView.h"

#include "win32/Win32MainDialog.h"
#include "win32/Win32MessageBoxes.h"

void Win32ApplicationView::ShowMessage(const std::string& text, MessageIcon icon, const std::string& caption) {
    Win32MessageBoxes::Current().Show(nullptr, text, icon, caption);
}

void Win32ApplicationView::RunMainDialog() {
    Win32MainDialog dialog;
    dialog.RunModal();
}

std::string Win32ApplicationView::ProgramPath() {
    char path[MAX_PATH] = {};
    const DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    return std::string(path, length < MAX_PATH ? length : 0);
}
