#include "platform/Terminal.h"

#include <windows.h>

bool StandardOutputIsTerminal() {
    HANDLE output = ::GetStdHandle(STD_OUTPUT_HANDLE);
    DWORD mode = 0;
    // Only a console has a mode; a pipe or a file does not.
    if (output == INVALID_HANDLE_VALUE || !::GetConsoleMode(output, &mode)) return false;
    return ::SetConsoleMode(output, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING) != 0;
}
