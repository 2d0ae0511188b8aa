// The main dialog's behaviour: the user enters a device's serial number and
// the address it is to take, starts an assignment job with "Set IP", and
// hears of its outcome, of the 20-minute time-out or of a cancel in a message
// box; "View Home Page" opens the device's web page. It drives its controls
// through a DialogView, which passes it the user's commands and the messages
// posted to the dialog.
#pragma once

#include "assign/SetIPListener.h"
#include "dialog/DialogView.h"
#include "dialog/ProgressCtrl.h"

#include <string>

class DataExchange;
class LogScope;
class SetIP;

class SetIPDlg : public SetIPListener {
public:
    explicit SetIPDlg(DialogView& view);
    // Cancels a job still attached and waits for it (bounded) before it is
    // released, so that no neighbour entry outlives the dialog.
    ~SetIPDlg();
    SetIPDlg(const SetIPDlg&) = delete;
    SetIPDlg& operator=(const SetIPDlg&) = delete;

    // Once, when the view's windows exist: texts, icon, menu, ranges, the
    // proposed address and the serial-number prefix.
    void OnInitDialog();
    // Saves (true) or loads the fields; false when a check failed.
    bool UpdateData(bool saveAndValidate);

    // A push button was clicked, or Enter chose the default button.
    void OnCommand(int controlId);
    void OnSetIPBtn();
    void OnHomePageBtn();
    // Button 8 and closing the window: cancel when busy, end when idle.
    void OnClose();
    // Esc: the dialog ends in either state; a running job is cancelled first.
    void OnCancel();
    // A message the view took from its queue (see DialogView::Post).
    void OnMessage(DialogMessage message, uint32_t parameter);
    void OnTimer(uint32_t timerId);
    void OnSetIPSuccess();
    void OnSetIPInUse();
    // Another run holds the address (message 212), or the neighbour entry
    // could not be added (213): a message, then idle.
    void OnSetIPHeld();
    void OnSetIPFailed();
    void OnSysCommand(int command);
    // The bar's step timer fired.
    void OnBarStep() { bar_.OnStep(); }

    // On the job's worker thread: posts the outcome to the dialog.
    bool OnEvent(SetIPEvent event, uintptr_t context) override;

    bool IsBusy() const { return busy_; }
    // The values of the last exchange.
    const std::string& SerialNumber() const { return serialNumber_; }
    const std::string& Address() const { return address_; }
    const ProgressCtrl& Bar() const { return bar_; }

private:
    void DoDataExchange(DataExchange& dx);
    void EnterIdleState();
    void EnterBusyState();
    void ReleaseJob();
    // Cancels the job, waits for it (bounded) and releases it.
    void CancelJob();
    // Enables the three buttons after an attempt and makes `defaultButton` the
    // default; the focus goes to it after a success, else to the last address field.
    void EndAttempt(int defaultButton);
    // An outcome that ends the attempt and leaves Set IP the default:
    // release, stop the bar, trace, show `message`, idle.
    void EndWithMessage(LogScope& scope, const char* traceFormat, const std::string& message, MessageIcon icon);

    DialogView& view_;
    ProgressCtrl bar_;
    SetIP* job_ = nullptr;
    bool busy_ = false;
    std::string serialNumber_;
    std::string address_;
};
