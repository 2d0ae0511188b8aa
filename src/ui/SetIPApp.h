// The program's start-up: the log, the socket layer, a word about missing
// network rights, and the main dialog run modally. The program ends when the
// dialog closes.
#pragma once

class SetIPApp {
public:
    // Runs the whole program; returns false, as no message loop follows.
    bool InitInstance();

private:
    // Tells the user which network rights the program lacks and how to grant them.
    void WarnAboutMissingRights();
};
