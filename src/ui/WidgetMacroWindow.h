// A Qt widget as the text macros see a window: the caption of a top-level
// widget or the text of a control, and its direct child controls.
#pragma once

#include "support/MacroWindow.h"

class QWidget;

class WidgetMacroWindow : public MacroWindow {
public:
    explicit WidgetMacroWindow(QWidget& widget) : widget_(widget) {}

    std::string Text() const override;
    void SetText(const std::string& text) override;
    // The child widgets that are not windows of their own, in creation order.
    void ForEachChild(const std::function<void(MacroWindow&)>& visit) override;

private:
    QWidget& widget_;
};
