// The dialogs' compiled-in pictures (the icons); a static library has to
// register them before first use.
#pragma once

void LoadDialogResources();
