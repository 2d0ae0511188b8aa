// Run-time libraries through the Windows loader, and the system's error texts.
#include "platform/windows/WindowsPlatform.h"

#include "platform/windows/WindowsApi.h"

void* WindowsPlatform::LoadModule(const char* fileName) { return ::LoadLibraryA(fileName); }

void* WindowsPlatform::FindEntryPoint(void* module, const char* name) {
    // A null handle would search the program itself.
    if (module == nullptr) {
        ::SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    return reinterpret_cast<void*>(::GetProcAddress(static_cast<HMODULE>(module), name));
}

bool WindowsPlatform::FreeModule(void* module) {
    if (module == nullptr) {
        ::SetLastError(ERROR_INVALID_HANDLE);
        return false;
    }
    return ::FreeLibrary(static_cast<HMODULE>(module)) != 0;
}

std::optional<std::string> WindowsPlatform::GetErrorMessage(uint32_t code) {
    char* text = nullptr;
    const DWORD length = ::FormatMessageA(
        FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_ALLOCATE_BUFFER, nullptr, code,
        0x400, reinterpret_cast<char*>(&text), 0, nullptr);
    if (text == nullptr) return std::nullopt;
    // The text as the system gives it, its line break included.
    std::optional<std::string> message;
    if (length > 0) message.emplace(text, length);
    ::LocalFree(text);
    return message;
}
