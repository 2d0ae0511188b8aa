#include "platform/Platform.h"
#include "support/StringIds.h"
#include "support/StringTable.h"

#include <gtest/gtest.h>

namespace {

TEST(StringTableTest, SystemServesTheCompiledTextsWithTheirLineFeeds) {
    Platform& system = Platform::System();
    EXPECT_EQ(system.LoadStringResource(kIdsAppTitle), "Addrix");
    EXPECT_NE(system.LoadStringResource(kIdsAssignSucceeded).find("assigned\nto SERIALNBR.\n\nClick"),
              std::string::npos);
    EXPECT_EQ(system.LoadStringResource(4001), "");
}

}  // namespace
