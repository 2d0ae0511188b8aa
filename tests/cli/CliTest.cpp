#include "cli/Assignment.h"
#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/ParseArguments.h"
#include "net/NetUtil.h"
#include "platform/fake/FakePlatform.h"
#include "support/Log.h"
#include "unit/WorkerKit.h"

#include <gtest/gtest.h>

#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <sstream>
#include <thread>
#include <vector>

namespace {

const std::string kInvalidSerial = "Invalid serial number!";
const std::string kIncomplete = "Invalid IP address!";

std::string NotValid(const std::string& address) { return "The selected IP Address " + address + " is not valid."; }

std::string NotReachable(const std::string& address) {
    return "The adress " + address + " is not reachable from the local subnet. ";
}

class CliTest : public ::testing::Test {
protected:
    void SetUp() override {
        Log::Instance().Configure("QRM", 3, 0, nullptr, nullptr);
        platform->adapters = AdapterList{AdapterList::Status::Ok, {{{{"192.168.1.20", "255.255.255.0"}}}}};
    }
    void TearDown() override {
        workers.JoinAll();
        Log::Instance().Configure("", 2, 0, nullptr, nullptr);
    }

    ScopedFakePlatform platform;
    // Declared after the platform: the job's worker ends before the fake does.
    WorkerThreads workers{*platform};
};

TEST_F(CliTest, InputIsCheckedAsTheDialogChecksItsFields) {
    struct Case {
        std::string serial;
        std::string address;
        std::string refusal;  // empty: accepted
        std::string checkedSerial;
        std::string checkedAddress;
    } cases[] = {
        {"02C0A7A1B2C3", "192.168.1.90", "", "02C0A7A1B2C3", "192.168.1.90"},
        // The serial-number field shows upper case only.
        {"02c0a7a1b2c3", "192.168.1.90", "", "02C0A7A1B2C3", "192.168.1.90"},
        // The address control reads its fields as decimal: 010 is ten, not eight.
        {"02C0A7A1B2C3", "192.168.001.010", "", "02C0A7A1B2C3", "192.168.1.10"},
        {"02C0A7", "192.168.1.90", kInvalidSerial, "", ""},
        {"02C0A7A1B2C3D", "192.168.1.90", kInvalidSerial, "", ""},
        {"ffffffffffff", "192.168.1.90", kInvalidSerial, "", ""},  // broadcast
        {"01005E000001", "192.168.1.90", kInvalidSerial, "", ""},  // multicast
        {"000000000000", "192.168.1.90", kInvalidSerial, "", ""},
        {"02:C0:A7:A1:B2:C3", "192.168.1.90", kInvalidSerial, "", ""},
        // The serial number is checked first.
        {"02C0A7A1B2CG", "nonsense", kInvalidSerial, "", ""},
        // Not four fields of digits, as with a blank field of the control.
        {"02C0A7A1B2C3", "192.168.1", kIncomplete, "", ""},
        {"02C0A7A1B2C3", "192.168..90", kIncomplete, "", ""},
        {"02C0A7A1B2C3", "192.168.1.90.", kIncomplete, "", ""},
        {"02C0A7A1B2C3", "192.168.1.90 ", kIncomplete, "", ""},
        {"02C0A7A1B2C3", "192.168.1.+9", kIncomplete, "", ""},
        {"02C0A7A1B2C3", "192.168.1.0090", kIncomplete, "", ""},
        {"02C0A7A1B2C3", "devicehost", kIncomplete, "", ""},
        {"02C0A7A1B2C3", "", kIncomplete, "", ""},
        // Complete, but not a valid address (with the text as the control gives it).
        {"02C0A7A1B2C3", "192.168.1.0", NotValid("192.168.1.0"), "", ""},
        {"02C0A7A1B2C3", "0.168.1.9", NotValid("0.168.1.9"), "", ""},
        {"02C0A7A1B2C3", "192.168.1.256", NotValid("192.168.1.256"), "", ""},
        {"02C0A7A1B2C3", "192.168.01.255", NotValid("192.168.1.255"), "", ""},
        // Valid, but on no adapter's subnet.
        {"02C0A7A1B2C3", "192.168.2.90", NotReachable("192.168.2.90"), "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.serial + " " + c.address);
        AddrixCli::CheckedInput input = AddrixCli::CheckSetInput(c.serial, c.address);
        EXPECT_EQ(input.refusal.value_or(""), c.refusal);
        if (c.refusal.empty()) {
            EXPECT_EQ(input.serialNumber, c.checkedSerial);
            EXPECT_EQ(input.address, c.checkedAddress);
        }
    }
}

TEST_F(CliTest, SubnetCheckIsSkippedOnTheOldestSystems) {
    platform->osVersion = OsVersion{kPlatformWin32NT, 4, 0};
    ResetOsVersionClassForTesting();
    EXPECT_FALSE(AddrixCli::CheckSetInput("02C0A7A1B2C3", "192.168.2.90").refusal);
    platform->osVersion = OsVersion{kPlatformOther, 0, 0};
    ResetOsVersionClassForTesting();
}

TEST(CommandLineTest, CommandsAndTheirArguments) {
    struct Case {
        std::vector<const char*> arguments;
        bool valid;
        CommandLine::Command command;
        unsigned timeout;
        bool open;
        bool quiet;
    } cases[] = {
        {{"set", "02C0A7A1B2C3", "10.0.0.5"}, true, CommandLine::Command::Set, 1200, false, false},
        {{"set", "02C0A7A1B2C3", "10.0.0.5", "--timeout", "30"}, true, CommandLine::Command::Set, 30, false, false},
        {{"--quiet", "set", "--timeout", "5", "02C0A7A1B2C3", "10.0.0.5"}, true, CommandLine::Command::Set, 5, false, true},
        {{"home", "10.0.0.5"}, true, CommandLine::Command::Home, 1200, false, false},
        {{"home", "10.0.0.5", "--open"}, true, CommandLine::Command::Home, 1200, true, false},
        {{"--help"}, true, CommandLine::Command::Help, 1200, false, false},
        {{"set", "home", "--help"}, true, CommandLine::Command::Help, 1200, false, false},
        {{}, false, {}, 0, false, false},
        {{"assign", "02C0A7A1B2C3", "10.0.0.5"}, false, {}, 0, false, false},
        {{"set", "02C0A7A1B2C3"}, false, {}, 0, false, false},
        {{"set", "02C0A7A1B2C3", "10.0.0.5", "extra"}, false, {}, 0, false, false},
        {{"set", "02C0A7A1B2C3", "10.0.0.5", "--timeout"}, false, {}, 0, false, false},
        {{"set", "02C0A7A1B2C3", "10.0.0.5", "--timeout", "0"}, false, {}, 0, false, false},
        {{"set", "02C0A7A1B2C3", "10.0.0.5", "--timeout", "-5"}, false, {}, 0, false, false},
        {{"set", "02C0A7A1B2C3", "10.0.0.5", "--timeout", "1m"}, false, {}, 0, false, false},
        {{"set", "02C0A7A1B2C3", "10.0.0.5", "--open"}, false, {}, 0, false, false},
        {{"home", "10.0.0.5", "--timeout", "3"}, false, {}, 0, false, false},
        {{"home", "10.0.0.5", "--loud"}, false, {}, 0, false, false},
        {{"clean"}, true, CommandLine::Command::Clean, 1200, false, false},
        {{"-q", "clean"}, true, CommandLine::Command::Clean, 1200, false, true},
        {{"clean", "10.0.0.5"}, false, {}, 0, false, false},
        {{"clean", "--open"}, false, {}, 0, false, false},
        {{"clean", "--timeout", "5"}, false, {}, 0, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(JoinArguments(c.arguments));
        ParsedCommandLine parsed = ParseArguments(c.arguments);
        ASSERT_EQ(parsed.commandLine.has_value(), c.valid) << parsed.error;
        if (!c.valid) {
            EXPECT_FALSE(parsed.error.empty());
            continue;
        }
        EXPECT_EQ(parsed.commandLine->command, c.command);
        if (c.command == CommandLine::Command::Help) continue;
        EXPECT_EQ(parsed.commandLine->timeoutSeconds, c.timeout);
        EXPECT_EQ(parsed.commandLine->openBrowser, c.open);
        EXPECT_EQ(parsed.commandLine->quiet, c.quiet);
    }
}

CommandLine SetLine(const std::string& serial, const std::string& address) {
    CommandLine line;
    line.command = CommandLine::Command::Set;
    line.serialNumber = serial;
    line.address = address;
    line.timeoutSeconds = 60;
    return line;
}

TEST_F(CliTest, SetReportsEachOutcomeWithItsMessageAndStatus) {
    struct Case {
        std::string name;
        std::function<bool(const FakePlatform::EchoCall&)> device;
        int status;
        std::string message;
        std::vector<std::string> arpCalls;
    } cases[] = {
        {"answers at once", [](const FakePlatform::EchoCall&) { return true; }, 3,
         "The IP address 192.168.1.90 is already in use.\n\nClick the View Home Page button to access the device "
         "currently using this IP address, or enter a different IP address and try again.\n",
         {}},
        {"answers the 408-byte ping", [](const FakePlatform::EchoCall& call) { return call.payloadSize == 408; }, 0,
         "The IP address 192.168.1.90 was successfully assigned\nto 02C0A7A1B2C3.\n\nClick the View Home Page "
         "button to access the device's home page and to configure other network settings.\n",
         {"-s 192.168.1.90 02-C0-A7-A1-B2-C3", "-d 192.168.1.90"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        platform->ClearRecords();
        platform->onEcho = c.device;
        std::ostringstream out, err;
        EXPECT_EQ(AddrixCli::Set(SetLine("02c0a7a1b2c3", "192.168.1.90"), out, err), c.status);
        workers.JoinAll();
        EXPECT_EQ(out.str(), c.message);
        EXPECT_EQ(err.str(), "");
        EXPECT_EQ(platform->ArpCalls(), c.arpCalls);
    }
}

// An output that notes whether `done` was already true at its first write.
class WatchedOutput : public std::stringbuf {
public:
    explicit WatchedOutput(const std::atomic<bool>& done) : done_(done) {}
    std::optional<bool> doneAtFirstWrite;

protected:
    std::streamsize xsputn(const char* text, std::streamsize count) override {
        if (!doneAtFirstWrite) doneAtFirstWrite = done_.load();
        return std::stringbuf::xsputn(text, count);
    }

private:
    const std::atomic<bool>& done_;
};

TEST_F(CliTest, SetTellsTheOutcomeOnlyAfterTheEntryIsRemoved) {
    // The job reports success before it removes its entry, and the removal
    // takes a while: a reader that goes away at the first line must find
    // the entry gone already.
    platform->onEcho = [](const FakePlatform::EchoCall& call) { return call.payloadSize == 408; };
    std::atomic<bool> removed{false};
    platform->onRemoveNeighbour = [&removed](IPv4Address) {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        removed = true;
        return true;
    };
    WatchedOutput watched(removed);
    std::ostream out(&watched);
    std::ostringstream err;
    EXPECT_EQ(AddrixCli::Set(SetLine("02C0A7A1B2C3", "192.168.1.90"), out, err), 0);
    EXPECT_EQ(watched.doneAtFirstWrite, std::optional<bool>(true));
}

TEST_F(CliTest, SetReportsAHeldAddressAndAnEntryThatCannotBeAdded) {
    struct Case {
        std::string name;
        std::function<void(FakePlatform&)> prepare;
        int status;
        std::string message;
        std::vector<std::string> arpCalls;
    } cases[] = {
        {"held by another run",
         [](FakePlatform& fake) { fake.addressesHeldElsewhere.insert(Platform::System().InetAddr("192.168.1.90")); },
         6,
         "The IP address 192.168.1.90 is being assigned by another run of TARVIK Addrix.\n\nWait until that run "
         "has finished, or enter a different IP address and try again.\n",
         {}},
        {"entry refused", [](FakePlatform& fake) { fake.onSetNeighbour = [](IPv4Address, const MacAddress&) { return false; }; },
         1,
         "The IP address 192.168.1.90 could not be bound to 02C0A7A1B2C3 in the host's neighbour (ARP) table, so "
         "the device cannot be reached.\n\nCheck that TARVIK Addrix has the rights to change the network "
         "configuration, and try again.\n",
         {"-s 192.168.1.90 02-C0-A7-A1-B2-C3"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        platform->ClearRecords();
        c.prepare(*platform);
        std::ostringstream out, err;
        EXPECT_EQ(AddrixCli::Set(SetLine("02c0a7a1b2c3", "192.168.1.90"), out, err), c.status);
        workers.JoinAll();
        EXPECT_EQ(out.str(), c.message);
        EXPECT_EQ(err.str(), "");
        EXPECT_EQ(platform->ArpCalls(), c.arpCalls);
        platform->addressesHeldElsewhere.clear();
    }
}

TEST_F(CliTest, SetRefusesInputWithoutStartingAJob) {
    std::ostringstream out, err;
    EXPECT_EQ(AddrixCli::Set(SetLine("02C0A7A1B2C3", "192.168.2.90"), out, err), 2);
    EXPECT_EQ(err.str(), NotReachable("192.168.2.90") + "\n");
    EXPECT_EQ(out.str(), "");
    EXPECT_TRUE(platform->EchoCalls().empty());
}

TEST_F(CliTest, SetWithoutNetworkRightsFailsBeforeAnyProbe) {
    platform->rights.canChangeNeighbours = false;
    std::ostringstream out, err;
    EXPECT_EQ(AddrixCli::Set(SetLine("02C0A7A1B2C3", "192.168.1.90"), out, err), 1);
    EXPECT_NE(err.str().find("CAP_NET_ADMIN"), std::string::npos);
    EXPECT_TRUE(platform->EchoCalls().empty());
}

TEST_F(CliTest, InterruptedAssignmentRemovesTheEntryItAdded) {
    // A device that never answers; each echo waits a little, as a real one would.
    platform->onEcho = [](const FakePlatform::EchoCall&) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        return false;
    };
    Assignment assignment;
    assignment.Start("02C0A7A1B2C3", "192.168.1.90");
    // Interrupt once the job is in its loop, after the five test pings.
    for (int tries = 0; tries < 1000 && platform->EchoCalls().size() < 8; ++tries)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    ASSERT_GE(platform->EchoCalls().size(), 8u);
    assignment.Interrupt(SIGINT);
    EXPECT_EQ(assignment.Wait(std::chrono::steady_clock::now() + std::chrono::seconds(30)),
              Assignment::Ending::Interrupted);
    EXPECT_EQ(assignment.InterruptingSignal(), SIGINT);
    EXPECT_TRUE(assignment.Finish());
    EXPECT_EQ(platform->ArpCalls(), (std::vector<std::string>{"-s 192.168.1.90 02-C0-A7-A1-B2-C3", "-d 192.168.1.90"}));
}

TEST_F(CliTest, HomeFindsTheDeviceOrReportsItsAbsence) {
    struct Case {
        std::string name;
        bool answers;
        bool open;
        bool browserOpens;
        int status;
        std::string out;
        size_t pings;
        std::vector<std::string> opened;
    } cases[] = {
        {"answering device", true, false, true, 0, "http://192.168.1.90\n", 1, {}},
        {"opened in the browser", true, true, true, 0, "http://192.168.1.90\n", 1, {"http://192.168.1.90"}},
        {"browser fails", true, true, false, 1, "http://192.168.1.90\n", 1, {"http://192.168.1.90"}},
        {"no device", false, true, true, 5, "There is no device with the IP address 192.168.1.90.\n", 4, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        platform->ClearRecords();
        platform->onEcho = [&c](const FakePlatform::EchoCall&) { return c.answers; };
        platform->onOpenUrl = [&c](const std::string&) { return c.browserOpens; };
        CommandLine line;
        line.command = CommandLine::Command::Home;
        line.address = "192.168.1.090";
        line.openBrowser = c.open;
        std::ostringstream out, err;
        EXPECT_EQ(AddrixCli::Home(line, out, err), c.status);
        EXPECT_EQ(out.str(), c.out);
        EXPECT_EQ(platform->EchoCalls().size(), c.pings);
        for (const FakePlatform::EchoCall& call : platform->EchoCalls()) {
            EXPECT_EQ(call.timeoutMs, 500u);
            EXPECT_EQ(call.payloadSize, 0u);
        }
        EXPECT_EQ(platform->OpenedUrls(), c.opened);
        EXPECT_EQ(err.str().empty(), c.browserOpens);
    }
}

TEST_F(CliTest, HomeRefusesAnAddressNoDeviceCanHave) {
    struct Case {
        std::string typed;
        std::string refusal;
    } cases[] = {
        {"0.0.0.0", NotValid("0.0.0.0")},
        {"255.255.255.255", NotValid("255.255.255.255")},
        {"192.168.1.255", NotValid("192.168.1.255")},
        {"300.1.1.1", NotValid("300.1.1.1")},
        {"192.168.1.256", NotValid("192.168.1.256")},
        {"0.168.1.9", NotValid("0.168.1.9")},
        {"192.168.1", kIncomplete},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        platform->ClearRecords();
        CommandLine line;
        line.command = CommandLine::Command::Home;
        line.address = c.typed;
        std::ostringstream out, err;
        EXPECT_EQ(AddrixCli::Home(line, out, err), 2);
        EXPECT_EQ(err.str(), c.refusal + "\n");
        EXPECT_EQ(out.str(), "");
        EXPECT_TRUE(platform->EchoCalls().empty());
    }
}

// The tagged entry for 192.168.1.LAST, bound to 02C0A70000LAST.
OwnNeighbourEntry TaggedEntry(uint8_t last, const char* interfaceName = "eth0") {
    const uint8_t bytes[4] = {192, 168, 1, last};
    uint32_t networkOrder = 0;
    std::memcpy(&networkOrder, bytes, sizeof networkOrder);
    char serial[16];
    std::snprintf(serial, sizeof serial, "02C0A70000%02u", static_cast<unsigned>(last));
    return {IPv4Address(networkOrder), *MacAddress::FromSerialNumber(serial), interfaceName};
}

TEST_F(CliTest, CleanRemovesTheEntriesNoLiveRunOwnsAndListsThem) {
    CommandLine line;
    line.command = CommandLine::Command::Clean;
    // .51 is orphaned; .52 belongs to a live run elsewhere; .53 is orphaned
    // but the kernel refuses to remove it; .54 is orphaned on two interfaces.
    platform->SetOwnNeighbours({TaggedEntry(51), TaggedEntry(52), TaggedEntry(53), TaggedEntry(54, "eth0"),
                                TaggedEntry(54, "eth1")});
    platform->addressesHeldElsewhere.insert(TaggedEntry(52).address.GetNetworkOrder());
    platform->onRemoveNeighbour = [](IPv4Address address) { return address != TaggedEntry(53).address; };
    std::ostringstream out, err;
    EXPECT_EQ(AddrixCli::Clean(line, out, err), 1);
    EXPECT_EQ(out.str(),
              "removed 192.168.1.51 lladdr 02-C0-A7-00-00-51 dev eth0\n"
              "removed 192.168.1.54 lladdr 02-C0-A7-00-00-54 dev eth0\n"
              "removed 192.168.1.54 lladdr 02-C0-A7-00-00-54 dev eth1\n");
    EXPECT_EQ(err.str(), "addrix-cli: could not remove 192.168.1.53 lladdr 02-C0-A7-00-00-53 dev eth0\n");
    // The live run's entry was never touched; every lock taken was given back.
    EXPECT_EQ(platform->ArpCalls(), (std::vector<std::string>{"-d 192.168.1.51", "-d 192.168.1.53",
                                                              "-d 192.168.1.54", "-d 192.168.1.54"}));
    EXPECT_TRUE(platform->LockedAddresses().empty());

    // Nothing left that it may remove: nothing to say, done.
    platform->ClearRecords();
    platform->onRemoveNeighbour = nullptr;
    platform->SetOwnNeighbours({TaggedEntry(52)});
    std::ostringstream quietOut, quietErr;
    EXPECT_EQ(AddrixCli::Clean(line, quietOut, quietErr), 0);
    EXPECT_EQ(quietOut.str() + quietErr.str(), "");
    EXPECT_TRUE(platform->ArpCalls().empty());
}

TEST_F(CliTest, CleanWithoutTheRightToChangeNeighboursTouchesNothing) {
    platform->rights.canChangeNeighbours = false;
    platform->rights.canSendEcho = false;  // not needed: clean sends nothing
    platform->SetOwnNeighbours({TaggedEntry(51)});
    CommandLine line;
    line.command = CommandLine::Command::Clean;
    line.program = "addrix-cli";
    std::ostringstream out, err;
    EXPECT_EQ(AddrixCli::Clean(line, out, err), 1);
    EXPECT_NE(err.str().find("rights it needs: CAP_NET_ADMIN."), std::string::npos) << err.str();
    EXPECT_TRUE(platform->ArpCalls().empty());
}

}  // namespace
