#include "platform/linux/ArpCommandLine.h"

#include <arpa/inet.h>

#include <cctype>
#include <sstream>
#include <vector>

namespace {

constexpr size_t kMacTextLength = 17;  // XX-XX-XX-XX-XX-XX

std::vector<std::string> SplitWords(const std::string& text) {
    std::istringstream stream(text);
    std::vector<std::string> words;
    for (std::string word; stream >> word;) words.push_back(word);
    return words;
}

std::optional<uint32_t> ParseAddress(const std::string& text) {
    in_addr address{};
    if (::inet_aton(text.c_str(), &address) == 0) return std::nullopt;
    return address.s_addr;
}

int HexValue(char digit) {
    const unsigned char c = static_cast<unsigned char>(digit);
    if (std::isdigit(c)) return c - '0';
    return std::tolower(c) - 'a' + 10;
}

std::optional<ArpCommandLine::MacAddress> ParseMac(const std::string& text) {
    if (text.size() != kMacTextLength) return std::nullopt;
    ArpCommandLine::MacAddress mac{};
    for (size_t i = 0; i < mac.size(); ++i) {
        const char high = text[3 * i];
        const char low = text[3 * i + 1];
        if (!std::isxdigit(static_cast<unsigned char>(high)) || !std::isxdigit(static_cast<unsigned char>(low)))
            return std::nullopt;
        if (i + 1 < mac.size() && text[3 * i + 2] != '-') return std::nullopt;
        mac[i] = static_cast<uint8_t>(HexValue(high) << 4 | HexValue(low));
    }
    return mac;
}

}  // namespace

std::optional<ArpCommandLine> ArpCommandLine::Parse(const std::string& parameters) {
    const std::vector<std::string> words = SplitWords(parameters);
    ArpCommandLine command;
    if (words.size() == 3 && words[0] == "-s") {
        const std::optional<uint32_t> address = ParseAddress(words[1]);
        const std::optional<MacAddress> mac = ParseMac(words[2]);
        if (!address || !mac) return std::nullopt;
        command.action = Action::Add;
        command.address = *address;
        command.mac = *mac;
        return command;
    }
    if (words.size() == 2 && words[0] == "-d") {
        const std::optional<uint32_t> address = ParseAddress(words[1]);
        if (!address) return std::nullopt;
        command.action = Action::Delete;
        command.address = *address;
        return command;
    }
    return std::nullopt;
}
