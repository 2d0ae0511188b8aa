// Opening a URL through the desktop's opener, with stand-in openers on PATH.
#include "platform/linux/LinuxPlatform.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

using std::chrono::seconds;

// Puts a stand-in `xdg-open` first on PATH for the life of the fixture.
class OpenUrlTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/addrix-opener-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        directory_ = pattern;
        const char* path = std::getenv("PATH");
        savedPath_ = path ? path : "";
        ::setenv("PATH", (directory_ + ":" + savedPath_).c_str(), 1);
    }

    void TearDown() override {
        ::setenv("PATH", savedPath_.c_str(), 1);
        // An opener still running is ended with the test.
        std::ifstream pidFile(directory_ + "/pid");
        pid_t opener = 0;
        if (pidFile >> opener && opener > 0) ::kill(opener, SIGTERM);
        std::filesystem::remove_all(directory_);
    }

    void InstallOpener(const std::string& body) {
        const std::string opener = directory_ + "/xdg-open";
        std::ofstream(opener) << "#!/bin/sh\n" << body << "\n";
        ::chmod(opener.c_str(), 0755);
    }

    LinuxPlatform platform;
    std::string directory_;
    std::string savedPath_;
};

TEST_F(OpenUrlTest, TheOpenersVerdictCountsWhenItEndsAtOnce) {
    InstallOpener("exit 0");
    EXPECT_TRUE(platform.OpenUrl("http://192.168.0.90"));
    InstallOpener("exit 3");
    EXPECT_FALSE(platform.OpenUrl("http://192.168.0.90"));
}

TEST_F(OpenUrlTest, AnOpenerThatKeepsTheBrowserInTheForegroundDoesNotHoldTheCaller) {
    InstallOpener("echo $$ > \"$(dirname \"$0\")/pid\"; exec sleep 30 </dev/null >/dev/null 2>&1");
    const auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(platform.OpenUrl("http://192.168.0.90"));
    EXPECT_LT(std::chrono::steady_clock::now() - start, seconds(20));
}

TEST_F(OpenUrlTest, NoOpenerIsAFailedLaunch) {
    ::setenv("PATH", directory_.c_str(), 1);
    EXPECT_FALSE(platform.OpenUrl("http://192.168.0.90"));
}

}  // namespace
