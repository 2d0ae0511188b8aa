// One exchange between the dialog's controls and its values, in the load or
// the save-and-validate direction, and the routines its DoDataExchange calls
// in order. A failing check points the user to the control prepared last and
// stops the exchange: the routines after it see Failed() and do nothing.
#pragma once

#include "dialog/DialogView.h"

#include <string>

class DataExchange {
public:
    DataExchange(DialogView& view, bool saveAndValidate) : view_(view), saveAndValidate_(saveAndValidate) {}

    bool SaveAndValidate() const { return saveAndValidate_; }
    DialogView& View() const { return view_; }
    bool Failed() const { return failed_; }

    // Records control `id` as the target of a failure.
    void PrepareCtrl(int id);
    // The same, and a failure also selects the control's whole text.
    void PrepareEditCtrl(int id);
    // Focuses the last prepared control, selects its text if it was
    // prepared as an edit control, and stops the exchange.
    void Fail();

private:
    DialogView& view_;
    bool saveAndValidate_;
    int lastControl_ = 0;
    bool lastWasEdit_ = false;
    bool failed_ = false;
};

// The text of an edit control.
void DDX_Text(DataExchange& dx, int id, std::string& value);
// Limits the field to `count` characters; on save a longer text fails.
void DDV_MaxChars(DataExchange& dx, int id, const std::string& value, int count);

// The address control's text as "%d.%d.%d.%d" of the four fields as typed:
// on save empty unless all four are filled; on load only a text of four
// numbers reaches the control.
void DDX_IPAddressText(DataExchange& dx, int id, std::string& text);
// On save: the edit control holds a serial number, else message `messageId`.
void DDV_SerialNumber(DataExchange& dx, int id, unsigned messageId);
// On save: all four address fields are filled, else message `messageId`.
void DDV_IPAddressFilled(DataExchange& dx, int id, unsigned messageId);
// On save: every field within its range and the address valid (else message
// `notValidId`) and, where the system has a subnet check, on a local subnet
// (else `notReachableId`).
void DDV_IPAddressReachable(DataExchange& dx, int id, unsigned notReachableId, unsigned notValidId);

// The dotted-quad text of four filled fields, "%d.%d.%d.%d" of the values as
// typed, so that no leading zero ever leaves the control; empty unless all
// four fields are filled.
std::string AddressFieldsText(const AddressFields& fields);
// The range each address field is meant to take: 0 to 255, the last 1 to 254.
struct FieldRange {
    int low;
    int high;
};
FieldRange AddressFieldRange(int field);
// All four fields filled and each within its range.
bool AddressFieldsInRange(const AddressFields& fields);
