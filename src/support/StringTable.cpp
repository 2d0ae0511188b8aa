#include "support/StringTable.h"

std::string FindBuiltInString(unsigned id) {
    for (const StringEntry& entry : BuiltInStrings()) {
        if (entry.id == id) return std::string(entry.text);
    }
    return {};
}
