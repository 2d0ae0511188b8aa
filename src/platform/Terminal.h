// Whether standard output is a terminal that can redraw lines in place (the
// cursor movements and erasures of ANSI/VT100 escape sequences).
#pragma once

// On Windows this also turns on the console's handling of those sequences;
// false when standard output is redirected or the console lacks them.
bool StandardOutputIsTerminal();
