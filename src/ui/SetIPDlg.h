// The main dialog: the user enters a device's serial number and the address
// it is to take, starts an assignment job with "Set IP", and hears of its
// outcome, of the 20-minute time-out or of a cancel in a message box. "View
// Home Page" opens the device's web page.
#pragma once

#include "assign/SetIPListener.h"

#include <QDialog>
#include <QEvent>
#include <QIcon>
#include <QString>

#include <memory>

class DataExchange;
class QMenu;
class QPushButton;
class SetIP;

namespace Ui {
class SetIPDlg;
}

class SetIPDlg : public QDialog, public SetIPListener {
    Q_OBJECT
public:
    // Posted by OnEvent from the job's worker thread.
    static constexpr QEvent::Type WM_SETIP_SUCCESS = static_cast<QEvent::Type>(0x8001);
    static constexpr QEvent::Type WM_SETIP_INUSE = static_cast<QEvent::Type>(0x8002);
    static constexpr QEvent::Type WM_SETIP_HELD = static_cast<QEvent::Type>(0x8003);
    static constexpr QEvent::Type WM_SETIP_FAILED = static_cast<QEvent::Type>(0x8004);
    // The id of the About command.
    static constexpr int kAboutCommand = 16;

    explicit SetIPDlg(QWidget* parent = nullptr);
    ~SetIPDlg() override;

    // Saves (true) or loads the fields; false when a check failed.
    bool UpdateData(bool saveAndValidate);
    bool OnEvent(SetIPEvent event, uintptr_t context) override;

    void OnSetIPBtn();
    void OnHomePageBtn();
    void OnClose();
    void OnTimer(uint32_t timerId);
    void OnSetIPSuccess();
    void OnSetIPInUse();
    // Another run holds the address (message 212), or the neighbour entry
    // could not be added (213): a message, then idle.
    void OnSetIPHeld();
    void OnSetIPFailed();
    void OnSysCommand(int command);

    bool IsBusy() const { return busy_; }
    // The values of the last exchange.
    const QString& SerialNumber() const { return serialNumber_; }
    const QString& Address() const { return address_; }
    // The menu with the About entry, shown on a right click on the dialog,
    // the Menu key and Alt+Space.
    QMenu* AboutMenu() const { return aboutMenu_; }
    Ui::SetIPDlg& Controls() const { return *ui_; }

public slots:
    // Esc: the dialog ends in either state; a running job is cancelled first.
    void reject() override;

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void OnInitDialog();
    void DoDataExchange(DataExchange& dx);
    void EnterIdleState();
    void EnterBusyState();
    void ReleaseJob();
    // Cancels the job, waits for it (bounded) and releases it.
    void CancelJob();
    // Enables the three buttons after an attempt and makes `defaultButton` the
    // default; the focus goes to it after a success, else to the last address field.
    void EndAttempt(QPushButton* defaultButton);
    void SetDefaultButton(QPushButton* button);
    void FocusLastAddressField();
    void ShowAboutMenu(const QPoint& globalPosition);

    std::unique_ptr<Ui::SetIPDlg> ui_;
    SetIP* job_ = nullptr;
    QIcon icon_;
    bool busy_ = false;
    QString serialNumber_;
    QString address_;
    QMenu* aboutMenu_ = nullptr;
};
