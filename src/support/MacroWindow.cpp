#include "support/MacroWindow.h"

namespace {

void ApplyMacrosToText(MacroWindow& window, const MacroList& list) {
    std::string text = window.Text();
    ApplyMacros(text, list);
    window.SetText(text);
}

}  // namespace

void ApplyMacroListToWindow(MacroWindow& window, const MacroList& list) {
    ApplyMacrosToText(window, list);
    window.ForEachChild([&list](MacroWindow& child) { ApplyMacrosToText(child, list); });
}

void ApplyMacrosToWindow(MacroWindow& window) {
    MacroList list;
    AddApplicationMacros(list);
    ApplyMacroListToWindow(window, list);
}

void ApplyFormattedMacrosToWindow(MacroWindow& window, const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    const MacroList list = ApplicationMacrosWith(format, arguments);
    va_end(arguments);
    ApplyMacroListToWindow(window, list);
}
