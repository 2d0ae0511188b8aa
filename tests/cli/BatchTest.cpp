#include "cli/BatchOutput.h"
#include "cli/BatchRun.h"
#include "cli/CommandLine.h"
#include "cli/Commands.h"
#include "cli/ParseArguments.h"
#include "cli/DeviceList.h"
#include "cli/JsonOutput.h"
#include "cli/Scan.h"
#include "net/NetUtil.h"
#include "platform/fake/FakePlatform.h"
#include "support/Log.h"
#include "unit/WorkerKit.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <csignal>
#include <set>
#include <sstream>
#include <thread>

namespace {

class BatchTest : public ::testing::Test {
protected:
    void SetUp() override {
        Log::Instance().Configure("QRM", 0, 0, nullptr, nullptr);
        platform->adapters = AdapterList{AdapterList::Status::Ok, {{{{"192.168.1.20", "255.255.255.0"}}}}};
    }
    void TearDown() override { workers.JoinAll(); }

    ScopedFakePlatform platform;
    WorkerThreads workers{*platform};
};

std::string Address(uint32_t networkOrder) {
    const auto* bytes = reinterpret_cast<const uint8_t*>(&networkOrder);
    return std::to_string(bytes[0]) + "." + std::to_string(bytes[1]) + "." + std::to_string(bytes[2]) + "." +
           std::to_string(bytes[3]);
}

TEST_F(BatchTest, ListIsReadWhole) {
    struct Case {
        std::string name;
        std::string text;
        std::vector<std::string> rows;  // "line serial address label"
        std::vector<std::string> errors;  // "line: message"
    } cases[] = {
        {"header, comments, blanks, CRLF, labels",
         "serial,address,label\r\n# the first camera\n\n02c0a7000001, 192.168.1.50 ,hall\r\n  02C0A7000002,192.168.1.051\n",
         {"4 02C0A7000001 192.168.1.50 hall", "5 02C0A7000002 192.168.1.51 "},
         {}},
        {"quoted fields", "\"02C0A7000001\",\"192.168.1.50\",\" gate, \"\"north\"\" \"\n",
         {"1 02C0A7000001 192.168.1.50  gate, \"north\" "},
         {}},
        {"a header only on the first line", "02C0A7000001,192.168.1.50\nserial,address\n",
         {},
         {"2: Invalid serial number!"}},
        {"every error with its line",
         "02C0A7000001,192.168.1.50\n02C0A7000001,192.168.1.51\n02C0A7000003,192.168.1.050\nFFFFFFFFFFFG,192.168.1.52\n"
         "02C0A7000005,192.168.2.5\n02C0A7000006\n02C0A7000007,192.168.1.57,a,b\n\"02C0A7000008,192.168.1.58\n"
         "02C0A7000009,192.168.1.255\n",
         {},
         {"2: serial number 02C0A7000001 already on line 1", "3: address 192.168.1.50 already on line 1",
          "4: Invalid serial number!", "5: The adress 192.168.2.5 is not reachable from the local subnet.",
          "6: expected serial,address[,label], found 1 field", "7: expected serial,address[,label], found 4 fields",
          "8: a quote is not closed", "9: The selected IP Address 192.168.1.255 is not valid."}},
        {"no device at all", "# nothing\nserial,address\n", {}, {"0: the list names no device"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::istringstream text(c.text);
        DeviceList list = ReadDeviceList(text);
        std::vector<std::string> rows, errors;
        for (const DeviceListRow& row : list.rows)
            rows.push_back(std::to_string(row.line) + " " + row.serialNumber + " " + row.address + " " + row.label);
        for (const DeviceListError& error : list.errors) errors.push_back(std::to_string(error.line) + ": " + error.message);
        EXPECT_EQ(errors, c.errors);
        // The rows count only without errors.
        if (c.errors.empty()) {
            EXPECT_EQ(rows, c.rows);
        }
    }
}

TEST(OutcomeTest, BatchEndsWithItsMostSeriousStatus) {
    struct Case {
        std::vector<int> statuses;
        int expected;
    } cases[] = {
        {{0, 0, 0}, 0},     {{0, 4, 0}, 4},   {{4, 6}, 6},       {{6, 3, 4}, 3},
        {{3, 1, 0}, 1},     {{1, 130}, 130},  {{130, 1, 3}, 130}, {{4, 0, 6, 0}, 6},
    };
    for (const Case& c : cases) {
        int status = 0;
        for (int each : c.statuses) status = MoreSerious(status, each);
        EXPECT_EQ(status, c.expected) << ::testing::PrintToString(c.statuses);
    }
}

// Devices by address: which answer at once (in use), which take the
// address from the 408-byte ping (assigned); the others never answer.
struct FakeNetwork {
    std::set<std::string> inUse;
    std::set<std::string> restarting;
    bool operator()(const FakePlatform::EchoCall& call) const {
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
        const std::string address = Address(call.address);
        return inUse.count(address) || (restarting.count(address) && call.payloadSize == 408);
    }
};

std::vector<DeviceListRow> Rows(const std::vector<std::string>& addresses) {
    std::vector<DeviceListRow> rows;
    for (size_t i = 0; i < addresses.size(); ++i)
        rows.push_back({static_cast<unsigned>(i + 2), "02C0A70000" + std::string(1, char('A' + i)) + "0", addresses[i],
                        "cam " + std::to_string(i)});
    return rows;
}

class RecordedProgress : public BatchProgress {
public:
    void Update(const std::vector<DeviceState>& devices, const std::vector<size_t>& changed,
                BatchClock::time_point) override {
        size_t running = 0;
        for (const DeviceState& device : devices)
            running += device.stage == DeviceState::Stage::Checking ||
                       device.stage == DeviceState::Stage::WaitingForDevice;
        mostRunning = std::max(mostRunning, running);
        for (size_t index : changed) stages[index].push_back(devices[index].stage);
        if (onUpdate) onUpdate(devices);
    }
    size_t mostRunning = 0;
    std::map<size_t, std::vector<DeviceState::Stage>> stages;
    std::function<void(const std::vector<DeviceState>&)> onUpdate;
};

// Every entry added is removed again.
void ExpectEntriesRemoved(const std::vector<std::string>& arpCalls) {
    std::multiset<std::string> added, removed;
    for (const std::string& call : arpCalls) {
        std::istringstream words(call);
        std::string verb, address;
        words >> verb >> address;
        (verb == "-s" ? added : removed).insert(address);
    }
    EXPECT_EQ(added, removed);
}

TEST_F(BatchTest, EachDeviceRunsTheJobOfSetWithItsOwnOutcome) {
    FakeNetwork network{{"192.168.1.51"}, {"192.168.1.50", "192.168.1.53"}};
    platform->onEcho = [&network](const FakePlatform::EchoCall& call) { return network(call); };
    BatchRun run(Rows({"192.168.1.50", "192.168.1.51", "192.168.1.52", "192.168.1.53"}), {2, std::chrono::seconds(1)});
    RecordedProgress progress;
    bool allStopped = false;
    std::vector<DeviceState> devices = run.Run(progress, allStopped);
    workers.JoinAll();
    EXPECT_TRUE(allStopped);
    ASSERT_EQ(devices.size(), 4u);
    EXPECT_EQ(devices[0].outcome, Outcome::Assigned);
    EXPECT_EQ(devices[1].outcome, Outcome::InUse);
    EXPECT_EQ(devices[2].outcome, Outcome::TimedOut);
    EXPECT_EQ(devices[3].outcome, Outcome::Assigned);
    EXPECT_EQ(progress.mostRunning, 2u);
    using Stage = DeviceState::Stage;
    // In use: found during the check. Time-out: waited for the device in vain.
    EXPECT_EQ(progress.stages[1], (std::vector<Stage>{Stage::Checking, Stage::Done}));
    EXPECT_EQ(progress.stages[2], (std::vector<Stage>{Stage::Checking, Stage::WaitingForDevice, Stage::Done}));
    ExpectEntriesRemoved(platform->ArpCalls());
    // The time-out is the device's own, from its start.
    EXPECT_GE(devices[2].Seconds(devices[2].ended), 1.0);
}

TEST_F(BatchTest, StopSignalCancelsTheRunningJobsAndStartsNoMore) {
    platform->onEcho = FakeNetwork{};
    BatchRun run(Rows({"192.168.1.50", "192.168.1.51", "192.168.1.52"}), {2, std::chrono::seconds(60)});
    RecordedProgress progress;
    progress.onUpdate = [&run](const std::vector<DeviceState>& devices) {
        if (devices[0].stage == DeviceState::Stage::WaitingForDevice) run.Interrupt(SIGINT);
    };
    bool allStopped = false;
    std::vector<DeviceState> devices = run.Run(progress, allStopped);
    workers.JoinAll();
    EXPECT_TRUE(allStopped);
    EXPECT_EQ(run.InterruptingSignal(), SIGINT);
    EXPECT_EQ(devices[0].outcome, Outcome::Cancelled);
    EXPECT_EQ(devices[1].outcome, Outcome::Cancelled);
    EXPECT_EQ(devices[2].outcome, Outcome::NotStarted);
    ExpectEntriesRemoved(platform->ArpCalls());
    for (const FakePlatform::EchoCall& call : platform->EchoCalls()) EXPECT_NE(Address(call.address), "192.168.1.52");
}

std::vector<DeviceState> FinishedDevices() {
    std::vector<DeviceState> devices(2);
    const auto start = BatchClock::now();
    devices[0].row = {3, "02C0A7000001", "192.168.1.50", "hall, \"north\""};
    devices[0].stage = DeviceState::Stage::Done;
    devices[0].outcome = Outcome::Assigned;
    devices[0].started = start;
    devices[0].ended = start + std::chrono::milliseconds(12345);
    devices[1].row = {4, "02C0A7000002", "192.168.1.51", ""};
    devices[1].stage = DeviceState::Stage::Done;
    devices[1].outcome = Outcome::NotStarted;
    return devices;
}

TEST(BatchOutputTest, ReportHasOneCsvRowPerDevice) {
    std::ostringstream report;
    WriteReport(report, FinishedDevices(), SIGTERM);
    EXPECT_EQ(report.str(),
              "line,serial,address,label,outcome,seconds,exit\n"
              "3,02C0A7000001,192.168.1.50,\"hall, \"\"north\"\"\",assigned,12.345,0\n"
              "4,02C0A7000002,192.168.1.51,,not_started,0.000,143\n");
}

TEST(BatchOutputTest, JsonProgressWritesOneObjectPerFinishedDevice) {
    std::ostringstream out;
    auto progress = MakeProgress(ProgressStyle::Json, out, [] { return SIGINT; });
    std::vector<DeviceState> devices = FinishedDevices();
    devices.push_back(devices[0]);
    devices[2].stage = DeviceState::Stage::Checking;
    progress->Update(devices, {0, 1, 2}, BatchClock::now());
    std::istringstream lines(out.str());
    std::string line;
    std::vector<nlohmann::json> objects;
    while (std::getline(lines, line)) objects.push_back(nlohmann::json::parse(line));
    ASSERT_EQ(objects.size(), 2u);
    EXPECT_EQ(objects[0],
              nlohmann::json::parse(R"({"line":3,"serial":"02C0A7000001","address":"192.168.1.50",
                                    "label":"hall, \"north\"","outcome":"assigned","exit":0,"seconds":12.345})"));
    EXPECT_EQ(objects[1]["outcome"], "not_started");
    EXPECT_EQ(objects[1]["exit"], 130);
}

TEST(BatchOutputTest, PlainProgressWritesOneLinePerChange) {
    std::ostringstream out;
    auto progress = MakeProgress(ProgressStyle::Lines, out, [] { return 0; });
    std::vector<DeviceState> devices = FinishedDevices();
    devices[1].stage = DeviceState::Stage::WaitingForDevice;
    devices[1].started = devices[0].started;
    progress->Update(devices, {1, 0}, devices[0].started + std::chrono::seconds(5));
    EXPECT_EQ(out.str(),
              "line 4    02C0A7000002  192.168.1.51                     waiting for restart       5.0 s\n"
              "line 3    02C0A7000001  192.168.1.50    hall, \"north\"    assigned                 12.3 s\n");
}

uint32_t NetworkOrderOf(const std::string& dotted) { return Platform::Current().InetAddr(dotted.c_str()); }

TEST_F(BatchTest, ScanPlansEverySubnetWithinItsLimit) {
    AdapterList adapters{AdapterList::Status::Ok,
                         {Adapter{{{"10.1.2.3", "255.255.255.0"}, {"10.9.0.1", "255.255.255.254"}}, "eth0"},
                          Adapter{{{"172.16.0.9", "255.255.252.0"}}, "wlan0"},
                          Adapter{{{"192.168.7.7", "255.255.255.255"}}, "tun0"}}};
    ScanPlan plan = PlanScan(adapters, "", 1022);
    ASSERT_FALSE(plan.refusal) << *plan.refusal;
    ASSERT_EQ(plan.sweeps.size(), 3u);  // a single address has nobody to ask
    EXPECT_EQ(plan.sweeps[0].subnet, "10.1.2.0/24");
    EXPECT_EQ(plan.sweeps[0].interface, "eth0");
    EXPECT_EQ(plan.sweeps[0].ownAddress, NetworkOrderOf("10.1.2.3"));
    // Neither the network, nor the broadcast, nor its own address.
    EXPECT_EQ(plan.sweeps[0].targets.size(), 253u);
    EXPECT_EQ(plan.sweeps[0].targets.front(), NetworkOrderOf("10.1.2.1"));
    EXPECT_EQ(plan.sweeps[0].targets.back(), NetworkOrderOf("10.1.2.254"));
    EXPECT_EQ(plan.sweeps[1].targets, std::vector<uint32_t>{NetworkOrderOf("10.9.0.0")});
    EXPECT_EQ(plan.sweeps[2].subnet, "172.16.0.0/22");
    EXPECT_EQ(plan.sweeps[2].targets.size(), 1021u);

    EXPECT_EQ(PlanScan(adapters, "wlan0", 1022).sweeps.size(), 1u);
    EXPECT_EQ(PlanScan(adapters, "eth9", 1022).refusal, std::optional<std::string>("no adapter eth9 with an IPv4 subnet to scan"));
    ScanPlan tooLarge = PlanScan(adapters, "", 1021);
    ASSERT_TRUE(tooLarge.refusal);
    EXPECT_NE(tooLarge.refusal->find("172.16.0.0/22 on wlan0 has 1022 host addresses"), std::string::npos);
}

TEST_F(BatchTest, ScanListsTheMakersHostsInAddressOrder) {
    platform->adapters = AdapterList{AdapterList::Status::Ok, {Adapter{{{"192.168.1.20", "255.255.255.0"}}, "lab0"}}};
    platform->onSweepArp = [](const std::string&, uint32_t, const std::vector<uint32_t>&) {
        auto answer = [](const std::string& address, std::array<uint8_t, 6> mac, uint32_t us) {
            return ArpSweepAnswer{NetworkOrderOf(address), mac, us};
        };
        return std::optional<std::vector<ArpSweepAnswer>>({answer("192.168.1.200", {0x02, 0xC0, 0xA7, 0, 0, 2}, 1500),
                                                           answer("192.168.1.9", {0x0A, 0x1B, 0x2C, 0, 0, 1}, 300),
                                                           answer("192.168.1.31", {0x02, 0xC0, 0xA7, 0, 0, 1}, 250)});
    };
    CommandLine line;
    line.command = CommandLine::Command::Scan;
    std::ostringstream out, err;
    EXPECT_EQ(AddrixCli::Scan(line, out, err), 0);
    EXPECT_EQ(out.str(),
              "192.168.1.31     02:c0:a7:00:00:01      0.25 ms  lab0\n"
              "192.168.1.200    02:c0:a7:00:00:02      1.50 ms  lab0\n");
    line.all = true;
    line.json = true;
    line.prefix = "0A1B";
    out.str("");
    EXPECT_EQ(AddrixCli::Scan(line, out, err), 0);
    std::istringstream lines(out.str());
    std::string text;
    std::vector<nlohmann::json> hosts;
    while (std::getline(lines, text)) hosts.push_back(nlohmann::json::parse(text));
    ASSERT_EQ(hosts.size(), 3u);
    EXPECT_EQ(hosts[0], nlohmann::json::parse(
                            R"({"address":"192.168.1.9","mac":"0a:1b:2c:00:00:01","rtt_ms":0.3,"maker":true,"interface":"lab0"})"));
    EXPECT_EQ(hosts[1]["maker"], false);
    EXPECT_EQ(err.str(), "");
}

TEST(CommandLineTest, BatchScanAndTheirOptions) {
    struct Case {
        std::vector<const char*> arguments;
        bool valid;
        std::function<void(const CommandLine&)> check;
    } cases[] = {
        {{"batch", "list.csv"}, true,
         [](const CommandLine& line) {
             EXPECT_EQ(line.command, CommandLine::Command::Batch);
             EXPECT_EQ(line.listFile, "list.csv");
             EXPECT_EQ(line.parallel, 32u);
             EXPECT_EQ(line.intervalMs, 1000u);
             EXPECT_FALSE(line.json);
         }},
        {{"batch", "-", "--parallel", "4", "--report", "out.csv", "--interval", "100", "--json", "--verbose"}, true,
         [](const CommandLine& line) {
             EXPECT_EQ(line.listFile, "-");
             EXPECT_EQ(line.parallel, 4u);
             EXPECT_EQ(line.reportFile, "out.csv");
             EXPECT_EQ(line.intervalMs, 100u);
             EXPECT_TRUE(line.json);
             EXPECT_TRUE(line.verbose);
         }},
        {{"--verbose", "--quiet", "set", "02C0A7A1B2C3", "10.0.0.5", "--json", "--interval", "250"}, true,
         [](const CommandLine& line) {
             EXPECT_TRUE(line.verbose && line.quiet && line.json);
             EXPECT_EQ(line.intervalMs, 250u);
         }},
        {{"scan"}, true,
         [](const CommandLine& line) {
             EXPECT_EQ(line.command, CommandLine::Command::Scan);
             EXPECT_EQ(line.maxHosts, 1022u);
             EXPECT_FALSE(line.prefix);
             EXPECT_FALSE(line.all);
         }},
        {{"scan", "--interface", "lab0", "--max-hosts", "4094", "--prefix", "02:c0:a7", "--all"}, true,
         [](const CommandLine& line) {
             EXPECT_EQ(line.interface, "lab0");
             EXPECT_EQ(line.maxHosts, 4094u);
             EXPECT_EQ(line.prefix, std::optional<std::string>("02C0A7"));
             EXPECT_TRUE(line.all);
         }},
        {{"clean"}, true, [](const CommandLine& line) { EXPECT_EQ(line.command, CommandLine::Command::Clean); }},
        {{"home", "10.0.0.5", "--json"}, true, [](const CommandLine& line) { EXPECT_TRUE(line.json); }},
        {{"batch"}, false, {}},
        {{"batch", "a.csv", "b.csv"}, false, {}},
        {{"batch", "a.csv", "--parallel", "0"}, false, {}},
        {{"batch", "a.csv", "--report"}, false, {}},
        {{"batch", "a.csv", "--open"}, false, {}},
        {{"set", "02C0A7A1B2C3", "10.0.0.5", "--interval", "99"}, false, {}},
        {{"set", "02C0A7A1B2C3", "10.0.0.5", "--interval", "1001"}, false, {}},
        {{"home", "10.0.0.5", "--interval", "100"}, false, {}},
        {{"scan", "--prefix", "02C0G7"}, false, {}},
        {{"scan", "--prefix", "0123456789ABC"}, false, {}},
        {{"scan", "--max-hosts", "0"}, false, {}},
        {{"scan", "--interface"}, false, {}},
        {{"scan", "extra"}, false, {}},
        {{"clean", "--json"}, false, {}},
        {{"set", "02C0A7A1B2C3", "10.0.0.5", "--parallel", "3"}, false, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(JoinArguments(c.arguments));
        ParsedCommandLine parsed = ParseArguments(c.arguments);
        ASSERT_EQ(parsed.commandLine.has_value(), c.valid) << parsed.error;
        if (c.valid) {
            c.check(*parsed.commandLine);
        } else {
            EXPECT_FALSE(parsed.error.empty());
        }
    }
}

}  // namespace
