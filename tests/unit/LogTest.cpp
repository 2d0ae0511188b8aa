#include "platform/fake/FakePlatform.h"
#include "support/Log.h"

#include <gtest/gtest.h>

namespace {

class LogTest : public ::testing::Test {
protected:
    void SetUp() override { Log::Instance().Configure("QRM", 3, 0, nullptr, nullptr); }
    void TearDown() override { Log::Instance().Configure("", 2, 0, nullptr, nullptr); }
    ScopedFakePlatform platform;
};

TEST_F(LogTest, ComposesModuleLevelScopeAndMessage) {
    LogScope scope("Dll::Load");
    scope.Trace("Loaded '%s'", "iphlpapi.dll");
    GlobalLogScope.Error("Dll::GetFunctionPtr - failed to get Fn '%s'", "x");
    EXPECT_EQ(platform->DebugLines(),
              (std::vector<std::string>{"QRM:T:Dll::Load - Loaded 'iphlpapi.dll'",
                                        "QRM:E:Dll::GetFunctionPtr - failed to get Fn 'x'"}));
}

}  // namespace
