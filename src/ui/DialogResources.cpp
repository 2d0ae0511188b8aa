#include "ui/DialogResources.h"

#include <QtGlobal>

// Outside any namespace, as the resource registration requires.
static void RegisterDialogResources() { Q_INIT_RESOURCE(dialogs); }

void LoadDialogResources() {
    static const bool loaded = (RegisterDialogResources(), true);
    (void)loaded;
}
