// The two input fields as the dialog's controls hand them over: the serial
// number in upper case, and the address as four decimal fields joined by
// dots, so that a command line yields the same texts the dialog checks.
#pragma once

#include <optional>
#include <string>

// The serial number as the upper-case edit field shows it.
std::string SerialNumberFieldText(const std::string& typed);

// The address as the four-field address control gives it ("%d.%d.%d.%d"):
// each field one to three decimal digits, read as decimal, so leading zeros
// are dropped (010 is 10). Absent when the text is not four such fields,
// as when the control has a blank field.
std::optional<std::string> AddressFieldText(const std::string& typed);

// The control takes 1 to 254 in its last field.
bool IsInLastFieldRange(const std::string& addressFieldText);
