// The system's arp command, launched through the shell and not awaited.
#include "platform/windows/WindowsPlatform.h"

#include "platform/windows/WindowsApi.h"

bool WindowsPlatform::LaunchArp(const std::string& parameters) {
    HINSTANCE result = ::ShellExecuteA(::GetDesktopWindow(), "open", arpProgram_.c_str(), parameters.c_str(),
                                       nullptr, SW_HIDE);
    // Values of 32 and below are the launch's error codes.
    return reinterpret_cast<INT_PTR>(result) > 32;
}
