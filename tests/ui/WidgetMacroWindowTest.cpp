#include "ui/WidgetMacroWindow.h"

#include "platform/fake/FakePlatform.h"
#include "ui/IPAddressCtrl.h"
#include "ui/ProgressBar.h"

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using ::testing::ElementsAre;

// Passes every call on to a widget's window and notes it.
class NotingWindow : public MacroWindow {
public:
    NotingWindow(MacroWindow& window, std::vector<std::string>& notes) : window_(window), notes_(notes) {}
    std::string Text() const override { return window_.Text(); }
    void SetText(const std::string& text) override {
        notes_.push_back(text);
        window_.SetText(text);
    }
    void ForEachChild(const std::function<void(MacroWindow&)>& visit) override {
        window_.ForEachChild([&](MacroWindow& child) {
            NotingWindow noted(child, notes_);
            visit(noted);
        });
    }

private:
    MacroWindow& window_;
    std::vector<std::string>& notes_;
};

class WidgetMacroWindowTest : public ::testing::Test {
protected:
    WidgetMacroWindowTest() {
        dialog.setWindowTitle("About APP_NAME");
        new QLabel("APP_NAME VERSION", &dialog);
        new QPushButton("&Set COMPANY_SHORT", &dialog);
        edit = new QLineEdit("APP_NAME", &dialog);
        address = new IPAddressCtrl(&dialog);
        address->SetText("10.1.2.3");
        new ProgressBar(&dialog);
        auto* group = new QWidget(&dialog);
        inner = new QLabel("APP_NAME", group);
        menu = new QMenu("APP_NAME", &dialog);
    }

    ScopedFakePlatform platform;
    QDialog dialog;
    QLineEdit* edit;
    IPAddressCtrl* address;
    QLabel* inner;
    QMenu* menu;
};

TEST_F(WidgetMacroWindowTest, CaptionFirstThenEveryDirectControlInCreationOrder) {
    WidgetMacroWindow window(dialog);
    std::vector<std::string> written;
    NotingWindow noting(window, written);
    edit->setModified(true);
    ApplyFormattedMacrosToWindow(noting, "VERSION=%s", "1.00.005.000");

    EXPECT_THAT(written, ElementsAre("About TARVIK Addrix", "TARVIK Addrix 1.00.005.000", "&Set TARVIK",
                                     "TARVIK Addrix", "10.1.2.3", "", ""));
    // Written back, not just read.
    EXPECT_FALSE(edit->isModified());
    EXPECT_EQ(address->Text(), "10.1.2.3");
    // Neither the controls inside a child nor other windows are visited.
    EXPECT_EQ(inner->text(), "APP_NAME");
    EXPECT_EQ(menu->title(), "APP_NAME");
}

TEST_F(WidgetMacroWindowTest, TheAddressControlTakesADottedText) {
    WidgetMacroWindow window(*address);
    window.SetText("192.168.0.90");
    EXPECT_EQ(window.Text(), "192.168.0.90");
    uint32_t packed = 0;
    EXPECT_EQ(address->GetAddress(packed), 4);
}

}  // namespace
