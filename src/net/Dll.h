// The owner of one system library loaded by file name at run time: loads it,
// looks up its entry points and releases it again, logging every step and
// every failure with the system's error text. Normally a local of the function
// that needs the library, so that leaving the function releases it.
#pragma once

#include <string>

class Dll {
public:
    Dll() = default;
    virtual ~Dll();

    Dll(const Dll&) = delete;
    Dll& operator=(const Dll&) = delete;

    // True when the library was loaded. The file name is kept either way. A
    // library still held from an earlier call is released first.
    bool Load(const char* fileName);
    // The address of a named entry point, or null when it was not found (also
    // when nothing is loaded). The caller casts it to the entry point's type.
    void* GetFunctionPtr(const char* name);
    // True when the library was released. Afterwards nothing is held and the
    // file name is empty, whatever the outcome.
    bool Unload();

    bool IsLoaded() const { return module_ != nullptr; }
    // The file name given to the last Load, empty when new or after Unload.
    const std::string& Name() const { return name_; }

private:
    void* module_ = nullptr;
    std::string name_;
};

// The calling thread's last system error as "0x%X, <system text>", or "0x%X"
// when the system has no text for it; leaves that error code as it was.
std::string GetLastErrorText();
