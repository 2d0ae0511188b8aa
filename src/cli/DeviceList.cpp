#include "cli/DeviceList.h"

#include "cli/Commands.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <optional>

namespace {

constexpr const char* kBlanks = " \t";

std::string Trimmed(const std::string& text) {
    size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

std::string Lowered(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// The fields of one CSV line, or absent when a quote is left open.
std::optional<std::vector<std::string>> SplitFields(const std::string& line) {
    std::vector<std::string> fields;
    std::string field;
    bool quoted = false;     // inside quotes
    bool wasQuoted = false;  // the field had quotes: keep its blanks
    for (size_t i = 0; i < line.size(); ++i) {
        char c = line[i];
        if (quoted) {
            if (c != '"') {
                field += c;
            } else if (i + 1 < line.size() && line[i + 1] == '"') {
                field += '"';
                ++i;
            } else {
                quoted = false;
            }
        } else if (c == '"') {
            // Blanks before the opening quote do not belong to the field.
            if (!wasQuoted) field = Trimmed(field);
            quoted = wasQuoted = true;
        } else if (c == ',') {
            fields.push_back(wasQuoted ? field : Trimmed(field));
            field.clear();
            wasQuoted = false;
        } else if (!wasQuoted || std::string(kBlanks).find(c) == std::string::npos) {
            field += c;
        }
    }
    if (quoted) return std::nullopt;
    fields.push_back(wasQuoted ? field : Trimmed(field));
    return fields;
}

}  // namespace

DeviceList ReadDeviceList(std::istream& text) {
    DeviceList list;
    std::map<std::string, unsigned> serialLines;
    std::map<std::string, unsigned> addressLines;
    auto error = [&list](unsigned line, std::string message) { list.errors.push_back({line, std::move(message)}); };

    std::string raw;
    bool firstContentLine = true;
    for (unsigned number = 1; std::getline(text, raw); ++number) {
        if (!raw.empty() && raw.back() == '\r') raw.pop_back();
        const std::string content = Trimmed(raw);
        if (content.empty() || content[0] == '#') continue;

        auto fields = SplitFields(content);
        const bool header = firstContentLine && fields && Lowered(fields->front()) == "serial";
        firstContentLine = false;
        if (header) continue;
        if (!fields) {
            error(number, "a quote is not closed");
            continue;
        }
        if (fields->size() < 2 || fields->size() > 3) {
            error(number, "expected serial,address[,label], found " + std::to_string(fields->size()) + " field" +
                              (fields->size() == 1 ? "" : "s"));
            continue;
        }

        AddrixCli::CheckedInput input = AddrixCli::CheckSetInput((*fields)[0], (*fields)[1]);
        if (input.refusal) {
            error(number, Trimmed(*input.refusal));
            continue;
        }
        auto [serialAt, newSerial] = serialLines.emplace(input.serialNumber, number);
        if (!newSerial) {
            error(number, "serial number " + input.serialNumber + " already on line " + std::to_string(serialAt->second));
            continue;
        }
        auto [addressAt, newAddress] = addressLines.emplace(input.address, number);
        if (!newAddress) {
            error(number, "address " + input.address + " already on line " + std::to_string(addressAt->second));
            continue;
        }
        list.rows.push_back({number, input.serialNumber, input.address, fields->size() == 3 ? (*fields)[2] : ""});
    }
    if (list.rows.empty() && list.errors.empty()) error(0, "the list names no device");
    return list;
}
