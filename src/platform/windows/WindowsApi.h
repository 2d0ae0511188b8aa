// The Windows headers as the Windows layer and its tests use them: ANSI
// calls, no min/max macros, and none of the macros that would rename
// methods of the platform seam.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif

// clang-format off
#include <winsock2.h>
#include <windows.h>
#include <iphlpapi.h>
#include <icmpapi.h>
#include <shellapi.h>
// clang-format on

// winbase.h maps FreeModule to FreeLibrary, which would rename
// Platform::FreeModule wherever both are seen.
#undef FreeModule
