// The macro-list parser and ApplyMacros, on any list text and any text. The
// parsed pairs must be what the list says and survive being written out and
// read again; ApplyMacros must end and give what a plain left-to-right copy
// with replacement gives, pair by pair.
#include "FuzzCheck.h"
#include "support/Macros.h"

#include <string_view>

namespace {

// Bounds the texts the replacements may grow, so that a list whose values
// multiply the text's length measures the fuzzer's memory, not the code.
constexpr size_t kMaxExpandedLength = 1 << 12;

// One pair applied by copying: each occurrence of the name in what is left
// of the original text is replaced; inserted values are never searched.
std::string ReplaceByCopying(const std::string& text, const MacroList::Macro& macro) {
    if (macro.name.empty()) return text;
    std::string result;
    size_t position = 0;
    for (size_t found; (found = text.find(macro.name, position)) != std::string::npos;) {
        result.append(text, position, found - position).append(macro.value);
        position = found + macro.name.size();
    }
    return result.append(text, position);
}

void CheckParsedPairs(std::string_view listText, const MacroList& list) {
    size_t items = 1;
    for (char character : listText) items += character == ';';
    FUZZ_CHECK(list.Macros().size() <= items);
    std::string written;
    for (const MacroList::Macro& macro : list.Macros()) {
        FUZZ_CHECK(!macro.name.empty());
        FUZZ_CHECK(macro.name.find_first_of(";=") == std::string::npos);
        FUZZ_CHECK(macro.value.find_first_of(";=") == std::string::npos);
        written += macro.name + "=" + macro.value + ";";
    }
    MacroList reread;
    ParseMacroList(reread, written);
    FUZZ_CHECK(reread.Macros().size() == list.Macros().size());
    for (size_t index = 0; index < list.Macros().size(); ++index) {
        FUZZ_CHECK(reread.Macros()[index].name == list.Macros()[index].name);
        FUZZ_CHECK(reread.Macros()[index].value == list.Macros()[index].value);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const size_t split = input.find('\0');
    const std::string_view listText = input.substr(0, split);
    std::string text(split == std::string_view::npos ? std::string_view() : input.substr(split + 1));

    MacroList list;
    ParseMacroList(list, listText);
    CheckParsedPairs(listText, list);
    // Names that are empty can only come from a list built in code.
    list.Append("", "never inserted");

    std::string expected = text;
    for (const MacroList::Macro& macro : list.Macros()) {
        expected = ReplaceByCopying(expected, macro);
        if (expected.size() > kMaxExpandedLength) return 0;
    }
    ApplyMacros(text, list);
    FUZZ_CHECK(text == expected);
    return 0;
}
