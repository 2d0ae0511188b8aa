// The program's string table: its texts addressed by 16-bit ids. On systems
// without string resources the platform serves the table compiled into the
// program from resources/strings.txt.
#pragma once

#include <span>
#include <string>
#include <string_view>

struct StringEntry {
    unsigned id;
    std::string_view text;
};

// Every entry of the compiled-in table, in the order of the file.
std::span<const StringEntry> BuiltInStrings();

// The compiled-in text of `id`; empty when the table has none.
std::string FindBuiltInString(unsigned id);
