// The modal message boxes of the Win32 dialog: MessageBoxA with an OK
// button. Tests install boxes of their own.
#pragma once

#include "dialog/DialogView.h"
#include "win32/Win32Api.h"

#include <string>

class Win32MessageBoxes {
public:
    virtual ~Win32MessageBoxes() = default;

    // The boxes in use: the installed ones, or MessageBoxA.
    static Win32MessageBoxes& Current();
    // Makes `boxes` current (not owned); null restores MessageBoxA.
    static void Install(Win32MessageBoxes* boxes);

    // Shows `text` owned by `owner` (may be null) and returns once the user
    // pressed OK; the box's own loop delivers what is posted meanwhile. An
    // empty caption stands for the program's name.
    virtual void Show(HWND owner, const std::string& text, MessageIcon icon, const std::string& caption) = 0;
};
