#include "dialog/AboutBox.h"

#include "dialog/FileVersionText.h"
#include "support/MacroWindow.h"

void InitAboutBox(MacroWindow& window) {
    const std::string version = GetFileVersionText();
    ApplyFormattedMacrosToWindow(window, "VERSION=%s", version.c_str());
}
