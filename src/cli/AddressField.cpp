#include "cli/AddressField.h"

#include "support/Format.h"

#include <cctype>
#include <cstdlib>
#include <sstream>
#include <vector>

std::string SerialNumberFieldText(const std::string& typed) {
    std::string text = typed;
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

std::optional<std::string> AddressFieldText(const std::string& typed) {
    std::vector<int> fields;
    std::string field;
    std::istringstream parts(typed + ".");  // the extra dot ends the last field
    while (std::getline(parts, field, '.')) {
        if (field.empty() || field.size() > 3 || field.find_first_not_of("0123456789") != std::string::npos)
            return std::nullopt;
        fields.push_back(std::stoi(field));
    }
    if (fields.size() != 4) return std::nullopt;
    return FormatText("%d.%d.%d.%d", fields[0], fields[1], fields[2], fields[3]);
}

bool IsInLastFieldRange(const std::string& addressFieldText) {
    size_t lastDot = addressFieldText.rfind('.');
    if (lastDot == std::string::npos) return false;
    int last = std::atoi(addressFieldText.c_str() + lastDot + 1);
    return last >= 1 && last <= 254;
}
