#include "ui/WidgetMacroWindow.h"

#include "ui/IPAddressCtrl.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>

// Controls show their own text; other widgets, such as the progress bar,
// keep theirs as the window title.
std::string WidgetMacroWindow::Text() const {
    QString text;
    if (widget_.isWindow())
        text = widget_.windowTitle();
    else if (auto* label = qobject_cast<QLabel*>(&widget_))
        text = label->text();
    else if (auto* button = qobject_cast<QAbstractButton*>(&widget_))
        text = button->text();
    else if (auto* edit = qobject_cast<QLineEdit*>(&widget_))
        text = edit->text();
    else if (auto* address = qobject_cast<IPAddressCtrl*>(&widget_))
        text = address->Text();
    else
        text = widget_.windowTitle();
    return text.toStdString();
}

void WidgetMacroWindow::SetText(const std::string& text) {
    const QString value = QString::fromStdString(text);
    if (widget_.isWindow())
        widget_.setWindowTitle(value);
    else if (auto* label = qobject_cast<QLabel*>(&widget_))
        label->setText(value);
    else if (auto* button = qobject_cast<QAbstractButton*>(&widget_))
        button->setText(value);
    else if (auto* edit = qobject_cast<QLineEdit*>(&widget_))
        edit->setText(value);
    else if (auto* address = qobject_cast<IPAddressCtrl*>(&widget_))
        address->SetText(value);
    else
        widget_.setWindowTitle(value);
}

void WidgetMacroWindow::ForEachChild(const std::function<void(MacroWindow&)>& visit) {
    const QObjectList children = widget_.children();
    for (QObject* object : children) {
        auto* child = qobject_cast<QWidget*>(object);
        if (!child || child->isWindow()) continue;
        WidgetMacroWindow window(*child);
        visit(window);
    }
}
