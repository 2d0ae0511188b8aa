#include "dialog/SetIPDlg.h"

#include "assign/SetIP.h"
#include "dialog/DataExchange.h"
#include "dialog/Messages.h"
#include "dialog/ProposedAddress.h"
#include "net/HomePage.h"
#include "platform/Platform.h"
#include "support/Log.h"
#include "support/MacroWindow.h"
#include "support/Macros.h"
#include "support/StringIds.h"

#include <algorithm>

namespace {

constexpr int kSerialNumberLength = 12;
constexpr int kLastAddressField = 3;
// The progress bar's timer id, the attempt's time limit and its step.
constexpr uint32_t kProgressTimerId = 1;
constexpr uint32_t kAttemptTime = 1200000;
constexpr uint32_t kProgressStep = 500;
// How long a cancel waits for the job's worker.
constexpr uint32_t kCancelWait = 3000;

}  // namespace

SetIPDlg::SetIPDlg(DialogView& view)
    : view_(view), bar_(view, ControlIds::kProgressBar, kProgressTimerId, kAttemptTime, kProgressStep) {}

SetIPDlg::~SetIPDlg() { CancelJob(); }

void SetIPDlg::OnInitDialog() {
    UpdateData(false);
    ApplyMacrosToWindow(view_.Window());
    view_.SetIcon(kMainIconId);
    const std::string about = LoadText(kIdsAboutBox);
    if (!about.empty()) view_.AddSystemMenuItem(kAboutCommand, about);
    for (int field = 0; field <= kLastAddressField; ++field) {
        const FieldRange range = AddressFieldRange(field);
        view_.SetFieldRange(ControlIds::kAddress, field, range.low, range.high);
    }
    address_ = ProposedAddress();
    serialNumber_ = LoadText(kIdsSerialNumberPrefix);
    UpdateData(false);
    view_.Focus(ControlIds::kSerialNumber);
}

bool SetIPDlg::UpdateData(bool saveAndValidate) {
    DataExchange dx(view_, saveAndValidate);
    DoDataExchange(dx);
    return !dx.Failed();
}

void SetIPDlg::DoDataExchange(DataExchange& dx) {
    DDX_Text(dx, ControlIds::kSerialNumber, serialNumber_);
    DDV_MaxChars(dx, ControlIds::kSerialNumber, serialNumber_, kSerialNumberLength);
    DDV_SerialNumber(dx, ControlIds::kSerialNumber, kIdsInvalidSerialNumber);
    DDX_IPAddressText(dx, ControlIds::kAddress, address_);
    DDV_IPAddressFilled(dx, ControlIds::kAddress, kIdsInvalidAddress);
    DDV_IPAddressReachable(dx, ControlIds::kAddress, kIdsAddressNotOnLocalSubnet, kIdsAddressNotValid);
}

void SetIPDlg::OnCommand(int controlId) {
    switch (controlId) {
    case ControlIds::kSetIPButton:
        OnSetIPBtn();
        break;
    case ControlIds::kHomePageButton:
        OnHomePageBtn();
        break;
    case ControlIds::kExitButton:
        OnClose();
        break;
    default:
        break;
    }
}

void SetIPDlg::OnSetIPBtn() {
    LogScope scope("SetIPDlg::OnSetIPBtn");
    if (!UpdateData(true)) {
        scope.Trace("Format error in data fields");
        return;
    }
    scope.Trace("Set device '%s' to ip address '%s'", serialNumber_.c_str(), address_.c_str());
    EnterBusyState();
    job_ = new SetIP;
    job_->AddListener(this, 0);
    job_->Set(serialNumber_, address_);
    bar_.Start();
    view_.Enable(ControlIds::kSetIPButton, false);
    view_.Enable(ControlIds::kHomePageButton, false);
    view_.Enable(ControlIds::kExitButton, true);
    view_.SetDefaultButton(ControlIds::kExitButton);
    view_.Focus(ControlIds::kExitButton);
}

bool SetIPDlg::OnEvent(SetIPEvent event, uintptr_t) {
    LogScope scope("SetIPDlg::OnEvent");
    switch (event) {
    case SetIPEvent::InUse:
        view_.Post(DialogMessage::SetIPInUse, 0);
        break;
    case SetIPEvent::Success:
        view_.Post(DialogMessage::SetIPSuccess, 0);
        break;
    case SetIPEvent::AddressHeld:
        view_.Post(DialogMessage::SetIPHeld, 0);
        break;
    case SetIPEvent::Failed:
        view_.Post(DialogMessage::SetIPFailed, 0);
        break;
    default:
        scope.Trace("Unhandled event '%d'", static_cast<int>(event));
        break;
    }
    return false;
}

void SetIPDlg::OnMessage(DialogMessage message, uint32_t parameter) {
    switch (message) {
    case DialogMessage::SetIPSuccess:
        OnSetIPSuccess();
        break;
    case DialogMessage::SetIPInUse:
        OnSetIPInUse();
        break;
    case DialogMessage::SetIPHeld:
        OnSetIPHeld();
        break;
    case DialogMessage::SetIPFailed:
        OnSetIPFailed();
        break;
    case DialogMessage::Timer:
        OnTimer(parameter);
        break;
    }
}

void SetIPDlg::OnSetIPSuccess() {
    LogScope scope("SetIPDlg::OnSetIPSuccess");
    ReleaseJob();
    bar_.Stop();
    scope.Trace("Device '%s' was set to '%s'", serialNumber_.c_str(), address_.c_str());
    ShowDialogMessage(view_,
                      LoadTextWithMacros(kIdsAssignSucceeded, "IPADDRESS=%s;SERIALNBR=%s", address_.c_str(),
                                         serialNumber_.c_str()),
                      MessageIcon::Information);
    EnterIdleState();
    EndAttempt(ControlIds::kHomePageButton);
}

void SetIPDlg::OnSetIPInUse() {
    LogScope scope("SetIPDlg::OnSetIPInUse");
    EndWithMessage(scope, "Failed to set device '%s' to '%s', address in use",
                   LoadTextWithMacros(kIdsAddressInUse, "IPADDRESS=%s", address_.c_str()), MessageIcon::Exclamation);
}

void SetIPDlg::OnSetIPHeld() {
    LogScope scope("SetIPDlg::OnSetIPHeld");
    EndWithMessage(scope, "Failed to set device '%s' to '%s', address held by another run",
                   LoadTextWithMacros(kIdsAddressHeld, "IPADDRESS=%s", address_.c_str()), MessageIcon::Exclamation);
}

void SetIPDlg::OnSetIPFailed() {
    LogScope scope("SetIPDlg::OnSetIPFailed");
    EndWithMessage(scope, "Failed to set device '%s' to '%s'",
                   LoadTextWithMacros(kIdsNeighbourEntryFailed, "IPADDRESS=%s;SERIALNBR=%s", address_.c_str(),
                                      serialNumber_.c_str()),
                   MessageIcon::Exclamation);
}

void SetIPDlg::EndWithMessage(LogScope& scope, const char* traceFormat, const std::string& message,
                              MessageIcon icon) {
    ReleaseJob();
    bar_.Stop();
    scope.Trace(traceFormat, serialNumber_.c_str(), address_.c_str());
    ShowDialogMessage(view_, message, icon);
    EnterIdleState();
    EndAttempt(ControlIds::kSetIPButton);
}

void SetIPDlg::OnTimer(uint32_t timerId) {
    if (timerId != kProgressTimerId) return;
    if (job_) job_->Cancel();
    GlobalLogScope.Trace("Failed to set device '%s' to '%s', timout", serialNumber_.c_str(), address_.c_str());
    ShowDialogMessage(view_,
                      LoadTextWithMacros(kIdsAssignFailed, "IPADDRESS=%s;SERIALNBR=%s", address_.c_str(),
                                         serialNumber_.c_str()),
                      MessageIcon::Error);
    EnterIdleState();
    if (job_) {
        job_->WaitForStoped(kCancelWait);
        ReleaseJob();
    }
    EndAttempt(ControlIds::kSetIPButton);
}

void SetIPDlg::OnClose() {
    LogScope scope("SetIPDlg::OnClose");
    WaitCursor waitCursor(view_);
    if (busy_) {
        scope.Trace("Canceling");
        bar_.Stop();
        CancelJob();
        EnterIdleState();
        EndAttempt(ControlIds::kSetIPButton);
    } else {
        scope.Trace("Closing");
        view_.EndDialog();
    }
}

void SetIPDlg::OnCancel() {
    CancelJob();
    bar_.Stop();
    view_.EndDialog();
}

void SetIPDlg::OnHomePageBtn() {
    LogScope scope("SetIPDlg::OnHomePageBtn");
    WaitCursor waitCursor(view_);
    // Only a full numeric address is pinged, as "%d.%d.%d.%d": a partial
    // text is never looked up as a host name, and a leading zero never
    // turns a number octal.
    const AddressFields fields = view_.GetAddressFields(ControlIds::kAddress);
    const bool numeric = std::all_of(fields.begin(), fields.end(), [](const std::optional<int>& field) {
        return field && *field >= 0 && *field <= 255;
    });
    const std::string text = numeric ? AddressFieldsText(fields) : view_.GetText(ControlIds::kAddress);
    if (!numeric || !DeviceAnswersForHomePage(text.c_str())) {
        scope.Trace("No contact with address '%s'", text.c_str());
        ShowDialogMessage(view_, LoadTextWithMacros(kIdsNoDeviceAtAddress, "IPADDRESS=%s", text.c_str()),
                          MessageIcon::Exclamation);
        return;
    }
    scope.Trace("'%s' exists", text.c_str());
    const std::string url = "http://" + text;
    scope.Trace("Opening '%s'", url.c_str());
    if (!Platform::Current().OpenUrl(url)) {
        scope.Error("Could not launch web browser");
        ShowDialogMessage(view_, kIdsBrowserNotLaunched, MessageIcon::Error);
    }
}

void SetIPDlg::OnSysCommand(int command) {
    if ((command & ~0xF) == kAboutCommand) view_.RunAboutBox();
}

void SetIPDlg::EnterIdleState() {
    busy_ = false;
    view_.Enable(ControlIds::kSerialNumber, true);
    view_.Enable(ControlIds::kAddress, true);
    view_.Show(ControlIds::kHint, false);
    bar_.Reset();
    view_.SetText(ControlIds::kExitButton, LoadText(kIdsExit));
}

void SetIPDlg::EnterBusyState() {
    busy_ = true;
    view_.Enable(ControlIds::kSerialNumber, false);
    view_.Enable(ControlIds::kAddress, false);
    view_.Show(ControlIds::kHint, true);
    view_.SetText(ControlIds::kExitButton, LoadText(kIdsCancel));
}

void SetIPDlg::ReleaseJob() {
    if (!job_) return;
    job_->RemoveListener(this);
    job_->Destroy();
    job_ = nullptr;
}

void SetIPDlg::CancelJob() {
    if (!job_) return;
    job_->Cancel();
    job_->WaitForStoped(kCancelWait);
    ReleaseJob();
}

void SetIPDlg::EndAttempt(int defaultButton) {
    view_.Enable(ControlIds::kSetIPButton, true);
    view_.Enable(ControlIds::kHomePageButton, true);
    view_.Enable(ControlIds::kExitButton, true);
    view_.SetDefaultButton(defaultButton);
    if (defaultButton == ControlIds::kHomePageButton)
        view_.Focus(ControlIds::kHomePageButton);
    else
        view_.FocusField(ControlIds::kAddress, kLastAddressField);
}
