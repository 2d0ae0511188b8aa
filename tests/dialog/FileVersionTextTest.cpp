#include "dialog/FileVersionText.h"

#include "platform/fake/FakePlatform.h"

#include <gtest/gtest.h>

namespace {

struct VersionCase {
    std::optional<FileVersion> version;
    const char* text;
};

std::ostream& operator<<(std::ostream& out, const VersionCase& c) { return out << c.text; }

class FileVersionTextTest : public ::testing::TestWithParam<VersionCase> {};

TEST_P(FileVersionTextTest, FormatsTheFourNumbers) {
    ScopedFakePlatform platform;
    platform->fileVersion = GetParam().version;
    EXPECT_EQ(GetFileVersionText(), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Versions, FileVersionTextTest,
                         ::testing::Values(VersionCase{FileVersion{1, 0, 5, 0}, "1.00.005.000"},
                                           VersionCase{FileVersion{2, 10, 1234, 7}, "2.10.1234.007"},
                                           VersionCase{FileVersion{65535, 65535, 65535, 65535},
                                                       "65535.65535.65535.65535"},
                                           VersionCase{std::nullopt, "0.00.000.000"}));

}  // namespace
