#include "net/Dll.h"

#include "platform/linux/LinuxPlatform.h"
#include "support/Log.h"

#include <gtest/gtest.h>

#include <mutex>
#include <thread>
#include <utility>

namespace {

using Lines = std::vector<std::string>;

// The real Linux layer, with the debugger output kept for inspection.
class RecordingPlatform : public LinuxPlatform {
public:
    void WriteDebugString(const char* text) override {
        std::lock_guard<std::mutex> lock(mutex_);
        std::string line(text);
        if (!line.empty() && line.back() == '\n') line.pop_back();
        lines_.push_back(line);
    }
    Lines TakeLines() {
        std::lock_guard<std::mutex> lock(mutex_);
        return std::exchange(lines_, {});
    }

private:
    std::mutex mutex_;
    Lines lines_;
};

constexpr const char* kLibrary = "libm.so.6";
constexpr const char* kMissingLibrary = "libaddrix-missing.so.1";

class ModulesTest : public ::testing::Test {
protected:
    void SetUp() override {
        Platform::Install(&platform);
        Log::Instance().Configure("QRM", 3, 0, nullptr, nullptr);
    }
    void TearDown() override {
        Log::Instance().Configure("", 2, 0, nullptr, nullptr);
        Platform::Install(nullptr);
    }

    RecordingPlatform platform;
};

TEST_F(ModulesTest, LoadsLooksUpAndReleasesARealLibrary) {
    {
        Dll dll;
        ASSERT_TRUE(dll.Load(kLibrary));
        auto cosine = reinterpret_cast<double (*)(double)>(dll.GetFunctionPtr("cos"));
        ASSERT_NE(cosine, nullptr);
        EXPECT_EQ(cosine(0.0), 1.0);
    }
    EXPECT_EQ(platform.TakeLines(),
              (Lines{"QRM:T:Dll::Load - Loaded 'libm.so.6'", "QRM:T:Dll::Unload - Unloaded 'libm.so.6'"}));
}

TEST_F(ModulesTest, UnloadEmptiesTheObject) {
    Dll dll;
    ASSERT_TRUE(dll.Load(kLibrary));
    EXPECT_TRUE(dll.Unload());
    EXPECT_FALSE(dll.IsLoaded());
    EXPECT_EQ(dll.Name(), "");
}

TEST_F(ModulesTest, MissingLibraryCarriesTheLoadersTextAndKeepsTheCode) {
    {
        Dll dll;
        EXPECT_FALSE(dll.Load(kMissingLibrary));
        EXPECT_EQ(dll.Name(), kMissingLibrary);
        EXPECT_EQ(platform.GetLastError(), LinuxPlatform::kModuleNotLoaded);
        EXPECT_EQ(platform.TakeLines(),
                  Lines{"QRM:E:Dll::Load - Failed to load 'libaddrix-missing.so.1', Err: '0x2000007E, "
                        "libaddrix-missing.so.1: cannot open shared object file: No such file or directory'"});
    }
    EXPECT_EQ(platform.TakeLines(), Lines{});
}

TEST_F(ModulesTest, MissingEntryPointCarriesTheLoadersText) {
    Dll dll;
    ASSERT_TRUE(dll.Load(kLibrary));
    platform.TakeLines();
    EXPECT_EQ(dll.GetFunctionPtr("addrix_no_such_function"), nullptr);
    EXPECT_EQ(platform.GetLastError(), LinuxPlatform::kEntryPointNotFound);
    const Lines lines = platform.TakeLines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_TRUE(lines[0].starts_with(
        "QRM:E:Dll::GetFunctionPtr - failed to get Fn 'addrix_no_such_function' in dll 'libm.so.6', err: "
        "'0x2000007F, "))
        << lines[0];
    EXPECT_TRUE(lines[0].ends_with("undefined symbol: addrix_no_such_function'")) << lines[0];
}

TEST_F(ModulesTest, NullHandlesFailWithoutTouchingTheLoader) {
    // dlsym and dlopen give null a meaning of their own (every library, the
    // program itself); the layer refuses it instead.
    EXPECT_EQ(platform.FindEntryPoint(nullptr, "cos"), nullptr);
    EXPECT_EQ(platform.GetLastError(), LinuxPlatform::kInvalidModule);
    EXPECT_EQ(platform.GetErrorMessage(LinuxPlatform::kInvalidModule), std::nullopt);
    EXPECT_FALSE(platform.FreeModule(nullptr));
    EXPECT_EQ(platform.GetLastError(), LinuxPlatform::kInvalidModule);
    EXPECT_EQ(platform.LoadModule(nullptr), nullptr);
    EXPECT_EQ(platform.GetLastError(), LinuxPlatform::kModuleNotLoaded);
    EXPECT_EQ(platform.GetErrorMessage(LinuxPlatform::kModuleNotLoaded), std::nullopt);
}

TEST_F(ModulesTest, CodesWithoutLoaderTextHaveNoMessage) {
    for (uint32_t code : {0u, 2u, 0x7Eu, 0x7Fu, 0xFFFFFFFFu}) {
        EXPECT_EQ(platform.GetErrorMessage(code), std::nullopt) << code;
    }
    platform.SetLastError(2);
    EXPECT_EQ(GetLastErrorText(), "0x2");
    EXPECT_EQ(platform.GetLastError(), 2u);
}

TEST_F(ModulesTest, LastErrorAndTextBelongToTheCallingThread) {
    platform.SetLastError(0);
    std::thread([this] {
        EXPECT_EQ(platform.LoadModule(kMissingLibrary), nullptr);
        EXPECT_EQ(platform.GetLastError(), LinuxPlatform::kModuleNotLoaded);
        EXPECT_NE(platform.GetErrorMessage(LinuxPlatform::kModuleNotLoaded), std::nullopt);
    }).join();
    std::thread([this] {
        EXPECT_EQ(platform.GetLastError(), 0u);
        EXPECT_EQ(platform.GetErrorMessage(LinuxPlatform::kModuleNotLoaded), std::nullopt);
    }).join();
    EXPECT_EQ(platform.GetLastError(), 0u);
}

}  // namespace
