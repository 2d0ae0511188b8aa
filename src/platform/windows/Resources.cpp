// The program's own resources: its file version record and string table.
#include "platform/windows/WindowsPlatform.h"

#include "platform/windows/WindowsApi.h"

#include <vector>

namespace {

// The buffer for the program's path; a longer path counts as none.
constexpr DWORD kModulePathSize = 260;

}  // namespace

std::optional<FileVersion> WindowsPlatform::GetFileVersion() {
    char path[kModulePathSize] = {};
    const DWORD length = ::GetModuleFileNameA(nullptr, path, kModulePathSize);
    // A path that filled the buffer was cut short (and may lack its NUL).
    if (length == 0 || length >= kModulePathSize) return std::nullopt;

    DWORD ignored = 0;
    const DWORD size = ::GetFileVersionInfoSizeA(path, &ignored);
    if (size == 0) return std::nullopt;
    std::vector<char> block(size);
    if (!::GetFileVersionInfoA(path, 0, size, block.data())) return std::nullopt;

    void* root = nullptr;
    UINT rootSize = 0;
    if (!::VerQueryValueA(block.data(), "\\", &root, &rootSize) || root == nullptr ||
        rootSize < sizeof(VS_FIXEDFILEINFO)) {
        return std::nullopt;
    }
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(root);
    FileVersion version;
    version.major = HIWORD(fixed->dwFileVersionMS);
    version.minor = LOWORD(fixed->dwFileVersionMS);
    version.build = HIWORD(fixed->dwFileVersionLS);
    version.revision = LOWORD(fixed->dwFileVersionLS);
    return version;
}

std::string WindowsPlatform::LoadStringResource(unsigned id) {
    if (id > 0xFFFF) return {};
    // With no buffer the call hands out the stored UTF-16 text itself, whole.
    const wchar_t* stored = nullptr;
    const int length = ::LoadStringW(::GetModuleHandleA(nullptr), id, reinterpret_cast<wchar_t*>(&stored), 0);
    if (length <= 0 || stored == nullptr) return {};
    const int size = ::WideCharToMultiByte(CP_THREAD_ACP, 0, stored, length, nullptr, 0, nullptr, nullptr);
    if (size <= 0) return {};
    std::string text(static_cast<size_t>(size), '\0');
    ::WideCharToMultiByte(CP_THREAD_ACP, 0, stored, length, text.data(), size, nullptr, nullptr);
    return text;
}
