// Dialog controls carry their template id as the property "controlId"; these
// read it and find a dialog's control by it.
#pragma once

class QWidget;

int ControlId(const QWidget* control);
// The direct child of `dialog` with that id, or null.
QWidget* FindControl(const QWidget* dialog, int id);
