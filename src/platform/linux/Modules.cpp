// Run-time libraries through the dynamic loader. A failure sets the thread's
// last error to one of the module codes and keeps the loader's text for it, so
// that the error's message is the loader's own explanation.
#include "platform/linux/LinuxPlatform.h"

#include <dlfcn.h>

#include <array>

namespace {

constexpr std::array<uint32_t, 3> kModuleCodes = {LinuxPlatform::kModuleNotLoaded,
                                                  LinuxPlatform::kEntryPointNotFound,
                                                  LinuxPlatform::kInvalidModule};

// Per thread, the loader's text of the latest failure of each module code.
thread_local std::array<std::string, kModuleCodes.size()> moduleErrorTexts;

std::string* ModuleErrorText(uint32_t code) {
    for (size_t index = 0; index < kModuleCodes.size(); ++index) {
        if (kModuleCodes[index] == code) return &moduleErrorTexts[index];
    }
    return nullptr;
}

// Discards any failure text the loader still holds for this thread.
void ClearLoaderError() { ::dlerror(); }

// Records a failure: the code as the thread's last error and the loader's
// pending text, if it has one, as that code's message.
void SetModuleFailure(LinuxPlatform& platform, uint32_t code) {
    const char* text = ::dlerror();
    *ModuleErrorText(code) = text ? text : "";
    platform.SetLastError(code);
}

}  // namespace

void* LinuxPlatform::LoadModule(const char* fileName) {
    ClearLoaderError();
    // A null name would open the program itself.
    void* module = fileName ? ::dlopen(fileName, RTLD_NOW | RTLD_LOCAL) : nullptr;
    if (!module) SetModuleFailure(*this, kModuleNotLoaded);
    return module;
}

void* LinuxPlatform::FindEntryPoint(void* module, const char* name) {
    ClearLoaderError();
    // A null handle would search every loaded library.
    if (!module) {
        SetModuleFailure(*this, kInvalidModule);
        return nullptr;
    }
    void* entryPoint = name ? ::dlsym(module, name) : nullptr;
    if (!entryPoint) SetModuleFailure(*this, kEntryPointNotFound);
    return entryPoint;
}

bool LinuxPlatform::FreeModule(void* module) {
    ClearLoaderError();
    if (!module || ::dlclose(module) != 0) {
        SetModuleFailure(*this, kInvalidModule);
        return false;
    }
    return true;
}

std::optional<std::string> LinuxPlatform::GetErrorMessage(uint32_t code) {
    const std::string* text = ModuleErrorText(code);
    if (!text || text->empty()) return std::nullopt;
    return *text;
}
