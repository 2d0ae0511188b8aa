#include "ui/ControlId.h"

#include <QVariant>
#include <QWidget>

namespace {
constexpr char kControlIdProperty[] = "controlId";
}

int ControlId(const QWidget* control) {
    const QVariant id = control->property(kControlIdProperty);
    return id.isValid() ? id.toInt() : -1;
}

QWidget* FindControl(const QWidget* dialog, int id) {
    for (QWidget* child : dialog->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (ControlId(child) == id) return child;
    return nullptr;
}
