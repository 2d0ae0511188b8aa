#include "platform/windows/WindowsApi.h"
#include "platform/windows/WindowsPlatform.h"
#include "support/Log.h"

#include <gtest/gtest.h>

namespace {

// The system's own text for a code, asked for directly.
std::string SystemText(DWORD code) {
    char* text = nullptr;
    const DWORD length = ::FormatMessageA(
        FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_ALLOCATE_BUFFER, nullptr, code,
        0x400, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string result = text ? std::string(text, length) : std::string();
    ::LocalFree(text);
    return result;
}

TEST(WindowsModules, LoadsFindsAndFreesASystemLibrary) {
    WindowsPlatform platform;
    void* kernel = platform.LoadModule("kernel32.dll");
    ASSERT_NE(kernel, nullptr);
    EXPECT_EQ(platform.FindEntryPoint(kernel, "GetTickCount"),
              reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "GetTickCount")));
    EXPECT_TRUE(platform.FreeModule(kernel));
}

TEST(WindowsModules, MissingLibraryAndEntryPointSetTheirErrorCodes) {
    WindowsPlatform platform;
    platform.SetLastError(0);
    EXPECT_EQ(platform.LoadModule("addrix-missing-library.dll"), nullptr);
    EXPECT_EQ(platform.GetLastError(), static_cast<uint32_t>(ERROR_MOD_NOT_FOUND));

    void* kernel = platform.LoadModule("kernel32.dll");
    ASSERT_NE(kernel, nullptr);
    platform.SetLastError(0);
    EXPECT_EQ(platform.FindEntryPoint(kernel, "AddrixNoSuchEntryPoint"), nullptr);
    EXPECT_EQ(platform.GetLastError(), static_cast<uint32_t>(ERROR_PROC_NOT_FOUND));
    EXPECT_TRUE(platform.FreeModule(kernel));
}

TEST(WindowsErrorMessages, GivesTheSystemTextAsReturned) {
    struct Case {
        DWORD code;
        bool hasText;
    };
    // 0x2000xxxx carries the customer bit: the system has no text for it.
    const Case cases[] = {{ERROR_MOD_NOT_FOUND, true}, {ERROR_PROC_NOT_FOUND, true}, {0x2000ABCD, false}};
    WindowsPlatform platform;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        const std::optional<std::string> message = platform.GetErrorMessage(c.code);
        ASSERT_EQ(message.has_value(), c.hasText);
        if (!c.hasText) continue;
        EXPECT_EQ(*message, SystemText(c.code));
        // The line break the system ends its texts with stays in the text.
        ASSERT_FALSE(message->empty());
        EXPECT_EQ(message->back(), '\n');
    }
}

TEST(WindowsErrorMessages, LeaveTheLastErrorCodeAlone) {
    WindowsPlatform platform;
    platform.SetLastError(ERROR_PROC_NOT_FOUND);
    platform.GetErrorMessage(ERROR_MOD_NOT_FOUND);
    EXPECT_EQ(platform.GetLastError(), static_cast<uint32_t>(ERROR_PROC_NOT_FOUND));
}

TEST(WindowsLog, KeepsTheLastErrorCodeAcrossTheDebuggerOutput) {
    // The log's lines go to the real debugger output here.
    Platform::Install(nullptr);
    Log::Instance().Configure("QRM", 3, 0, nullptr, nullptr);
    ::SetLastError(ERROR_MOD_NOT_FOUND);
    LogScope("Dll::Load").Error("Failed to load '%s'", "x.dll");
    const DWORD code = ::GetLastError();
    Log::Instance().Configure("", 2, 0, nullptr, nullptr);
    EXPECT_EQ(code, static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
}

}  // namespace
