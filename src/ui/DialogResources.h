// The dialogs' compiled-in pictures (the icons); a static library has to
// register them before first use.
#pragma once

class QIcon;

void LoadDialogResources();
// Icon resource `id` (100 or 140) in both of its sizes.
QIcon DialogIcon(int id);
