// What the main dialog's behaviour needs from a window toolkit: controls
// addressed by their template ids, message boxes, the wait cursor, messages
// posted back to the user-interface thread, the bar's step timer, icons and
// the system menu. A view implements it over its toolkit's windows and
// passes the user's commands to SetIPDlg; it decides no state, message or
// order of its own.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

class MacroWindow;

// The control ids of the main dialog's template.
namespace ControlIds {
constexpr int kExitButton = 8;
constexpr int kProgressBar = 1000;
constexpr int kSerialNumberLabel = 1002;
constexpr int kHomePageButton = 1004;
constexpr int kHint = 1007;
constexpr int kAddressLabel = 1008;
constexpr int kAddress = 1013;
constexpr int kSetIPButton = 1014;
constexpr int kSerialNumber = 1043;
}  // namespace ControlIds

// Icon resources: the main window's, and the About box's.
constexpr int kMainIconId = 100;
constexpr int kAboutIconId = 140;
// The system-menu command that opens the About box.
constexpr int kAboutCommand = 16;

enum class MessageIcon {
    Information,
    Exclamation,
    Error,
};

// Messages that reach the dialog through the user-interface thread's queue,
// with the values of the window messages they stand for.
enum class DialogMessage : uint32_t {
    Timer = 0x0113,          // the bar's time is up; the parameter is its timer id
    SetIPSuccess = 0x8001,   // the job reported Success
    SetIPInUse = 0x8002,     // the job reported InUse
    SetIPHeld = 0x8003,      // the job reported AddressHeld
    SetIPFailed = 0x8004,    // the job reported Failed
};

// The four fields of the address control, left to right, as typed: blank
// fields are empty, and a value is what the user typed, never brought into
// a range by the control.
using AddressFields = std::array<std::optional<int>, 4>;

class DialogView {
public:
    virtual ~DialogView() = default;

    // The dialog as the text macros see it: its caption and direct children.
    virtual MacroWindow& Window() = 0;

    // --- Any control --------------------------------------------------------
    virtual std::string GetText(int id) = 0;
    virtual void SetText(int id, const std::string& text) = 0;
    virtual void Enable(int id, bool enabled) = 0;
    virtual void Show(int id, bool shown) = 0;
    virtual void Focus(int id) = 0;
    // Selects the whole text of an edit control.
    virtual void SelectAll(int id) = 0;
    // Makes push button `id` the default button (DM_SETDEFID).
    virtual void SetDefaultButton(int id) = 0;
    // The edit control takes at most `count` characters.
    virtual void LimitText(int id, int count) = 0;

    // --- The address control ----------------------------------------------
    virtual AddressFields GetAddressFields(int id) = 0;
    // Sets all four fields from a packed address, field 0 in the top byte.
    virtual void SetAddress(int id, uint32_t address) = 0;
    // The values field `field` is meant to take; shown to the user where the
    // toolkit can, never enforced by changing what was typed.
    virtual void SetFieldRange(int id, int field, int low, int high) = 0;
    // Focuses field `field` with its text selected.
    virtual void FocusField(int id, int field) = 0;

    // --- The progress bar ---------------------------------------------------
    virtual void SetBarRange(int id, uint32_t high) = 0;
    virtual void SetBarPosition(int id, uint32_t position) = 0;
    // Starts (or restarts) the bar's step timer: every `intervalMs` the view
    // calls SetIPDlg::OnBarStep on the user-interface thread.
    virtual void StartBarTimer(int id, uint32_t intervalMs) = 0;
    virtual void StopBarTimer(int id) = 0;

    // --- The dialog -----------------------------------------------------------
    // A modal box with an OK button; returns when the user has closed it.
    // Messages posted meanwhile are delivered while it is open. An empty
    // caption stands for the program's name.
    virtual void ShowMessage(const std::string& text, MessageIcon icon, const std::string& caption) = 0;
    virtual void BeginWaitCursor() = 0;
    virtual void EndWaitCursor() = 0;
    // Queues `message` for SetIPDlg::OnMessage on the user-interface thread.
    // Callable from any thread; nothing arrives once the view is gone.
    virtual void Post(DialogMessage message, uint32_t parameter) = 0;
    // The window's big and small icon.
    virtual void SetIcon(int iconId) = 0;
    // Appends a separator and an item with `command` and `text` to the
    // system menu; choosing it calls SetIPDlg::OnSysCommand.
    virtual void AddSystemMenuItem(int command, const std::string& text) = 0;
    // Runs the About box modally.
    virtual void RunAboutBox() = 0;
    // Ends the dialog with the cancel result.
    virtual void EndDialog() = 0;
};
