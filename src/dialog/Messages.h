// The dialog's message boxes: a text, an icon, an OK button and the
// application title (string 57344) as caption.
#pragma once

#include "dialog/DialogView.h"

#include <string>

// The caption of every box; empty when the string table has no title, so
// that the view shows the program's name.
std::string ApplicationTitle();

void ShowDialogMessage(DialogView& view, const std::string& text, MessageIcon icon);
// String `id` as stored, without macros.
void ShowDialogMessage(DialogView& view, unsigned id, MessageIcon icon);

// Shows the wait cursor for the life of a scope.
class WaitCursor {
public:
    explicit WaitCursor(DialogView& view) : view_(view) { view_.BeginWaitCursor(); }
    ~WaitCursor() { view_.EndWaitCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    DialogView& view_;
};
