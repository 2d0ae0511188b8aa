// The program's own file version as text, "1.00.005.000" for version 1.0.5.0.
#pragma once

#include <string>

// The four numbers of the running program's version record formatted
// "%d.%02d.%03d.%03d"; 0.00.000.000 when it carries none.
std::string GetFileVersionText();
