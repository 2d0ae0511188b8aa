// The list of devices that `addrix-cli batch` assigns: CSV text with one
// device a line, "serial,address[,label]", read and checked as a whole
// before anything starts, so that one wrong line stops the whole batch.
//
// Blank lines and lines starting with '#' are skipped; a first line whose
// first field is "serial" is a header. Fields may be quoted with '"' (a
// doubled '"' inside stands for one) and are trimmed of blanks outside quotes.
#pragma once

#include <istream>
#include <string>
#include <vector>

struct DeviceListRow {
    unsigned line = 0;          // the row's line number in the text, from 1
    std::string serialNumber;   // checked, as the dialog's field shows it
    std::string address;        // checked, as the dialog's address control gives it
    std::string label;          // free text, may be empty
};

struct DeviceListError {
    unsigned line = 0;
    std::string message;
};

struct DeviceList {
    std::vector<DeviceListRow> rows;
    // Every problem of the text, in line order; the rows count only when
    // there is none.
    std::vector<DeviceListError> errors;
};

// Reads the whole text. Each row gets the checks of `set` (the first that
// refuses it gives its message); a serial number or address given on an
// earlier row, and a list without any device, are errors too.
DeviceList ReadDeviceList(std::istream& text);
