#include "net/Dll.h"

#include "platform/Platform.h"
#include "support/Format.h"
#include "support/Log.h"

Dll::~Dll() {
    if (module_) Unload();
}

bool Dll::Load(const char* fileName) {
    const LogScope scope("Dll::Load");
    if (module_) Unload();
    name_ = fileName ? fileName : "";
    module_ = Platform::Current().LoadModule(fileName);
    if (!module_) {
        scope.Error("Failed to load '%s', Err: '%s'", name_.c_str(), GetLastErrorText().c_str());
        return false;
    }
    scope.Trace("Loaded '%s'", name_.c_str());
    return true;
}

void* Dll::GetFunctionPtr(const char* name) {
    void* entryPoint = Platform::Current().FindEntryPoint(module_, name);
    if (!entryPoint) {
        GlobalLogScope.Error("Dll::GetFunctionPtr - failed to get Fn '%s' in dll '%s', err: '%s'", name ? name : "",
                             name_.c_str(), GetLastErrorText().c_str());
    }
    return entryPoint;
}

bool Dll::Unload() {
    const LogScope scope("Dll::Unload");
    const bool released = Platform::Current().FreeModule(module_);
    if (released) {
        scope.Trace("Unloaded '%s'", name_.c_str());
    } else {
        scope.Error("Failed to unload '%s', Err: '%s'", name_.c_str(), GetLastErrorText().c_str());
    }
    module_ = nullptr;
    name_.clear();
    return released;
}

std::string GetLastErrorText() {
    Platform& platform = Platform::Current();
    const uint32_t code = platform.GetLastError();
    const std::optional<std::string> message = platform.GetErrorMessage(code);
    std::string text = message && !message->empty() ? FormatText("0x%X, %s", code, message->c_str())
                                                    : FormatText("0x%X", code);
    platform.SetLastError(code);
    return text;
}
