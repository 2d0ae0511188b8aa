#include "RecordingPlatform.h"
#include "net/Dll.h"
#include "net/NetUtil.h"
#include "platform/windows/WindowsApi.h"
#include "platform/windows/WindowsPlatform.h"
#include "support/Format.h"
#include "support/Log.h"

#include <algorithm>

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

TEST(WindowsModules, NullHandleIsNoLibrary) {
    WindowsPlatform platform;
    platform.SetLastError(0);
    EXPECT_EQ(platform.FindEntryPoint(nullptr, "GetTickCount"), nullptr);
    EXPECT_EQ(platform.GetLastError(), static_cast<uint32_t>(ERROR_INVALID_HANDLE));
    platform.SetLastError(0);
    EXPECT_FALSE(platform.FreeModule(nullptr));
    EXPECT_EQ(platform.GetLastError(), static_cast<uint32_t>(ERROR_INVALID_HANDLE));
}

// The loader's lines with the system's codes and texts, as Windows (or Wine)
// gives them.
class WindowsLoader : public ::testing::Test {
protected:
    ScopedRecordingPlatform platform;
};

TEST_F(WindowsLoader, LogsAMissingLibraryWithTheSystemsText) {
    {
        Dll dll;
        EXPECT_FALSE(dll.Load("addrix-missing-library.dll"));
    }
    // One line for the failure, none from the destructor.
    EXPECT_EQ(platform->DebugStrings(),
              (std::vector<std::string>{FormatText("QRM:E:Dll::Load - Failed to load 'addrix-missing-library.dll', "
                                                   "Err: '0x7E, %s'\n",
                                                   SystemText(ERROR_MOD_NOT_FOUND).c_str())}));
}

TEST_F(WindowsLoader, LogsTheLifeOfARealLibrary) {
    {
        Dll dll;
        ASSERT_TRUE(dll.Load("iphlpapi.dll"));
        EXPECT_NE(dll.GetFunctionPtr("GetAdaptersInfo"), nullptr);
        EXPECT_EQ(dll.GetFunctionPtr("AddrixNoSuchEntryPoint"), nullptr);
    }
    EXPECT_EQ(platform->DebugStrings(),
              (std::vector<std::string>{
                  "QRM:T:Dll::Load - Loaded 'iphlpapi.dll'\n",
                  FormatText("QRM:E:Dll::GetFunctionPtr - failed to get Fn 'AddrixNoSuchEntryPoint' in dll "
                             "'iphlpapi.dll', err: '0x7F, %s'\n",
                             SystemText(ERROR_PROC_NOT_FOUND).c_str()),
                  "QRM:T:Dll::Unload - Unloaded 'iphlpapi.dll'\n",
              }));
}

TEST_F(WindowsLoader, LogsALookupWithNothingLoaded) {
    Dll dll;
    EXPECT_EQ(dll.GetFunctionPtr("GetAdaptersInfo"), nullptr);
    EXPECT_EQ(platform->DebugStrings(),
              (std::vector<std::string>{FormatText("QRM:E:Dll::GetFunctionPtr - failed to get Fn 'GetAdaptersInfo' in "
                                                   "dll '', err: '0x6, %s'\n",
                                                   SystemText(ERROR_INVALID_HANDLE).c_str())}));
}

TEST_F(WindowsLoader, GivesTheCodeAloneWhenTheSystemHasNoText) {
    ::SetLastError(0x2000ABCD);
    EXPECT_EQ(GetLastErrorText(), "0x2000ABCD");
    EXPECT_EQ(::GetLastError(), 0x2000ABCDu);
}

TEST_F(WindowsLoader, LoadsTheIpHelperForEachSubnetCheck) {
    NetUtil::IsIpAddressInSubnet("192.168.0.90");
    const std::vector<std::string> lines = platform->DebugStrings();
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.front(), "QRM:T:Dll::Load - Loaded 'iphlpapi.dll'\n");
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "QRM:T:Dll::Unload - Unloaded 'iphlpapi.dll'\n"), 1);
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
