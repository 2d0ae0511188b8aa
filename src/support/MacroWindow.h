// Macros applied to a window: its caption and the texts of its direct child
// windows (static texts, buttons, edit fields, every other control alike).
#pragma once

#include "support/Format.h"
#include "support/Macros.h"

#include <functional>
#include <string>

// A window as the macros see it: a text that can be read and written, and
// its direct children. Adapters for a toolkit's windows implement it.
class MacroWindow {
public:
    virtual ~MacroWindow() = default;

    // The caption of a top-level window, the text or content of a control.
    virtual std::string Text() const = 0;
    virtual void SetText(const std::string& text) = 0;
    // Calls `visit` once for each direct child, in creation order; the
    // window passed is only valid during that call.
    virtual void ForEachChild(const std::function<void(MacroWindow&)>& visit) = 0;
};

// Applies `list` to the window's caption, then to each direct child in
// creation order, writing every text back even when it did not change.
// Children of children are left alone.
void ApplyMacroListToWindow(MacroWindow& window, const MacroList& list);

// The same with the application macros.
void ApplyMacrosToWindow(MacroWindow& window);

// The same with the application macros followed by the pairs of `format`
// formatted with the arguments.
void ApplyFormattedMacrosToWindow(MacroWindow& window, const char* format, ...) ADDRIX_PRINTF(2, 3);
