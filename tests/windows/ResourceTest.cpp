#include "platform/windows/WindowsApi.h"
#include "platform/windows/WindowsPlatform.h"
#include "support/Format.h"
#include "support/StringTable.h"
#include "dialog/FileVersionText.h"

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
    // What the About box shows for it, with the system's own layer installed.
    Platform::Install(nullptr);
    EXPECT_EQ(GetFileVersionText(), "1.00.005.000");
}

TEST(WindowsResources, HoldTheCompiledInStringTable) {
    // The resource and the compiled-in table come from the same data.
    WindowsPlatform platform;
    ASSERT_FALSE(BuiltInStrings().empty());
    for (const StringEntry& entry : BuiltInStrings()) {
        SCOPED_TRACE(entry.id);
        EXPECT_EQ(platform.LoadStringResource(entry.id), entry.text);
    }
}

TEST(WindowsResources, GiveAnEmptyTextForAMissingString) {
    WindowsPlatform platform;
    const unsigned ids[] = {4001, 65535, 0x10001};
    for (unsigned id : ids) {
        SCOPED_TRACE(id);
        EXPECT_EQ(platform.LoadStringResource(id), "");
    }
}

TEST(WindowsResources, KeepEveryCharacterOfTheData) {
    // From data/escapes.txt, built into this test program by the same
    // generator; read back with the system's own call.
    struct Case {
        UINT id;
        const char* text;
    };
    const Case cases[] = {
        {60000, "say \"hi\""},
        {60001, "back\\slash and \\n not a break"},
        {60002, "tab\there, break\nthere"},
        {60003, "list;separators;[brackets]"},
        {60004, "\\\"quoted backslash\\\""},
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
