#include "support/Macros.h"

#include "platform/Platform.h"
#include "support/StringIds.h"

void MacroList::Append(std::string name, std::string value) {
    macros_.push_back(Macro{std::move(name), std::move(value)});
}

void SplitTokens(std::string_view text, std::string_view separators, std::vector<std::string>& tokens) {
    size_t position = 0;
    while (position < text.size()) {
        size_t start = text.find_first_not_of(separators, position);
        if (start == std::string_view::npos) return;
        size_t end = text.find_first_of(separators, start);
        if (end == std::string_view::npos) end = text.size();
        tokens.emplace_back(text.substr(start, end - start));
        position = end;
    }
}

void ParseMacroList(MacroList& list, std::string_view text) {
    std::vector<std::string> items;
    SplitTokens(text, ";", items);
    for (const std::string& item : items) {
        std::vector<std::string> tokens;
        SplitTokens(item, "=", tokens);
        if (tokens.empty()) continue;
        list.Append(tokens[0], tokens.size() > 1 ? tokens[1] : std::string());
    }
}

void ParseFormattedMacroList(MacroList& list, const char* format, va_list arguments) {
    ParseMacroList(list, FormatTextV(format, arguments));
}

void AddApplicationMacros(MacroList& list) {
    ParseMacroList(list, Platform::Current().LoadStringResource(kIdsApplicationMacros));
}

void ApplyMacros(std::string& text, const MacroList& list) {
    for (const MacroList::Macro& macro : list.Macros()) {
        // An empty name would match everywhere and never let the search end.
        if (macro.name.empty()) continue;
        size_t position = 0;
        while ((position = text.find(macro.name, position)) != std::string::npos) {
            text.replace(position, macro.name.size(), macro.value);
            position += macro.value.size();
        }
    }
}

std::string LoadTextWithList(unsigned id, const MacroList& list) {
    std::string text = Platform::Current().LoadStringResource(id);
    ApplyMacros(text, list);
    return text;
}

std::string LoadText(unsigned id) {
    MacroList list;
    AddApplicationMacros(list);
    return LoadTextWithList(id, list);
}

MacroList ApplicationMacrosWith(const char* format, va_list arguments) {
    MacroList list;
    AddApplicationMacros(list);
    ParseFormattedMacroList(list, format, arguments);
    return list;
}

std::string LoadTextWithMacros(unsigned id, const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    const MacroList list = ApplicationMacrosWith(format, arguments);
    va_end(arguments);
    return LoadTextWithList(id, list);
}
