#include "FakeView.h"

#include <sstream>
#include <stdexcept>

namespace {

// One control of the fake as the macros see it.
class ControlWindow : public MacroWindow {
public:
    ControlWindow(FakeView& view, int id) : view_(view), id_(id) {}
    std::string Text() const override { return view_.GetText(id_); }
    void SetText(const std::string& text) override { view_.SetText(id_, text); }
    void ForEachChild(const std::function<void(MacroWindow&)>&) override {}

private:
    FakeView& view_;
    int id_;
};

constexpr int kIntroText = -1;

}  // namespace

FakeView::FakeView() {
    // The template's controls in creation order, with their texts.
    const std::pair<int, const char*> controls[] = {
        {ControlIds::kSerialNumber, ""},
        {ControlIds::kAddress, ""},
        {ControlIds::kSetIPButton, "&Set IP"},
        {ControlIds::kHomePageButton, "View &Home Page"},
        {ControlIds::kExitButton, "E&xit"},
        {ControlIds::kSerialNumberLabel, "Serial Number:"},
        {ControlIds::kAddressLabel, "IP Address:"},
        {ControlIds::kProgressBar, ""},
        {kIntroText, "APP_NAME assigns IP addresses to COMPANY_SHORT network devices."},
        {ControlIds::kHint,
         "To enable IP address assignment, please restart the Tarvik network device and wait 10 seconds."},
    };
    for (const auto& [id, text] : controls) {
        FakeControl control;
        control.text = text;
        controls_.emplace_back(id, control);
    }
    Control(ControlIds::kHint).shown = false;
}

FakeControl& FakeView::Control(int id) {
    for (auto& [controlId, control] : controls_)
        if (controlId == id) return control;
    throw std::out_of_range("no control " + std::to_string(id));
}

std::string FakeView::AddressText() {
    const auto& fields = Control(ControlIds::kAddress).fieldTexts;
    return fields[0] + "." + fields[1] + "." + fields[2] + "." + fields[3];
}

void FakeView::TypeAddress(const std::string& text) {
    std::array<std::string, 4> fields;
    std::istringstream parts(text);
    for (std::string& field : fields) std::getline(parts, field, '.');
    Control(ControlIds::kAddress).fieldTexts = fields;
}

std::string FakeView::GetText(int id) { return id == ControlIds::kAddress ? AddressText() : Control(id).text; }

void FakeView::SetText(int id, const std::string& text) {
    if (id == ControlIds::kAddress) return;  // the address control keeps its fields
    Control(id).text = text;
}

void FakeView::Focus(int id) {
    focus = id;
    focusedField = id == ControlIds::kAddress ? 0 : -1;
}

AddressFields FakeView::GetAddressFields(int id) {
    AddressFields fields;
    for (size_t field = 0; field < fields.size(); ++field) {
        const std::string& text = Control(id).fieldTexts[field];
        if (!text.empty()) fields[field] = std::stoi(text);
    }
    return fields;
}

void FakeView::SetAddress(int id, uint32_t address) {
    for (int field = 0; field < 4; ++field)
        Control(id).fieldTexts[field] = std::to_string((address >> (8 * (3 - field))) & 0xFF);
}

void FakeView::FocusField(int id, int field) {
    focus = id;
    focusedField = field;
}

void FakeView::StartBarTimer(int id, uint32_t intervalMs) {
    Control(id).barTimerRunning = true;
    Control(id).barInterval = intervalMs;
}

void FakeView::ShowMessage(const std::string& text, MessageIcon messageIcon, const std::string& messageCaption) {
    shown.push_back({text, messageIcon, messageCaption});
    if (whileShown) whileShown(shown.back());
    DeliverPosted();
}

void FakeView::BeginWaitCursor() {
    ++waitCursors;
    maxWaitCursors = std::max(maxWaitCursors, waitCursors);
}

void FakeView::Post(DialogMessage message, uint32_t parameter) {
    std::lock_guard<std::mutex> lock(mutex_);
    posted_.emplace_back(message, parameter);
}

void FakeView::RunAboutBox() {
    ++aboutBoxes;
    if (whileAbout) whileAbout();
}

void FakeView::DeliverPosted() {
    for (;;) {
        std::pair<DialogMessage, uint32_t> next;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (posted_.empty()) return;
            next = posted_.front();
            posted_.pop_front();
        }
        if (dialog) dialog->OnMessage(next.first, next.second);
    }
}

bool FakeView::WaitFor(const std::function<bool()>& done, int timeoutMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        DeliverPosted();
        if (done()) return true;
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

void FakeView::ForEachChild(const std::function<void(MacroWindow&)>& visit) {
    for (auto& [id, control] : controls_) {
        if (id == kIntroText) {
            // A static text without an id of its own.
            struct Intro : MacroWindow {
                explicit Intro(std::string& text) : text_(text) {}
                std::string Text() const override { return text_; }
                void SetText(const std::string& text) override { text_ = text; }
                void ForEachChild(const std::function<void(MacroWindow&)>&) override {}
                std::string& text_;
            } intro(control.text);
            visit(intro);
            continue;
        }
        ControlWindow window(*this, id);
        visit(window);
    }
}
