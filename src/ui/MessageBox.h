// The modal message boxes of the program: a text, an icon, the application
// title as caption and an OK button. Tests install boxes of their own.
#pragma once

#include <string>

class QWidget;

enum class MessageIcon {
    Information,
    Exclamation,
    Error,
};

class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;

    // The boxes in use: the installed ones, or real modal boxes.
    static MessageBoxes& Current();
    // Makes `boxes` current (not owned); null restores the real ones.
    static void Install(MessageBoxes* boxes);

    // Shows `text` with `icon` and `caption`, owned by `parent`, and returns
    // once the user has pressed OK. Events posted meanwhile are handled.
    virtual void Show(QWidget* parent, const std::string& text, MessageIcon icon, const std::string& caption) = 0;
};

// Shows `text` in a box captioned with the application title.
void ShowMessage(QWidget* parent, const std::string& text, MessageIcon icon);
// Shows string `id` as stored, without macros.
void ShowMessage(QWidget* parent, int id, MessageIcon icon);
