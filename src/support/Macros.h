// Text macros: placeholder words in texts (APP_NAME, COMPANY_SHORT, VERSION,
// IPADDRESS, SERIALNBR, ...) replaced by values. The application's own pairs
// come from string resource 1, written as "NAME=value;NAME=value"; a caller
// adds pairs of its own by formatting a list such as "IPADDRESS=%s".
#pragma once

#include "support/Format.h"

#include <cstdarg>
#include <string>
#include <string_view>
#include <vector>

// An ordered list of (name, value) pairs, applied in the order they were
// appended. A name may occur more than once; a value may be empty.
class MacroList {
public:
    struct Macro {
        std::string name;
        std::string value;
    };

    void Append(std::string name, std::string value);

    const std::vector<Macro>& Macros() const { return macros_; }

private:
    std::vector<Macro> macros_;
};

// Appends to `tokens` every maximal non-empty run of characters of `text`
// that are not in `separators`, in order. Nothing is trimmed.
void SplitTokens(std::string_view text, std::string_view separators, std::vector<std::string>& tokens);

// Appends the pairs of a "NAME=value;NAME=value" text to `list`. An item's
// first "="-separated token is the name, the second (if any) the value.
void ParseMacroList(MacroList& list, std::string_view text);

// Appends the pairs of a macro-list format formatted with `arguments`.
void ParseFormattedMacroList(MacroList& list, const char* format, va_list arguments);

// Appends the application's pairs, read from string resource 1 on every call.
void AddApplicationMacros(MacroList& list);

// A fresh list: the application pairs, then the pairs of a formatted
// macro-list format.
MacroList ApplicationMacrosWith(const char* format, va_list arguments);

// Replaces, pair by pair, every occurrence of the name in `text` by the
// value: leftmost first, case-sensitive, without regard to word boundaries;
// the search goes on behind each inserted value.
void ApplyMacros(std::string& text, const MacroList& list);

// String resource `id` (empty when there is none) with `list` applied.
std::string LoadTextWithList(unsigned id, const MacroList& list);

// String resource `id` with the application macros applied.
std::string LoadText(unsigned id);

// String resource `id` with the application macros applied and then the
// pairs of `format` formatted with the arguments.
std::string LoadTextWithMacros(unsigned id, const char* format, ...) ADDRIX_PRINTF(2, 3);
