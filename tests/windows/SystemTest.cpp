#include "platform/windows/WindowsApi.h"
#include "platform/windows/WindowsPlatform.h"
#include "support/Format.h"
#include "support/Log.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <regex>

namespace {

TEST(WindowsSystem, ReportsAWindowsNtVersion) {
    WindowsPlatform platform;
    OsVersion version;
    ASSERT_TRUE(platform.GetOsVersion(version));
    // Every system that runs 64-bit programs is of the NT line.
    EXPECT_EQ(version.platformId, kPlatformWin32NT);
}

TEST(WindowsSystem, RunsAThreadBodyOnAThreadOfItsOwn) {
    WindowsPlatform platform;
    HANDLE done = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    ASSERT_NE(done, nullptr);
    DWORD bodyThread = 0;
    ASSERT_TRUE(platform.StartThread([&] {
        bodyThread = ::GetCurrentThreadId();
        ::SetEvent(done);
    }));
    ASSERT_EQ(::WaitForSingleObject(done, 30000), WAIT_OBJECT_0);
    EXPECT_NE(bodyThread, ::GetCurrentThreadId());
    ::CloseHandle(done);
}

// The log file as the real layer writes it: text mode, so CR LF line breaks,
// with the entry numbers read back across them.
class WindowsLogFile : public ::testing::Test {
protected:
    void SetUp() override {
        char directory[MAX_PATH] = {};
        ASSERT_GT(::GetTempPathA(MAX_PATH, directory), 0u);
        path_ = FormatText("%saddrix-log-%lu.txt", directory, ::GetCurrentProcessId());
        std::remove(path_.c_str());
        Platform::Install(nullptr);
        Log::Instance().Configure("QRM", 0, 2, path_.c_str(), nullptr);
    }
    void TearDown() override {
        Log::Instance().Configure("", 2, 0, nullptr, nullptr);
        std::remove(path_.c_str());
    }
    std::string ReadBytes() const {
        std::ifstream file(path_, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    }
    std::string path_;
};

TEST_F(WindowsLogFile, WritesNumberedEntriesWithCarriageReturns) {
    const LogScope scope("SetIP::Run");
    scope.Trace("first");
    scope.Trace("second");
    const std::string entry = "\\t\\d\\d:\\d\\d:\\d\\d:\\d\\d\\d\\t\\d{4} ";
    const std::regex expected("00000000" + entry + "QRM:T:SetIP::Run - first \\r\\n" + "00000001" + entry +
                              "QRM:T:SetIP::Run - second \\r\\n" + "00000002");
    const std::string bytes = ReadBytes();
    EXPECT_TRUE(std::regex_match(bytes, expected)) << bytes;
}

}  // namespace
