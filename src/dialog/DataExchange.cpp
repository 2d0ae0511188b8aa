#include "dialog/DataExchange.h"

#include "dialog/Messages.h"
#include "net/AddressRules.h"
#include "net/NetUtil.h"
#include "support/Format.h"
#include "support/Macros.h"

#include <algorithm>

void DataExchange::PrepareCtrl(int id) {
    lastControl_ = id;
    lastWasEdit_ = false;
}

void DataExchange::PrepareEditCtrl(int id) {
    PrepareCtrl(id);
    lastWasEdit_ = true;
}

void DataExchange::Fail() {
    failed_ = true;
    if (lastControl_ == 0) return;
    view_.Focus(lastControl_);
    if (lastWasEdit_) view_.SelectAll(lastControl_);
}

void DDX_Text(DataExchange& dx, int id, std::string& value) {
    if (dx.Failed()) return;
    dx.PrepareEditCtrl(id);
    if (dx.SaveAndValidate())
        value = dx.View().GetText(id);
    else
        dx.View().SetText(id, value);
}

void DDV_MaxChars(DataExchange& dx, int id, const std::string& value, int count) {
    if (dx.Failed()) return;
    dx.View().LimitText(id, count);
    if (dx.SaveAndValidate() && value.size() > static_cast<size_t>(count)) {
        ShowDialogMessage(dx.View(), FormatText("Please enter no more than %d characters.", count),
                          MessageIcon::Exclamation);
        dx.Fail();
    }
}

std::string AddressFieldsText(const AddressFields& fields) {
    if (!std::all_of(fields.begin(), fields.end(), [](const std::optional<int>& field) { return field.has_value(); }))
        return {};
    return FormatText("%d.%d.%d.%d", *fields[0], *fields[1], *fields[2], *fields[3]);
}

FieldRange AddressFieldRange(int field) { return field == 3 ? FieldRange{1, 254} : FieldRange{0, 255}; }

bool AddressFieldsInRange(const AddressFields& fields) {
    for (int field = 0; field < static_cast<int>(fields.size()); ++field) {
        const FieldRange range = AddressFieldRange(field);
        if (!fields[field] || *fields[field] < range.low || *fields[field] > range.high) return false;
    }
    return true;
}

void DDX_IPAddressText(DataExchange& dx, int id, std::string& text) {
    if (dx.Failed()) return;
    dx.PrepareCtrl(id);
    if (dx.SaveAndValidate()) {
        text = AddressFieldsText(dx.View().GetAddressFields(id));
        return;
    }
    // Four dot-separated numbers followed by nothing but white space.
    int32_t numbers[4];
    if (ParseIpAddress(text.c_str(), numbers[0], numbers[1], numbers[2], numbers[3]))
        dx.View().SetAddress(id, ((static_cast<uint32_t>(numbers[0]) * 256 + static_cast<uint32_t>(numbers[1])) * 256 +
                                  static_cast<uint32_t>(numbers[2])) *
                                         256 +
                                     static_cast<uint32_t>(numbers[3]));
}

void DDV_SerialNumber(DataExchange& dx, int id, unsigned messageId) {
    if (dx.Failed() || !dx.SaveAndValidate()) return;
    dx.PrepareEditCtrl(id);
    if (!IsValidSerialNumber(dx.View().GetText(id).c_str())) {
        ShowDialogMessage(dx.View(), messageId, MessageIcon::Exclamation);
        dx.Fail();
    }
}

void DDV_IPAddressFilled(DataExchange& dx, int id, unsigned messageId) {
    if (dx.Failed() || !dx.SaveAndValidate()) return;
    dx.PrepareCtrl(id);
    if (AddressFieldsText(dx.View().GetAddressFields(id)).empty()) {
        ShowDialogMessage(dx.View(), messageId, MessageIcon::Exclamation);
        dx.Fail();
    }
}

void DDV_IPAddressReachable(DataExchange& dx, int id, unsigned notReachableId, unsigned notValidId) {
    if (dx.Failed() || !dx.SaveAndValidate()) return;
    dx.PrepareEditCtrl(id);
    const AddressFields fields = dx.View().GetAddressFields(id);
    const std::string text = AddressFieldsText(fields);
    // A field out of its range is refused as typed, never brought into it.
    const AddressVerdict verdict =
        AddressFieldsInRange(fields) ? CheckSelectedAddress(text.c_str()) : AddressVerdict::NotValid;
    if (verdict == AddressVerdict::Accepted) return;
    const unsigned messageId = verdict == AddressVerdict::NotValid ? notValidId : notReachableId;
    ShowDialogMessage(dx.View(), LoadTextWithMacros(messageId, "IPADDRESS=%s", text.c_str()),
                      MessageIcon::Exclamation);
    dx.Fail();
}
