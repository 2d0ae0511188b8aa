#include "platform/fake/FakePlatform.h"
#include "support/MacroWindow.h"
#include "support/StringIds.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

// A window of a small tree that records every read and write of its text in
// a journal shared by the whole tree.
class FakeWindow : public MacroWindow {
public:
    FakeWindow(std::string name, std::string text, std::vector<std::string>& journal)
        : name_(std::move(name)), text_(std::move(text)), journal_(journal) {}

    FakeWindow& AddChild(std::string name, std::string text) {
        children_.push_back(std::make_unique<FakeWindow>(std::move(name), std::move(text), journal_));
        return *children_.back();
    }

    std::string Text() const override {
        journal_.push_back("read " + name_);
        return text_;
    }
    void SetText(const std::string& text) override {
        journal_.push_back("write " + name_ + ": " + text);
        text_ = text;
    }
    void ForEachChild(const std::function<void(MacroWindow&)>& visit) override {
        for (const auto& child : children_) visit(*child);
    }

    const std::string& CurrentText() const { return text_; }

private:
    std::string name_;
    std::string text_;
    std::vector<std::string>& journal_;
    std::vector<std::unique_ptr<FakeWindow>> children_;
};

class MacroWindowTest : public ::testing::Test {
protected:
    ScopedFakePlatform platform;
    std::vector<std::string> journal;
};

TEST_F(MacroWindowTest, RewritesCaptionThenEachDirectChildInOrder) {
    FakeWindow dialog("dialog", "APP_NAME", journal);
    dialog.AddChild("intro", "APP_NAME assigns IP addresses to COMPANY_SHORT network devices.");
    dialog.AddChild("serial", "02C0A7A1B2C3");
    FakeWindow& group = dialog.AddChild("group", "");
    FakeWindow& inner = group.AddChild("inner", "APP_NAME");

    ApplyMacrosToWindow(dialog);

    EXPECT_EQ(journal, (std::vector<std::string>{
                           "read dialog",
                           "write dialog: TARVIK Addrix",
                           "read intro",
                           "write intro: TARVIK Addrix assigns IP addresses to TARVIK network devices.",
                           "read serial",
                           "write serial: 02C0A7A1B2C3",
                           "read group",
                           "write group: ",
                       }));
    EXPECT_EQ(inner.CurrentText(), "APP_NAME");
}

TEST_F(MacroWindowTest, FormattedPairsFollowTheApplicationMacros) {
    FakeWindow about("about", "About APP_NAME", journal);
    FakeWindow& version = about.AddChild("version", "APP_NAME VERSION");

    ApplyFormattedMacrosToWindow(about, "VERSION=%s", "1.00.005.000");

    EXPECT_EQ(about.CurrentText(), "About TARVIK Addrix");
    EXPECT_EQ(version.CurrentText(), "TARVIK Addrix 1.00.005.000");
}

TEST_F(MacroWindowTest, WithoutApplicationMacrosACaptionKeepsItsPlaceholder) {
    platform->strings.erase(kIdsApplicationMacros);
    FakeWindow dialog("dialog", "APP_NAME", journal);

    ApplyMacrosToWindow(dialog);

    EXPECT_EQ(journal, (std::vector<std::string>{"read dialog", "write dialog: APP_NAME"}));
}

}  // namespace
