#include "win32/Win32MessageBoxes.h"

#include <atomic>

namespace {

class SystemMessageBoxes : public Win32MessageBoxes {
public:
    void Show(HWND owner, const std::string& text, MessageIcon icon, const std::string& caption) override {
        // A null caption makes the system write "Error"; the program's name is meant.
        const std::string title = caption.empty() ? ProgramName() : caption;
        ::MessageBoxA(owner, text.c_str(), title.c_str(), MB_OK | Style(icon));
    }

private:
    static UINT Style(MessageIcon icon) {
        switch (icon) {
        case MessageIcon::Information:
            return MB_ICONINFORMATION;
        case MessageIcon::Exclamation:
            return MB_ICONEXCLAMATION;
        case MessageIcon::Error:
            return MB_ICONERROR;
        }
        return 0;
    }
    // The executable's file name without its extension.
    static std::string ProgramName() {
        char path[MAX_PATH] = {};
        ::GetModuleFileNameA(nullptr, path, MAX_PATH);
        std::string name(path);
        name = name.substr(name.find_last_of("\\/") + 1);
        return name.substr(0, name.find_last_of('.'));
    }
};

std::atomic<Win32MessageBoxes*> installed{nullptr};

}  // namespace

Win32MessageBoxes& Win32MessageBoxes::Current() {
    static SystemMessageBoxes system;
    Win32MessageBoxes* boxes = installed.load();
    return boxes ? *boxes : system;
}

void Win32MessageBoxes::Install(Win32MessageBoxes* boxes) { installed.store(boxes); }
