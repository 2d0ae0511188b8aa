// The Windows headers as the Win32 dialog uses them: ANSI calls, no min/max
// macros, the common controls.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif

// clang-format off
#include <windows.h>
#include <commctrl.h>
// clang-format on
