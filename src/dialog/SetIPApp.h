// The program's start-up: the log, the socket layer, a word about missing
// network rights, and the main dialog run modally. The program ends when the
// dialog closes.
#pragma once

#include "dialog/DialogView.h"

#include <string>

// What start-up needs from the toolkit before there is a dialog.
class ApplicationView {
public:
    virtual ~ApplicationView() = default;
    // A modal box without an owner window (see DialogView::ShowMessage).
    virtual void ShowMessage(const std::string& text, MessageIcon icon, const std::string& caption) = 0;
    // Builds the main dialog over its own view and runs it until it ends.
    virtual void RunMainDialog() = 0;
    // The path of the running program, for the rights warning.
    virtual std::string ProgramPath() = 0;
};

class SetIPApp {
public:
    explicit SetIPApp(ApplicationView& view) : view_(view) {}

    // Runs the whole program; returns false, as no message loop follows.
    bool InitInstance();

private:
    // Tells the user which network rights the program lacks and how to grant them.
    void WarnAboutMissingRights();

    ApplicationView& view_;
};
