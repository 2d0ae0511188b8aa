#include "platform/fake/FakePlatform.h"
#include "support/Macros.h"
#include "support/StringIds.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <utility>

namespace {

using Pairs = std::vector<std::pair<std::string, std::string>>;

Pairs PairsOf(const MacroList& list) {
    Pairs pairs;
    for (const MacroList::Macro& macro : list.Macros()) pairs.emplace_back(macro.name, macro.value);
    return pairs;
}

struct SplitCase {
    const char* text;
    const char* separators;
    std::vector<std::string> tokens;
};

TEST(SplitTokensTest, YieldsNonEmptyRunsBetweenSeparators) {
    const SplitCase cases[] = {
        {"a;b", ";", {"a", "b"}},
        {";;a;;;b;", ";", {"a", "b"}},
        {"", ";", {}},
        {";;;", ";", {}},
        {" a ; b ", ";", {" a ", " b "}},
        {"a=b;c", ";=", {"a", "b", "c"}},
        {"abc", "", {"abc"}},
    };
    for (const SplitCase& c : cases) {
        SCOPED_TRACE(std::string("text '") + c.text + "' separators '" + c.separators + "'");
        std::vector<std::string> tokens;
        SplitTokens(c.text, c.separators, tokens);
        EXPECT_EQ(tokens, c.tokens);
    }
}

TEST(SplitTokensTest, AppendsToTheTokensGiven) {
    std::vector<std::string> tokens{"kept"};
    SplitTokens("x;y", ";", tokens);
    EXPECT_EQ(tokens, (std::vector<std::string>{"kept", "x", "y"}));
}

struct ParseCase {
    const char* text;
    Pairs pairs;
};

TEST(ParseMacroListTest, ReadsNameAndValueOfEachItem) {
    const ParseCase cases[] = {
        {"APP_NAME=TARVIK Addrix;COMPANY_SHORT=TARVIK", {{"APP_NAME", "TARVIK Addrix"}, {"COMPANY_SHORT", "TARVIK"}}},
        {"NAME=", {{"NAME", ""}}},
        {"NAME", {{"NAME", ""}}},
        {"NAME==value", {{"NAME", "value"}}},
        {"NAME=value=more", {{"NAME", "value"}}},
        {"=x", {{"x", ""}}},
        {";;A=1;;;B=2;", {{"A", "1"}, {"B", "2"}}},
        {"===;A=1", {{"A", "1"}}},
        {" A = 1 ", {{" A ", " 1 "}}},
        {"A=1;A=2", {{"A", "1"}, {"A", "2"}}},
        {"", {}},
    };
    for (const ParseCase& c : cases) {
        SCOPED_TRACE(std::string("text '") + c.text + "'");
        MacroList list;
        ParseMacroList(list, c.text);
        EXPECT_EQ(PairsOf(list), c.pairs);
    }
}

TEST(ParseMacroListTest, AppendsBehindThePairsAlreadyThere) {
    MacroList list;
    list.Append("FIRST", "1");
    ParseMacroList(list, "SECOND=2");
    EXPECT_EQ(PairsOf(list), (Pairs{{"FIRST", "1"}, {"SECOND", "2"}}));
}

TEST(ApplyMacrosTest, PairWithEmptyNameChangesNothing) {
    MacroList list;
    list.Append("", "");
    list.Append("", "x");
    std::string text = "unchanged";
    ApplyMacros(text, list);
    EXPECT_EQ(text, "unchanged");
}

// A text of the program's table or one of the test's own, loaded with the
// application macros and the pairs of a format with address and serial number.
struct TextCase {
    const char* label;
    std::optional<std::string> text;           // stored under kOwnTextId; none: read `id`
    unsigned id;
    std::optional<std::string> applicationMacros;  // string 1; none: the program's
    const char* format;                        // null: LoadText
    const char* address;
    const char* serialNumber;
    const char* expected;
};

constexpr unsigned kOwnTextId = 4000;
constexpr unsigned kIdWithoutText = 4001;

class LoadTextTest : public ::testing::Test {
protected:
    ScopedFakePlatform platform;
};

TEST_F(LoadTextTest, AppliesApplicationMacrosThenFormattedPairs) {
    const std::string appWithAddress = "APP_NAME=IPADDRESS box";
    const TextCase cases[] = {
        {"about entry", {}, kIdsAboutBox, {}, nullptr, "", "", "&About TARVIK Addrix..."},
        {"text without macros", {}, kIdsExit, {}, nullptr, "", "", "E&xit"},
        {"assignment failed", {}, kIdsAssignFailed, {}, "IPADDRESS=%s;SERIALNBR=%s", "192.168.0.90", "02C0A7A1B2C3",
         "Failed to assign IP address 192.168.0.90 to 02C0A7A1B2C3."},
        {"empty address removes the placeholder", {}, kIdsNoDeviceAtAddress, {}, "IPADDRESS=%s", "", "",
         "There is no device with the IP address ."},
        {"value cut at '='", {}, kIdsAddressNotValid, {}, "IPADDRESS=%s", "a=b", "",
         "The selected IP Address a is not valid."},
        {"';' in a value starts a pair that removes every 'b'", "Subnet IPADDRESS blob", 0, {}, "IPADDRESS=%s", "a;b", "",
         "Sunet a lo"},
        {"lower-case name untouched", "app_name APP_NAME", 0, {}, nullptr, "", "", "app_name TARVIK Addrix"},
        {"name inside a word", "XAPP_NAMEX", 0, {}, nullptr, "", "", "XTARVIK AddrixX"},
        {"adjacent occurrences", "IPADDRESSIPADDRESS", 0, {}, "IPADDRESS=%s", "1.2", "", "1.21.2"},
        {"name twice", "IPADDRESS or IPADDRESS", 0, {}, "IPADDRESS=%s", "10.0.0.1", "", "10.0.0.1 or 10.0.0.1"},
        {"application name in a formatted value stays", {}, kIdsNoDeviceAtAddress, {}, "IPADDRESS=%s", "APP_NAME", "",
         "There is no device with the IP address APP_NAME."},
        {"formatted pair replaces a name brought in by an application value", {}, kIdsAboutBox, appWithAddress,
         "IPADDRESS=%s", "10.0.0.1", "", "&About 10.0.0.1 box..."},
        {"value bringing in a later name", {}, kIdsAssignFailed, {}, "IPADDRESS=%s;SERIALNBR=%s", "SERIALNBR",
         "02C0A7000001", "Failed to assign IP address 02C0A7000001 to 02C0A7000001."},
        {"inserted value is not searched again", "IPADDRESS IPADDRESS", 0, {}, "IPADDRESS=%s", "<IPADDRESS>", "",
         "<IPADDRESS> <IPADDRESS>"},
        {"duplicate names: the first wins", {}, kIdsNoDeviceAtAddress, {}, "IPADDRESS=%s;IPADDRESS=%s", "10.0.0.1",
         "10.0.0.2", "There is no device with the IP address 10.0.0.1."},
        {"duplicate names: a first value holding the name", "IPADDRESS", 0, {}, "IPADDRESS=%s;IPADDRESS=%s",
         "IPADDRESS!", "x", "x!"},
        {"no string 1 leaves the placeholders", {}, kIdsAboutBox, "", nullptr, "", "", "&About APP_NAME..."},
        {"no string 1, formatted pairs still apply", "APP_NAME at IPADDRESS", 0, "", "IPADDRESS=%s", "10.0.0.1", "",
         "APP_NAME at 10.0.0.1"},
        {"id without text", {}, kIdWithoutText, {}, "IPADDRESS=%s", "10.0.0.1", "", ""},
        {"empty text", "", 0, {}, nullptr, "", "", ""},
    };
    const std::map<unsigned, std::string> programStrings = platform->strings;
    for (const TextCase& c : cases) {
        SCOPED_TRACE(c.label);
        platform->strings = programStrings;
        unsigned id = c.id;
        if (c.text) {
            id = kOwnTextId;
            platform->strings[id] = *c.text;
        }
        if (c.applicationMacros) platform->strings[kIdsApplicationMacros] = *c.applicationMacros;
        std::string text = c.format ? LoadTextWithMacros(id, c.format, c.address, c.serialNumber) : LoadText(id);
        EXPECT_EQ(text, c.expected);
    }
}

TEST_F(LoadTextTest, ReadsTheApplicationMacrosOnEveryCall) {
    EXPECT_EQ(LoadText(kIdsAboutBox), "&About TARVIK Addrix...");
    platform->strings[kIdsApplicationMacros] = "APP_NAME=Other";
    EXPECT_EQ(LoadText(kIdsAboutBox), "&About Other...");
    platform->strings.erase(kIdsApplicationMacros);
    EXPECT_EQ(LoadText(kIdsAboutBox), "&About APP_NAME...");
}

TEST_F(LoadTextTest, FormattedValueIsNotBoundedInLength) {
    const std::string address(5000, '7');
    EXPECT_EQ(LoadTextWithMacros(kIdsNoDeviceAtAddress, "IPADDRESS=%s", address.c_str()),
              "There is no device with the IP address " + address + ".");
}

}  // namespace
