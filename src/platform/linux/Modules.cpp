// Run-time libraries through the dynamic loader.
#include "platform/linux/LinuxPlatform.h"

void* LinuxPlatform::LoadModule(const char*) { return nullptr; }

void* LinuxPlatform::FindEntryPoint(void*, const char*) { return nullptr; }

bool LinuxPlatform::FreeModule(void*) { return false; }

std::optional<std::string> LinuxPlatform::GetErrorMessage(uint32_t) { return std::nullopt; }
