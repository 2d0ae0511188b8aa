#include "platform/windows/WindowsApi.h"
#include "platform/windows/WindowsPlatform.h"
#include "support/Format.h"

#include <gtest/gtest.h>

namespace {

std::string LoadStringResource(UINT id) {
    char text[1024] = {};
    const int length = ::LoadStringA(::GetModuleHandleA(nullptr), id, text, sizeof text);
    return std::string(text, length > 0 ? static_cast<size_t>(length) : 0);
}

TEST(WindowsResources, CarryTheProjectVersionAsFileVersion) {
    WindowsPlatform platform;
    const std::optional<FileVersion> version = platform.GetFileVersion();
    ASSERT_TRUE(version.has_value());
    EXPECT_EQ(version->major, ADDRIX_TEST_VERSION_MAJOR);
    EXPECT_EQ(version->minor, ADDRIX_TEST_VERSION_MINOR);
    EXPECT_EQ(version->build, ADDRIX_TEST_VERSION_PATCH);
    EXPECT_EQ(version->revision, ADDRIX_TEST_VERSION_TWEAK);
    EXPECT_EQ(FormatText("%d.%02d.%03d.%03d", version->major, version->minor, version->build, version->revision),
              "1.00.005.000");
}

TEST(WindowsResources, HoldTheStringTable) {
    struct Case {
        UINT id;
        const char* text;
    };
    const Case cases[] = {
        {1, "APP_NAME=TARVIK Addrix;COMPANY_NAME=Tarvikon;COMPANY_SHORT=TARVIK"},
        {101, "&About APP_NAME..."},
        {205,
         "The IP address IPADDRESS was successfully assigned\nto SERIALNBR.\n\nClick the View Home Page button to "
         "access the device's home page and to configure other network settings."},
        {209, "The adress IPADDRESS is not reachable from the local subnet. "},
        {57344, "Addrix"},
        {999, ""},  // no such string
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        EXPECT_EQ(LoadStringResource(c.id), c.text);
    }
}

TEST(WindowsResources, KeepEveryCharacterOfTheData) {
    // From data/escapes.txt, built into this test program the same way.
    struct Case {
        UINT id;
        const char* text;
    };
    const Case cases[] = {
        {60000, "say \"hi\""},
        {60001, "back\\slash and \\n not a break"},
        {60002, "tab\there, break\nthere"},
        {60003, "list;separators;[brackets]"},
        {60004, "a bare \" quote"},
        {60005, "# not a comment"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        EXPECT_EQ(LoadStringResource(c.id), c.text);
    }
}

TEST(WindowsResources, HoldBothIconsInBothSizes) {
    const WORD ids[] = {100, 140};
    const int sizes[] = {32, 16};
    for (WORD id : ids) {
        for (int size : sizes) {
            SCOPED_TRACE(FormatText("icon %u at %d pixels", id, size));
            HANDLE icon = ::LoadImageA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), IMAGE_ICON, size, size, 0);
            ASSERT_NE(icon, nullptr);
            ICONINFO info{};
            ASSERT_TRUE(::GetIconInfo(static_cast<HICON>(icon), &info));
            BITMAP bitmap{};
            ::GetObjectA(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
            EXPECT_EQ(bitmap.bmWidth, size);
            if (info.hbmColor) ::DeleteObject(info.hbmColor);
            ::DeleteObject(info.hbmMask);
            ::DestroyIcon(static_cast<HICON>(icon));
        }
    }
}

}  // namespace
