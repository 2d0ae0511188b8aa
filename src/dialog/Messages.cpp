#include "dialog/Messages.h"

#include "platform/Platform.h"
#include "support/StringIds.h"

std::string ApplicationTitle() { return Platform::Current().LoadStringResource(kIdsAppTitle); }

void ShowDialogMessage(DialogView& view, const std::string& text, MessageIcon icon) {
    view.ShowMessage(text, icon, ApplicationTitle());
}

void ShowDialogMessage(DialogView& view, unsigned id, MessageIcon icon) {
    ShowDialogMessage(view, Platform::Current().LoadStringResource(id), icon);
}
