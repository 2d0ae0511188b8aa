// A DialogView for tests: the main dialog's controls as plain records, in
// template order, with what the dialog did to them; message boxes recorded
// and answered at once (delivering what was posted meanwhile, as a real
// box's loop does); posted messages queued until the test delivers them.
#pragma once

#include "dialog/DialogView.h"
#include "dialog/SetIPDlg.h"
#include "support/MacroWindow.h"

#include <chrono>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

struct ShownMessage {
    std::string text;
    MessageIcon icon;
    std::string caption;
};

struct FakeControl {
    std::string text;
    bool enabled = true;
    bool shown = true;
    int limit = -1;
    // Address control: the four fields as typed, and their ranges.
    std::array<std::string, 4> fieldTexts;
    std::array<std::pair<int, int>, 4> ranges{};
    // Progress bar.
    uint32_t barHigh = 100;
    uint32_t barPosition = 0;
    bool barTimerRunning = false;
    uint32_t barInterval = 0;
};

class FakeView : public DialogView, private MacroWindow {
public:
    FakeView();

    FakeControl& Control(int id);
    // The address control's text as it shows it: the field texts joined by dots.
    std::string AddressText();
    // Types `text` into the address control, field by field between the dots.
    void TypeAddress(const std::string& text);

    // Hands the queued messages to the dialog, in order, including those
    // posted while they are handled.
    void DeliverPosted();
    // Delivers posted messages until `done` holds, at most `timeoutMs`.
    bool WaitFor(const std::function<bool()>& done, int timeoutMs = 5000);

    SetIPDlg* dialog = nullptr;
    std::string caption = "APP_NAME";
    int focus = 0;
    int focusedField = -1;
    int selectedAll = 0;  // the control whose text was selected last
    int defaultButton = ControlIds::kExitButton;
    int icon = 0;
    int waitCursors = 0;  // open wait cursors
    int maxWaitCursors = 0;
    bool ended = false;
    int aboutBoxes = 0;
    std::vector<std::pair<int, std::string>> menuItems;
    std::vector<ShownMessage> shown;
    // Runs while a box is open, before the posted messages are handled.
    std::function<void(const ShownMessage&)> whileShown;
    // Runs while the About box is open.
    std::function<void()> whileAbout;

    // DialogView
    MacroWindow& Window() override { return *this; }
    std::string GetText(int id) override;
    void SetText(int id, const std::string& text) override;
    void Enable(int id, bool enabled) override { Control(id).enabled = enabled; }
    void Show(int id, bool shown) override { Control(id).shown = shown; }
    void Focus(int id) override;
    void SelectAll(int id) override { selectedAll = id; }
    void SetDefaultButton(int id) override { defaultButton = id; }
    void LimitText(int id, int count) override { Control(id).limit = count; }
    AddressFields GetAddressFields(int id) override;
    void SetAddress(int id, uint32_t address) override;
    void SetFieldRange(int id, int field, int low, int high) override { Control(id).ranges[field] = {low, high}; }
    void FocusField(int id, int field) override;
    void SetBarRange(int id, uint32_t high) override { Control(id).barHigh = high; }
    void SetBarPosition(int id, uint32_t position) override { Control(id).barPosition = position; }
    void StartBarTimer(int id, uint32_t intervalMs) override;
    void StopBarTimer(int id) override { Control(id).barTimerRunning = false; }
    void ShowMessage(const std::string& text, MessageIcon icon, const std::string& caption) override;
    void BeginWaitCursor() override;
    void EndWaitCursor() override { --waitCursors; }
    void Post(DialogMessage message, uint32_t parameter) override;
    void SetIcon(int iconId) override { icon = iconId; }
    void AddSystemMenuItem(int command, const std::string& text) override { menuItems.emplace_back(command, text); }
    void RunAboutBox() override;
    void EndDialog() override { ended = true; }

private:
    // MacroWindow: the caption and the controls in template order.
    std::string Text() const override { return caption; }
    void SetText(const std::string& text) override { caption = text; }
    void ForEachChild(const std::function<void(MacroWindow&)>& visit) override;

    std::vector<std::pair<int, FakeControl>> controls_;
    std::mutex mutex_;
    std::deque<std::pair<DialogMessage, uint32_t>> posted_;
};
