// The Windows headers as the Win32 dialog uses them: those of the Windows
// layer, and the common controls.
#pragma once

#include "platform/windows/WindowsApi.h"

#include <commctrl.h>
