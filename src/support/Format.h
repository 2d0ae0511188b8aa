// printf-style formatting into texts of any length.
#pragma once

#include <cstdarg>
#include <string>

// Lets the compiler check a printf-style format against its arguments.
#define ADDRIX_PRINTF(formatIndex, firstArgument) __attribute__((format(gnu_printf, formatIndex, firstArgument)))

std::string FormatText(const char* format, ...) ADDRIX_PRINTF(1, 2);
std::string FormatTextV(const char* format, va_list arguments);
