// One exchange between a dialog's controls and its values, in the load or
// the save-and-validate direction. A failing check points the user to the
// control prepared last and stops the exchange: the routines after it see
// Failed() and do nothing.
#pragma once

#include <QString>

class QLineEdit;
class QWidget;

class DataExchange {
public:
    DataExchange(QWidget* dialog, bool saveAndValidate) : dialog_(dialog), saveAndValidate_(saveAndValidate) {}

    bool SaveAndValidate() const { return saveAndValidate_; }
    QWidget* Dialog() const { return dialog_; }
    bool Failed() const { return failed_; }

    // Records the dialog's control `id` as the target of a failure and returns it.
    QWidget* PrepareCtrl(int id);
    // The same, and a failure also selects the control's whole text.
    QWidget* PrepareEditCtrl(int id);
    // Focuses the last prepared control, selects its text if it was
    // prepared as an edit control, and stops the exchange.
    void Fail();

private:
    QWidget* dialog_;
    bool saveAndValidate_;
    QWidget* lastControl_ = nullptr;
    bool lastWasEdit_ = false;
    bool failed_ = false;
};

// The platform's own routines for an edit control.
void DDX_Text(DataExchange& dx, int id, QString& value);
// Limits the field to `count` characters; on save a longer text fails.
void DDV_MaxChars(DataExchange& dx, int id, const QString& value, int count);

// The address control's text as a dotted quad: on save the four fields, or
// empty unless all four are filled; on load only a text of four numbers.
void DDX_IPAddressText(DataExchange& dx, int id, QString& text);
// On save: the edit control holds a serial number, else message `messageId`.
void DDV_SerialNumber(DataExchange& dx, int id, int messageId);
// On save: all four address fields are filled, else message `messageId`.
void DDV_IPAddressFilled(DataExchange& dx, int id, int messageId);
// On save: the address is valid (else message `notValidId`) and, where the
// system has a subnet check, on a local subnet (else `notReachableId`).
void DDV_IPAddressReachable(DataExchange& dx, int id, int notReachableId, int notValidId);
