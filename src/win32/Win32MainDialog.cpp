#include "win32/Win32MainDialog.h"

#include "dialog/AboutBox.h"
#include "win32/Win32MessageBoxes.h"

namespace {

constexpr int kMainDialogTemplate = 905;
constexpr int kAboutBoxTemplate = 100;
constexpr int kAddressFieldCount = 4;

HINSTANCE Instance() { return ::GetModuleHandleA(nullptr); }

// The four edit windows of an address control, left to right.
std::array<HWND, kAddressFieldCount> AddressFieldWindows(HWND control) {
    std::array<HWND, kAddressFieldCount> fields{};
    HWND child = ::GetWindow(control, GW_CHILD);
    for (HWND& field : fields) {
        field = child;
        if (child) child = ::GetWindow(child, GW_HWNDNEXT);
    }
    return fields;
}

INT_PTR CALLBACK AboutProc(HWND window, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG: {
        HwndMacroWindow about(window);
        InitAboutBox(about);
        return TRUE;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            ::EndDialog(window, LOWORD(wParam));
            return TRUE;
        }
        break;
    default:
        break;
    }
    return FALSE;
}

}  // namespace

void RunAboutBox(HWND owner) { ::DialogBoxParamA(Instance(), MAKEINTRESOURCEA(kAboutBoxTemplate), owner, AboutProc, 0); }

HWND CreateAboutBox(HWND owner) {
    return ::CreateDialogParamA(Instance(), MAKEINTRESOURCEA(kAboutBoxTemplate), owner, AboutProc, 0);
}

Win32MainDialog::~Win32MainDialog() {
    if (window_ && !modal_) ::DestroyWindow(window_);
    behaviour_.reset();
}

void Win32MainDialog::RunModal(HWND owner) {
    modal_ = true;
    ::DialogBoxParamA(Instance(), MAKEINTRESOURCEA(kMainDialogTemplate), owner, DialogProc,
                      reinterpret_cast<LPARAM>(this));
}

HWND Win32MainDialog::Create(HWND owner) {
    modal_ = false;
    return ::CreateDialogParamA(Instance(), MAKEINTRESOURCEA(kMainDialogTemplate), owner, DialogProc,
                                reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK Win32MainDialog::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* dialog = reinterpret_cast<Win32MainDialog*>(lParam);
        ::SetWindowLongPtrA(window, DWLP_USER, lParam);
        dialog->OnInitDialog(window);
        // The dialog has put the focus where it belongs.
        return FALSE;
    }
    auto* dialog = reinterpret_cast<Win32MainDialog*>(::GetWindowLongPtrA(window, DWLP_USER));
    return dialog ? dialog->OnMessage(message, wParam, lParam) : FALSE;
}

void Win32MainDialog::OnInitDialog(HWND window) {
    window_ = window;
    macroWindow_ = HwndMacroWindow(window);
    behaviour_ = std::make_unique<SetIPDlg>(static_cast<DialogView&>(*this));
    behaviour_->OnInitDialog();
}

INT_PTR Win32MainDialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (!behaviour_) return FALSE;
    switch (message) {
    case WM_COMMAND:
        if (HIWORD(wParam) != BN_CLICKED) return FALSE;
        if (LOWORD(wParam) == IDCANCEL)
            behaviour_->OnCancel();
        else
            behaviour_->OnCommand(LOWORD(wParam));
        return TRUE;
    case WM_CLOSE:
        behaviour_->OnClose();
        return TRUE;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) != static_cast<WPARAM>(kAboutCommand)) return FALSE;
        behaviour_->OnSysCommand(static_cast<int>(wParam));
        return TRUE;
    case WM_TIMER:
        if (wParam == kBarStepTimerId)
            behaviour_->OnBarStep();
        else
            behaviour_->OnMessage(DialogMessage::Timer, static_cast<uint32_t>(wParam));
        return TRUE;
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->idFrom == static_cast<UINT_PTR>(ControlIds::kAddress) && header->code == IPN_FIELDCHANGED)
            OnFieldChanged(*reinterpret_cast<const NMIPADDRESS*>(lParam));
        return FALSE;
    }
    case static_cast<UINT>(DialogMessage::SetIPSuccess):
    case static_cast<UINT>(DialogMessage::SetIPInUse):
    case static_cast<UINT>(DialogMessage::SetIPHeld):
    case static_cast<UINT>(DialogMessage::SetIPFailed):
        behaviour_->OnMessage(static_cast<DialogMessage>(message), static_cast<uint32_t>(wParam));
        return TRUE;
    case WM_DESTROY:
        // A job still running is cancelled while the window still takes its messages.
        behaviour_.reset();
        return FALSE;
    default:
        return FALSE;
    }
}

void Win32MainDialog::OnFieldChanged(const NMIPADDRESS& change) {
    if (change.iField < 0 || change.iField >= kAddressFieldCount) return;
    typedBeyondRange_[change.iField] =
        change.iValue > 255 ? std::optional<int>(change.iValue) : std::nullopt;
}

std::string Win32MainDialog::GetText(int id) { return WindowText(Item(id)); }

void Win32MainDialog::SetText(int id, const std::string& text) { ::SetDlgItemTextA(window_, id, text.c_str()); }

void Win32MainDialog::Enable(int id, bool enabled) { ::EnableWindow(Item(id), enabled); }

void Win32MainDialog::Show(int id, bool shown) { ::ShowWindow(Item(id), shown ? SW_SHOW : SW_HIDE); }

void Win32MainDialog::Focus(int id) {
    // Through the dialog manager, so that the default button follows the focus.
    ::SendMessageA(window_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(id)), TRUE);
}

void Win32MainDialog::SelectAll(int id) {
    HWND control = Item(id);
    HWND focused = ::GetFocus();
    // In the address control, the field that has the focus.
    HWND target = focused && ::IsChild(control, focused) ? focused : control;
    ::SendMessageA(target, EM_SETSEL, 0, -1);
}

void Win32MainDialog::SetDefaultButton(int id) { ::SendMessageA(window_, DM_SETDEFID, static_cast<WPARAM>(id), 0); }

void Win32MainDialog::LimitText(int id, int count) {
    ::SendDlgItemMessageA(window_, id, EM_LIMITTEXT, static_cast<WPARAM>(count), 0);
}

AddressFields Win32MainDialog::GetAddressFields(int id) {
    AddressFields values;
    const auto fields = AddressFieldWindows(Item(id));
    for (int field = 0; field < kAddressFieldCount; ++field) {
        const std::string text = fields[field] ? WindowText(fields[field]) : std::string();
        if (text.empty()) continue;
        values[field] = typedBeyondRange_[field].value_or(std::atoi(text.c_str()));
    }
    return values;
}

void Win32MainDialog::SetAddress(int id, uint32_t address) {
    typedBeyondRange_ = {};
    ::SendDlgItemMessageA(window_, id, IPM_SETADDRESS, 0, static_cast<LPARAM>(address));
}

void Win32MainDialog::SetFieldRange(int id, int field, int, int) {
    // The system control would bring a value down to its field's range
    // without a word; it keeps a byte's range, and the dialog refuses what
    // lies outside the field's own when the fields are saved.
    ::SendDlgItemMessageA(window_, id, IPM_SETRANGE, static_cast<WPARAM>(field), MAKEIPRANGE(0, 255));
}

void Win32MainDialog::FocusField(int id, int field) {
    Focus(id);
    ::SendDlgItemMessageA(window_, id, IPM_SETFOCUS, static_cast<WPARAM>(field), 0);
}

void Win32MainDialog::SetBarRange(int id, uint32_t high) {
    ::SendDlgItemMessageA(window_, id, PBM_SETRANGE32, 0, static_cast<LPARAM>(high));
}

void Win32MainDialog::SetBarPosition(int id, uint32_t position) {
    ::SendDlgItemMessageA(window_, id, PBM_SETPOS, static_cast<WPARAM>(position), 0);
}

void Win32MainDialog::StartBarTimer(int, uint32_t intervalMs) { ::SetTimer(window_, kBarStepTimerId, intervalMs, nullptr); }

void Win32MainDialog::StopBarTimer(int) { ::KillTimer(window_, kBarStepTimerId); }

void Win32MainDialog::ShowMessage(const std::string& text, MessageIcon icon, const std::string& caption) {
    Win32MessageBoxes::Current().Show(window_, text, icon, caption);
}

void Win32MainDialog::BeginWaitCursor() {
    HCURSOR previous = ::SetCursor(::LoadCursorA(nullptr, MAKEINTRESOURCEA(32514)));  // IDC_WAIT
    if (waitCursors_++ == 0) cursorBeforeWait_ = previous;
}

void Win32MainDialog::EndWaitCursor() {
    if (--waitCursors_ == 0) ::SetCursor(cursorBeforeWait_);
}

void Win32MainDialog::Post(DialogMessage message, uint32_t parameter) {
    ::PostMessageA(window_, static_cast<UINT>(message), static_cast<WPARAM>(parameter), 0);
}

void Win32MainDialog::SetIcon(int iconId) {
    for (const auto& [size, which] : {std::pair{SM_CXICON, ICON_BIG}, std::pair{SM_CXSMICON, ICON_SMALL}}) {
        const int pixels = ::GetSystemMetrics(size);
        HANDLE icon = ::LoadImageA(Instance(), MAKEINTRESOURCEA(iconId), IMAGE_ICON, pixels, pixels, LR_SHARED);
        ::SendMessageA(window_, WM_SETICON, which, reinterpret_cast<LPARAM>(icon));
    }
}

void Win32MainDialog::AddSystemMenuItem(int command, const std::string& text) {
    HMENU menu = ::GetSystemMenu(window_, FALSE);
    if (!menu) return;
    ::AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuA(menu, MF_STRING, static_cast<UINT_PTR>(command), text.c_str());
}

void Win32MainDialog::RunAboutBox() { ::RunAboutBox(window_); }

void Win32MainDialog::EndDialog() {
    // Either way the window goes only once the handler that ended it has returned.
    if (modal_)
        ::EndDialog(window_, IDCANCEL);
    else
        ::ShowWindow(window_, SW_HIDE);
}
