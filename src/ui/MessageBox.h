// The modal message boxes of the Qt dialogs: a text, an icon, a caption and
// an OK button. Tests install boxes of their own.
#pragma once

#include "dialog/DialogView.h"

#include <string>

class QWidget;

class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;

    // The boxes in use: the installed ones, or real modal boxes.
    static MessageBoxes& Current();
    // Makes `boxes` current (not owned); null restores the real ones.
    static void Install(MessageBoxes* boxes);

    // Shows `text` with `icon` and `caption` (the program's name when
    // empty), owned by `parent`, and returns once the user has pressed OK.
    // Events posted meanwhile are handled.
    virtual void Show(QWidget* parent, const std::string& text, MessageIcon icon, const std::string& caption) = 0;
};
