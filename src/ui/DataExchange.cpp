#include "ui/DataExchange.h"

#include "net/AddressRules.h"
#include "net/NetUtil.h"
#include "support/Macros.h"
#include "ui/ControlId.h"
#include "ui/IPAddressCtrl.h"
#include "ui/MessageBox.h"

#include <QLineEdit>

QWidget* DataExchange::PrepareCtrl(int id) {
    lastControl_ = FindControl(dialog_, id);
    lastWasEdit_ = false;
    return lastControl_;
}

QWidget* DataExchange::PrepareEditCtrl(int id) {
    PrepareCtrl(id);
    lastWasEdit_ = true;
    return lastControl_;
}

void DataExchange::Fail() {
    failed_ = true;
    if (!lastControl_) return;
    lastControl_->setFocus(Qt::OtherFocusReason);
    if (auto* edit = qobject_cast<QLineEdit*>(lastControl_); edit && lastWasEdit_) edit->selectAll();
}

void DDX_Text(DataExchange& dx, int id, QString& value) {
    if (dx.Failed()) return;
    auto* edit = qobject_cast<QLineEdit*>(dx.PrepareEditCtrl(id));
    if (!edit) return;
    if (dx.SaveAndValidate())
        value = edit->text();
    else
        edit->setText(value);
}

void DDV_MaxChars(DataExchange& dx, int id, const QString& value, int count) {
    if (dx.Failed()) return;
    if (auto* edit = qobject_cast<QLineEdit*>(FindControl(dx.Dialog(), id))) edit->setMaxLength(count);
    if (dx.SaveAndValidate() && value.size() > count) {
        ShowMessage(dx.Dialog(), QStringLiteral("Please enter no more than %1 characters.").arg(count).toStdString(),
                    MessageIcon::Exclamation);
        dx.Fail();
    }
}

void DDX_IPAddressText(DataExchange& dx, int id, QString& text) {
    if (dx.Failed()) return;
    auto* control = qobject_cast<IPAddressCtrl*>(dx.PrepareCtrl(id));
    if (!control) return;
    if (dx.SaveAndValidate()) {
        uint32_t address = 0;
        text = control->GetAddress(address) == IPAddressCtrl::kFieldCount
                   ? QString::asprintf("%d.%d.%d.%d", static_cast<int>(address >> 24),
                                       static_cast<int>((address >> 16) & 0xFF),
                                       static_cast<int>((address >> 8) & 0xFF), static_cast<int>(address & 0xFF))
                   : QString();
        return;
    }
    // Four dot-separated numbers followed by nothing but white space.
    int32_t numbers[4];
    const std::string loaded = text.toStdString();
    if (ParseIpAddress(loaded.c_str(), numbers[0], numbers[1], numbers[2], numbers[3]))
        control->SetAddress(((static_cast<uint32_t>(numbers[0]) * 256 + static_cast<uint32_t>(numbers[1])) * 256 +
                             static_cast<uint32_t>(numbers[2])) *
                                256 +
                            static_cast<uint32_t>(numbers[3]));
}

void DDV_SerialNumber(DataExchange& dx, int id, int messageId) {
    if (dx.Failed() || !dx.SaveAndValidate()) return;
    auto* edit = qobject_cast<QLineEdit*>(dx.PrepareEditCtrl(id));
    if (!edit) return;
    if (!IsValidSerialNumber(edit->text().toStdString().c_str())) {
        ShowMessage(dx.Dialog(), messageId, MessageIcon::Exclamation);
        dx.Fail();
    }
}

void DDV_IPAddressFilled(DataExchange& dx, int id, int messageId) {
    if (dx.Failed() || !dx.SaveAndValidate()) return;
    auto* control = qobject_cast<IPAddressCtrl*>(dx.PrepareCtrl(id));
    if (!control) return;
    uint32_t address = 0;
    if (control->GetAddress(address) != IPAddressCtrl::kFieldCount) {
        ShowMessage(dx.Dialog(), messageId, MessageIcon::Exclamation);
        dx.Fail();
    }
}

void DDV_IPAddressReachable(DataExchange& dx, int id, int notReachableId, int notValidId) {
    if (dx.Failed() || !dx.SaveAndValidate()) return;
    auto* control = qobject_cast<IPAddressCtrl*>(dx.PrepareEditCtrl(id));
    if (!control) return;
    const std::string text = control->Text().toStdString();
    const AddressVerdict verdict = CheckSelectedAddress(text.c_str());
    if (verdict == AddressVerdict::Accepted) return;
    const int messageId = verdict == AddressVerdict::NotValid ? notValidId : notReachableId;
    ShowMessage(dx.Dialog(), LoadTextWithMacros(static_cast<unsigned>(messageId), "IPADDRESS=%s", text.c_str()),
                MessageIcon::Exclamation);
    dx.Fail();
}
