#include "net/Dll.h"

#include "platform/fake/FakePlatform.h"
#include "support/Log.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

using Lines = std::vector<std::string>;

// A library the fake pretends to hold; only its address matters.
int fakeLibrary;
void* const kModule = &fakeLibrary;
int fakeEntryPoint;
void* const kEntryPoint = &fakeEntryPoint;

class DllTest : public ::testing::Test {
protected:
    void SetUp() override {
        Log::Instance().Configure("QRM", 3, 0, nullptr, nullptr);
        platform->errorMessages[126] = "The specified module could not be found.";
        platform->errorMessages[127] = "The specified procedure could not be found.";
    }
    void TearDown() override { Log::Instance().Configure("", 2, 0, nullptr, nullptr); }

    // Loads succeed with kModule; "GetAdaptersInfo" is its only entry point.
    void ProgramLibrary() {
        platform->onLoadModule = [](const char*) { return kModule; };
        platform->onFindEntryPoint = [this](void* module, const char* name) -> void* {
            if (module == kModule && std::string(name) == "GetAdaptersInfo") return kEntryPoint;
            platform->SetLastError(127);
            return nullptr;
        };
        platform->onFreeModule = [](void* module) { return module == kModule; };
    }

    ScopedFakePlatform platform;
};

TEST_F(DllTest, FailedLoadLogsOnceKeepsTheNameAndTheDestructorWritesNothing) {
    {
        Dll dll;
        EXPECT_FALSE(dll.Load("iphlpapi.dll"));
        EXPECT_FALSE(dll.IsLoaded());
        EXPECT_EQ(dll.Name(), "iphlpapi.dll");
        EXPECT_EQ(platform->DebugLines(),
                  Lines{"QRM:E:Dll::Load - Failed to load 'iphlpapi.dll', Err: '0x7E, The specified module could "
                        "not be found.'"});
        // The failing call's code survives the logging.
        EXPECT_EQ(platform->GetLastError(), 126u);
        platform->ClearRecords();
    }
    EXPECT_EQ(platform->DebugLines(), Lines{});
}

TEST_F(DllTest, LoadAndDestructionTraceTheSameName) {
    ProgramLibrary();
    {
        Dll dll;
        EXPECT_TRUE(dll.Load("iphlpapi.dll"));
        EXPECT_TRUE(dll.IsLoaded());
        EXPECT_EQ(dll.Name(), "iphlpapi.dll");
    }
    EXPECT_EQ(platform->DebugLines(),
              (Lines{"QRM:T:Dll::Load - Loaded 'iphlpapi.dll'", "QRM:T:Dll::Unload - Unloaded 'iphlpapi.dll'"}));
}

TEST_F(DllTest, FoundEntryPointIsReturnedWithoutALine) {
    ProgramLibrary();
    Dll dll;
    dll.Load("iphlpapi.dll");
    platform->ClearRecords();
    EXPECT_EQ(dll.GetFunctionPtr("GetAdaptersInfo"), kEntryPoint);
    EXPECT_EQ(platform->DebugLines(), Lines{});
}

TEST_F(DllTest, MissingEntryPointIsNullWithOneErrorLine) {
    ProgramLibrary();
    Dll dll;
    dll.Load("iphlpapi.dll");
    platform->ClearRecords();
    EXPECT_EQ(dll.GetFunctionPtr("GetAdaptersAddresses"), nullptr);
    EXPECT_EQ(platform->DebugLines(),
              Lines{"QRM:E:Dll::GetFunctionPtr - failed to get Fn 'GetAdaptersAddresses' in dll 'iphlpapi.dll', err: "
                    "'0x7F, The specified procedure could not be found.'"});
    EXPECT_EQ(platform->GetLastError(), 127u);
}

TEST_F(DllTest, LookUpWithoutALibraryFailsAndNamesTheFailedFile) {
    Dll dll;
    dll.Load("iphlpapi.dll");
    platform->ClearRecords();
    EXPECT_EQ(dll.GetFunctionPtr("GetAdaptersInfo"), nullptr);
    EXPECT_EQ(platform->DebugLines(),
              Lines{"QRM:E:Dll::GetFunctionPtr - failed to get Fn 'GetAdaptersInfo' in dll 'iphlpapi.dll', err: "
                    "'0x7F, The specified procedure could not be found.'"});
}

TEST_F(DllTest, UnloadEmptiesTheObjectWhateverItsOutcome) {
    struct Case {
        bool releases;
        Lines lines;
    } cases[] = {
        {true, {"QRM:T:Dll::Unload - Unloaded 'iphlpapi.dll'"}},
        {false, {"QRM:E:Dll::Unload - Failed to unload 'iphlpapi.dll', Err: '0x6, The handle is invalid.'"}},
    };
    platform->errorMessages[6] = "The handle is invalid.";
    for (const Case& c : cases) {
        ProgramLibrary();
        if (!c.releases) {
            platform->onFreeModule = [this](void*) {
                platform->SetLastError(6);
                return false;
            };
        }
        Dll dll;
        ASSERT_TRUE(dll.Load("iphlpapi.dll"));
        platform->ClearRecords();
        EXPECT_EQ(dll.Unload(), c.releases);
        EXPECT_FALSE(dll.IsLoaded());
        EXPECT_EQ(dll.Name(), "");
        EXPECT_EQ(platform->DebugLines(), c.lines);
        // Nothing is left for the destructor to release.
        platform->ClearRecords();
    }
    EXPECT_EQ(platform->DebugLines(), Lines{});
}

TEST_F(DllTest, SecondLoadReleasesTheFirstLibrary) {
    ProgramLibrary();
    int released = 0;
    platform->onFreeModule = [&released](void*) {
        ++released;
        return true;
    };
    Dll dll;
    dll.Load("first.dll");
    dll.Load("second.dll");
    EXPECT_EQ(released, 1);
    EXPECT_EQ(dll.Name(), "second.dll");
    EXPECT_EQ(platform->DebugLines(),
              (Lines{"QRM:T:Dll::Load - Loaded 'first.dll'", "QRM:T:Dll::Unload - Unloaded 'first.dll'",
                     "QRM:T:Dll::Load - Loaded 'second.dll'"}));
}

TEST_F(DllTest, AbsentFileNameFailsLikeAMissingLibrary) {
    Dll dll;
    EXPECT_FALSE(dll.Load(nullptr));
    EXPECT_EQ(dll.Name(), "");
    EXPECT_EQ(platform->DebugLines(),
              Lines{"QRM:E:Dll::Load - Failed to load '', Err: '0x7E, The specified module could not be found.'"});
}

TEST(GetLastErrorTextTest, FormatsCodeAndSystemTextAndKeepsTheCode) {
    struct Case {
        uint32_t code;
        std::optional<std::string> message;
        std::string text;
    } cases[] = {
        {0x7E, "The specified module could not be found.\r\n", "0x7E, The specified module could not be found.\r\n"},
        {0x1A2B, std::nullopt, "0x1A2B"},
        {0x1A2C, "", "0x1A2C"},  // an empty text is no text
        {0, std::nullopt, "0x0"},
        {0xFFFFFFFF, "x", "0xFFFFFFFF, x"},
    };
    ScopedFakePlatform platform;
    for (const Case& c : cases) {
        platform->errorMessages.clear();
        if (c.message) platform->errorMessages[c.code] = *c.message;
        platform->SetLastError(c.code);
        EXPECT_EQ(GetLastErrorText(), c.text);
        EXPECT_EQ(platform->GetLastError(), c.code);
    }
}

}  // namespace
