#include "platform/Terminal.h"

#include <unistd.h>

bool StandardOutputIsTerminal() { return ::isatty(STDOUT_FILENO) == 1; }
