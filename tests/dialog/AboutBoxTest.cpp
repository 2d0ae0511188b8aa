#include "dialog/AboutBox.h"

#include "platform/fake/FakePlatform.h"
#include "support/MacroWindow.h"

#include <gtest/gtest.h>

namespace {

// The About box's template: its caption and its one text.
class AboutWindow : public MacroWindow {
public:
    std::string Text() const override { return caption; }
    void SetText(const std::string& text) override { caption = text; }
    void ForEachChild(const std::function<void(MacroWindow&)>& visit) override {
        struct Child : MacroWindow {
            explicit Child(std::string& text) : text_(text) {}
            std::string Text() const override { return text_; }
            void SetText(const std::string& text) override { text_ = text; }
            void ForEachChild(const std::function<void(MacroWindow&)>&) override {}
            std::string& text_;
        } child(versionText);
        visit(child);
    }
    std::string caption = "About APP_NAME";
    std::string versionText = "APP_NAME VERSION";
};

struct VersionCase {
    std::optional<FileVersion> version;
    const char* text;
};

class AboutBoxText : public ::testing::TestWithParam<VersionCase> {};

TEST_P(AboutBoxText, NamesTheApplicationAndItsVersion) {
    ScopedFakePlatform platform;
    platform->fileVersion = GetParam().version;
    AboutWindow window;
    InitAboutBox(window);
    EXPECT_EQ(window.caption, "About TARVIK Addrix");
    EXPECT_EQ(window.versionText, GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Versions, AboutBoxText,
                         ::testing::Values(VersionCase{FileVersion{1, 0, 5, 0}, "TARVIK Addrix 1.00.005.000"},
                                           VersionCase{FileVersion{2, 10, 1234, 7}, "TARVIK Addrix 2.10.1234.007"},
                                           VersionCase{std::nullopt, "TARVIK Addrix 0.00.000.000"}));

}  // namespace
