#include "ui/SetIPDlg.h"

#include "assign/SetIP.h"
#include "net/HomePage.h"
#include "net/IpAddress.h"
#include "platform/Platform.h"
#include "support/Log.h"
#include "support/MacroWindow.h"
#include "support/Macros.h"
#include "support/StringIds.h"
#include "ui/AboutDlg.h"
#include "ui/DataExchange.h"
#include "ui/DialogResources.h"
#include "ui/MessageBox.h"
#include "ui/ProgressCtrl.h"
#include "ui/WidgetMacroWindow.h"
#include "ui_SetIPDlg.h"

#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QMenu>
#include <QShortcut>

namespace {

// Control ids of the dialog template.
constexpr int kSerialNumberId = 1043;
constexpr int kAddressId = 1013;

constexpr int kSerialNumberLength = 12;
constexpr int kLastAddressField = 3;
// The progress bar's timer id, the attempt's time limit and its step.
constexpr uint32_t kProgressTimerId = 1;
constexpr uint32_t kAttemptTime = 1200000;
constexpr uint32_t kProgressStep = 500;
// How long a cancel waits for the job's worker.
constexpr uint32_t kCancelWait = 3000;

// Shows the wait cursor for the life of a scope.
class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

QString LoadQText(unsigned id) { return QString::fromStdString(LoadText(id)); }

}  // namespace

SetIPDlg::SetIPDlg(QWidget* parent) : QDialog(parent), ui_(std::make_unique<Ui::SetIPDlg>()) {
    LoadDialogResources();
    icon_.addFile(QStringLiteral(":/icons/100-32.png"));
    icon_.addFile(QStringLiteral(":/icons/100-16.png"));
    ui_->setupUi(this);
    ui_->progressCtrl->SetTiming(kProgressTimerId, kAttemptTime, kProgressStep);
    // The hint keeps its place while hidden, so the dialog never changes size.
    QSizePolicy hintPolicy = ui_->hintText->sizePolicy();
    hintPolicy.setRetainSizeWhenHidden(true);
    ui_->hintText->setSizePolicy(hintPolicy);
    connect(ui_->setIPButton, &QPushButton::clicked, this, &SetIPDlg::OnSetIPBtn);
    connect(ui_->homePageButton, &QPushButton::clicked, this, &SetIPDlg::OnHomePageBtn);
    connect(ui_->exitButton, &QPushButton::clicked, this, &SetIPDlg::OnClose);
    OnInitDialog();
}

SetIPDlg::~SetIPDlg() { ReleaseJob(); }

void SetIPDlg::OnInitDialog() {
    UpdateData(false);
    WidgetMacroWindow window(*this);
    ApplyMacrosToWindow(window);
    setWindowIcon(icon_);

    aboutMenu_ = new QMenu(this);
    const std::string about = LoadText(kIdsAboutBox);
    if (!about.empty()) {
        aboutMenu_->addSeparator();
        aboutMenu_->addAction(QString::fromStdString(about), this, [this] { OnSysCommand(kAboutCommand); });
    }
    // The keys that open a window menu, whichever control has the focus.
    for (QKeySequence keys : {QKeySequence(Qt::ALT | Qt::Key_Space), QKeySequence(Qt::Key_Menu)})
        connect(new QShortcut(keys, this), &QShortcut::activated, this,
                [this] { ShowAboutMenu(mapToGlobal(QPoint(0, 0))); });

    for (int field = 0; field < kLastAddressField; ++field) ui_->ipAddressCtrl->SetFieldRange(field, 0, 255);
    ui_->ipAddressCtrl->SetFieldRange(kLastAddressField, 1, 254);

    const IpAddress localHost = IpAddress::LocalHost();
    address_ = QString::asprintf("%d.%d.%d.0", localHost.GetOctet(1), localHost.GetOctet(2), localHost.GetOctet(3));
    serialNumber_ = LoadQText(kIdsSerialNumberPrefix);
    UpdateData(false);
    ui_->serialNumberEdit->setFocus();
}

bool SetIPDlg::UpdateData(bool saveAndValidate) {
    DataExchange dx(this, saveAndValidate);
    DoDataExchange(dx);
    return !dx.Failed();
}

void SetIPDlg::DoDataExchange(DataExchange& dx) {
    DDX_Text(dx, kSerialNumberId, serialNumber_);
    DDV_MaxChars(dx, kSerialNumberId, serialNumber_, kSerialNumberLength);
    DDV_SerialNumber(dx, kSerialNumberId, kIdsInvalidSerialNumber);
    DDX_IPAddressText(dx, kAddressId, address_);
    DDV_IPAddressFilled(dx, kAddressId, kIdsInvalidAddress);
    DDV_IPAddressReachable(dx, kAddressId, kIdsAddressNotOnLocalSubnet, kIdsAddressNotValid);
}

void SetIPDlg::OnSetIPBtn() {
    LogScope scope("SetIPDlg::OnSetIPBtn");
    if (!UpdateData(true)) {
        scope.Trace("Format error in data fields");
        return;
    }
    const std::string serialNumber = serialNumber_.toStdString();
    const std::string address = address_.toStdString();
    scope.Trace("Set device '%s' to ip address '%s'", serialNumber.c_str(), address.c_str());
    EnterBusyState();
    job_ = new SetIP;
    job_->AddListener(this, 0);
    job_->Set(serialNumber, address);
    ui_->progressCtrl->Start();
    ui_->setIPButton->setEnabled(false);
    ui_->homePageButton->setEnabled(false);
    ui_->exitButton->setEnabled(true);
    SetDefaultButton(ui_->exitButton);
    ui_->exitButton->setFocus();
}

bool SetIPDlg::OnEvent(SetIPEvent event, uintptr_t) {
    LogScope scope("SetIPDlg::OnEvent");
    switch (event) {
    case SetIPEvent::InUse:
        QCoreApplication::postEvent(this, new QEvent(WM_SETIP_INUSE));
        break;
    case SetIPEvent::Success:
        QCoreApplication::postEvent(this, new QEvent(WM_SETIP_SUCCESS));
        break;
    case SetIPEvent::AddressHeld:
        QCoreApplication::postEvent(this, new QEvent(WM_SETIP_HELD));
        break;
    case SetIPEvent::Failed:
        QCoreApplication::postEvent(this, new QEvent(WM_SETIP_FAILED));
        break;
    default:
        scope.Trace("Unhandled event '%d'", static_cast<int>(event));
        break;
    }
    return false;
}

void SetIPDlg::OnSetIPSuccess() {
    LogScope scope("SetIPDlg::OnSetIPSuccess");
    ReleaseJob();
    ui_->progressCtrl->Stop();
    const std::string serialNumber = serialNumber_.toStdString();
    const std::string address = address_.toStdString();
    scope.Trace("Device '%s' was set to '%s'", serialNumber.c_str(), address.c_str());
    ShowMessage(
        this,
        LoadTextWithMacros(kIdsAssignSucceeded, "IPADDRESS=%s;SERIALNBR=%s", address.c_str(), serialNumber.c_str()),
        MessageIcon::Information);
    EnterIdleState();
    EndAttempt(ui_->homePageButton);
}

void SetIPDlg::OnSetIPInUse() {
    LogScope scope("SetIPDlg::OnSetIPInUse");
    ReleaseJob();
    ui_->progressCtrl->Stop();
    const std::string serialNumber = serialNumber_.toStdString();
    const std::string address = address_.toStdString();
    scope.Trace("Failed to set device '%s' to '%s', address in use", serialNumber.c_str(), address.c_str());
    ShowMessage(this, LoadTextWithMacros(kIdsAddressInUse, "IPADDRESS=%s", address.c_str()), MessageIcon::Exclamation);
    EnterIdleState();
    EndAttempt(ui_->setIPButton);
}

void SetIPDlg::OnSetIPHeld() {
    LogScope scope("SetIPDlg::OnSetIPHeld");
    ReleaseJob();
    ui_->progressCtrl->Stop();
    const std::string serialNumber = serialNumber_.toStdString();
    const std::string address = address_.toStdString();
    scope.Trace("Failed to set device '%s' to '%s', address held by another run", serialNumber.c_str(),
                address.c_str());
    ShowMessage(this, LoadTextWithMacros(kIdsAddressHeld, "IPADDRESS=%s", address.c_str()), MessageIcon::Exclamation);
    EnterIdleState();
    EndAttempt(ui_->setIPButton);
}

void SetIPDlg::OnSetIPFailed() {
    LogScope scope("SetIPDlg::OnSetIPFailed");
    ReleaseJob();
    ui_->progressCtrl->Stop();
    const std::string serialNumber = serialNumber_.toStdString();
    const std::string address = address_.toStdString();
    scope.Trace("Failed to set device '%s' to '%s'", serialNumber.c_str(), address.c_str());
    ShowMessage(this,
                LoadTextWithMacros(kIdsNeighbourEntryFailed, "IPADDRESS=%s;SERIALNBR=%s", address.c_str(),
                                   serialNumber.c_str()),
                MessageIcon::Exclamation);
    EnterIdleState();
    EndAttempt(ui_->setIPButton);
}

void SetIPDlg::OnTimer(uint32_t timerId) {
    if (timerId != kProgressTimerId) return;
    if (job_) job_->Cancel();
    const std::string serialNumber = serialNumber_.toStdString();
    const std::string address = address_.toStdString();
    GlobalLogScope.Trace("Failed to set device '%s' to '%s', timout", serialNumber.c_str(), address.c_str());
    ShowMessage(
        this, LoadTextWithMacros(kIdsAssignFailed, "IPADDRESS=%s;SERIALNBR=%s", address.c_str(), serialNumber.c_str()),
        MessageIcon::Error);
    EnterIdleState();
    if (job_) {
        job_->WaitForStoped(kCancelWait);
        ReleaseJob();
    }
    EndAttempt(ui_->setIPButton);
}

void SetIPDlg::OnClose() {
    LogScope scope("SetIPDlg::OnClose");
    WaitCursor waitCursor;
    if (busy_) {
        scope.Trace("Canceling");
        ui_->progressCtrl->Stop();
        CancelJob();
        EnterIdleState();
        EndAttempt(ui_->setIPButton);
    } else {
        scope.Trace("Closing");
        QDialog::done(QDialog::Rejected);
    }
}

void SetIPDlg::reject() {
    CancelJob();
    ui_->progressCtrl->Stop();
    QDialog::reject();
}

void SetIPDlg::OnHomePageBtn() {
    LogScope scope("SetIPDlg::OnHomePageBtn");
    WaitCursor waitCursor;
    const std::string text = ui_->ipAddressCtrl->Text().toStdString();
    if (!DeviceAnswersForHomePage(text.c_str())) {
        scope.Trace("No contact with address '%s'", text.c_str());
        ShowMessage(this, LoadTextWithMacros(kIdsNoDeviceAtAddress, "IPADDRESS=%s", text.c_str()),
                    MessageIcon::Exclamation);
        return;
    }
    scope.Trace("'%s' exists", text.c_str());
    const std::string url = "http://" + text;
    scope.Trace("Opening '%s'", url.c_str());
    if (!Platform::Current().OpenUrl(url)) {
        scope.Error("Could not launch web browser");
        ShowMessage(this, kIdsBrowserNotLaunched, MessageIcon::Error);
    }
}

void SetIPDlg::OnSysCommand(int command) {
    if ((command & ~0xF) != kAboutCommand) return;
    AboutDlg about(this);
    about.exec();
}

void SetIPDlg::EnterIdleState() {
    busy_ = false;
    ui_->serialNumberEdit->setEnabled(true);
    ui_->ipAddressCtrl->setEnabled(true);
    ui_->hintText->hide();
    ui_->progressCtrl->Reset();
    ui_->exitButton->setText(LoadQText(kIdsExit));
}

void SetIPDlg::EnterBusyState() {
    busy_ = true;
    ui_->serialNumberEdit->setEnabled(false);
    ui_->ipAddressCtrl->setEnabled(false);
    ui_->hintText->show();
    ui_->exitButton->setText(LoadQText(kIdsCancel));
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

void SetIPDlg::EndAttempt(QPushButton* defaultButton) {
    ui_->setIPButton->setEnabled(true);
    ui_->homePageButton->setEnabled(true);
    ui_->exitButton->setEnabled(true);
    SetDefaultButton(defaultButton);
    if (defaultButton == ui_->homePageButton)
        ui_->homePageButton->setFocus();
    else
        FocusLastAddressField();
}

void SetIPDlg::SetDefaultButton(QPushButton* button) {
    for (QPushButton* other : {ui_->setIPButton, ui_->homePageButton, ui_->exitButton})
        if (other != button) other->setDefault(false);
    button->setDefault(true);
}

void SetIPDlg::FocusLastAddressField() { ui_->ipAddressCtrl->SetFieldFocus(kLastAddressField); }

void SetIPDlg::ShowAboutMenu(const QPoint& globalPosition) {
    if (!aboutMenu_->isEmpty()) aboutMenu_->exec(globalPosition);
}

bool SetIPDlg::event(QEvent* event) {
    if (event->type() == WM_SETIP_SUCCESS) {
        OnSetIPSuccess();
        return true;
    }
    if (event->type() == WM_SETIP_INUSE) {
        OnSetIPInUse();
        return true;
    }
    if (event->type() == WM_SETIP_HELD) {
        OnSetIPHeld();
        return true;
    }
    if (event->type() == WM_SETIP_FAILED) {
        OnSetIPFailed();
        return true;
    }
    if (event->type() == TimerExpiredEvent::EventType()) {
        OnTimer(static_cast<TimerExpiredEvent*>(event)->timerId);
        return true;
    }
    return QDialog::event(event);
}

// The close box, Alt+F4 and the window menu's Close: cancel when busy, end when idle.
void SetIPDlg::closeEvent(QCloseEvent* event) {
    event->ignore();
    OnClose();
}

void SetIPDlg::contextMenuEvent(QContextMenuEvent* event) { ShowAboutMenu(event->globalPos()); }
