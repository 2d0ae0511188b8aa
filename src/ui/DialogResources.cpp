#include "ui/DialogResources.h"

#include <QIcon>
#include <QString>
#include <QtGlobal>

// Outside any namespace, as the resource registration requires.
static void RegisterDialogResources() { Q_INIT_RESOURCE(dialogs); }

void LoadDialogResources() {
    static const bool loaded = (RegisterDialogResources(), true);
    (void)loaded;
}

QIcon DialogIcon(int id) {
    LoadDialogResources();
    QIcon icon;
    for (int size : {32, 16}) icon.addFile(QStringLiteral(":/icons/%1-%2.png").arg(id).arg(size));
    return icon;
}
