// The main dialog in Win32: dialog template 905 with the system's address
// control and progress bar, a view of its controls by id for the dialog's
// behaviour in SetIPDlg, and the window messages that bring the user's
// commands, the job's posted outcomes and the bar's steps to it.
#pragma once

#include "dialog/DialogView.h"
#include "dialog/SetIPDlg.h"
#include "win32/HwndMacroWindow.h"
#include "win32/Win32Api.h"

#include <array>
#include <memory>
#include <optional>

class Win32MainDialog : private DialogView {
public:
    Win32MainDialog() = default;
    ~Win32MainDialog() override;
    Win32MainDialog(const Win32MainDialog&) = delete;
    Win32MainDialog& operator=(const Win32MainDialog&) = delete;

    // Runs the dialog modally until it ends.
    void RunModal(HWND owner = nullptr);
    // Creates the dialog without a loop of its own (the caller pumps its
    // messages); its window, or null.
    HWND Create(HWND owner = nullptr);

    HWND Window() const { return window_; }
    SetIPDlg& Behaviour() { return *behaviour_; }

private:
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnInitDialog(HWND window);
    void OnFieldChanged(const NMIPADDRESS& change);
    HWND Item(int id) const { return ::GetDlgItem(window_, id); }

    // DialogView
    MacroWindow& Window() override { return macroWindow_; }
    std::string GetText(int id) override;
    void SetText(int id, const std::string& text) override;
    void Enable(int id, bool enabled) override;
    void Show(int id, bool shown) override;
    void Focus(int id) override;
    void SelectAll(int id) override;
    void SetDefaultButton(int id) override;
    void LimitText(int id, int count) override;
    AddressFields GetAddressFields(int id) override;
    void SetAddress(int id, uint32_t address) override;
    void SetFieldRange(int id, int field, int low, int high) override;
    void FocusField(int id, int field) override;
    void SetBarRange(int id, uint32_t high) override;
    void SetBarPosition(int id, uint32_t position) override;
    void StartBarTimer(int id, uint32_t intervalMs) override;
    void StopBarTimer(int id) override;
    void ShowMessage(const std::string& text, MessageIcon icon, const std::string& caption) override;
    void BeginWaitCursor() override;
    void EndWaitCursor() override;
    void Post(DialogMessage message, uint32_t parameter) override;
    void SetIcon(int iconId) override;
    void AddSystemMenuItem(int command, const std::string& text) override;
    void RunAboutBox() override;
    void EndDialog() override;

    HWND window_ = nullptr;
    bool modal_ = false;
    HwndMacroWindow macroWindow_{nullptr};
    // Values typed beyond a byte, which the system control would bring down
    // to 255 when the field is left: kept so that the dialog refuses them.
    std::array<std::optional<int>, 4> typedBeyondRange_{};
    HCURSOR cursorBeforeWait_ = nullptr;
    int waitCursors_ = 0;
    std::unique_ptr<SetIPDlg> behaviour_;
};

// The About box, template 100: modal with an owner, or created without a
// loop of its own for tests.
void RunAboutBox(HWND owner);
HWND CreateAboutBox(HWND owner);

// The id of the timer that steps the progress bar, on the dialog's window.
constexpr UINT_PTR kBarStepTimerId = 0x1000 + ControlIds::kProgressBar;
