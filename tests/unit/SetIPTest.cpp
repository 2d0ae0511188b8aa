#include "WorkerKit.h"
#include "assign/SetIP.h"
#include "platform/fake/FakePlatform.h"
#include "support/Log.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <set>

namespace {

using ::testing::Contains;
using ::testing::Not;

constexpr char kSerialNumber[] = "0A1B2C3D4E5F";
constexpr char kAddress[] = "192.168.0.90";
constexpr char kArpAdd[] = "-s 192.168.0.90 0A-1B-2C-3D-4E-5F";
constexpr char kArpDelete[] = "-d 192.168.0.90";

// Answers the job's echo requests by their number, counted from 1: requests
// from `answerFrom` on are answered (0: none), and request `holdAt` waits at
// the gate until the test opens it (0: none).
class ScriptedEcho {
public:
    void Program(int answerFrom, int holdAt) {
        std::lock_guard<std::mutex> lock(mutex_);
        answerFrom_ = answerFrom;
        holdAt_ = holdAt;
        requests_ = 0;
    }

    bool Answer() {
        int number, answerFrom, holdAt;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            number = ++requests_;
            answerFrom = answerFrom_;
            holdAt = holdAt_;
        }
        if (number == holdAt) gate.Pass();
        return answerFrom > 0 && number >= answerFrom;
    }

    Gate gate;

private:
    std::mutex mutex_;
    int answerFrom_ = 0;
    int holdAt_ = 0;
    int requests_ = 0;
};

// Keeps the events it hears; never claims one.
class RecordingListener : public SetIPListener {
public:
    bool OnEvent(SetIPEvent event, uintptr_t) override {
        std::lock_guard<std::mutex> lock(mutex_);
        events_.push_back(event);
        return false;
    }

    std::vector<SetIPEvent> Events() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return events_;
    }

private:
    mutable std::mutex mutex_;
    std::vector<SetIPEvent> events_;
};

class SetIPTest : public ::testing::Test {
protected:
    void SetUp() override {
        Log::Instance().Configure("QRM", 3, 0, nullptr, nullptr);
        platform->onEcho = [this](const FakePlatform::EchoCall&) { return echo.Answer(); };
    }

    void TearDown() override {
        echo.gate.Open();
        if (job) {
            job->Cancel();
            ReleaseJob();
        }
        workers.JoinAll();
        Log::Instance().Configure("", 2, 0, nullptr, nullptr);
    }

    // Starts a job for the test device, with `listener` registered.
    void StartJob() {
        job = new SetIP;
        job->AddListener(&listener, 0);
        job->Set(kSerialNumber, kAddress);
    }

    // Gives the job up as its user does.
    void ReleaseJob() {
        job->RemoveListener(&listener);
        job->Destroy();
        job = nullptr;
    }

    std::vector<std::string> LinesContaining(const std::string& part) const {
        std::vector<std::string> lines;
        for (const std::string& line : platform.fake.DebugLines())
            if (line.find(part) != std::string::npos) lines.push_back(line);
        return lines;
    }

    // The payload sizes of the echo requests, after checking that each went
    // to the job's address with a time-out of 1000 ms.
    std::vector<size_t> EchoPayloads() const {
        std::vector<size_t> payloads;
        for (const FakePlatform::EchoCall& call : platform.fake.EchoCalls()) {
            EXPECT_EQ(call.address, Platform::System().InetAddr(kAddress));
            EXPECT_EQ(call.timeoutMs, 1000u);
            payloads.push_back(call.payloadSize);
        }
        return payloads;
    }

    ScopedFakePlatform platform;
    WorkerThreads workers{*platform};
    ScriptedEcho echo;
    RecordingListener listener;
    SetIP* job = nullptr;
};

// One way through the job, and everything it leaves behind.
struct JobPath {
    const char* name;
    int answerFrom;  // the first echo request that is answered; 0: none
    int cancelAt;    // the echo request during which the job is cancelled; 0: none
    std::vector<size_t> payloads;
    std::vector<std::string> arpCalls;
    std::vector<SetIPEvent> events;
    std::vector<std::string> jobLines;
};

void PrintTo(const JobPath& path, std::ostream* out) { *out << path.name; }

std::vector<std::string> Join(std::initializer_list<std::vector<std::string>> parts) {
    std::vector<std::string> lines;
    for (const auto& part : parts) lines.insert(lines.end(), part.begin(), part.end());
    return lines;
}

const std::vector<std::string> kStart = {
    "QRM:T:SetIP::Set - Set '0A1B2C3D4E5F', to '192.168.0.90'",
    "QRM:T:SetIP::Run - Test ip address '192.168.0.90'",
};
const std::vector<std::string> kTestPing = {"QRM:D:SetIP::MultiPing - Ping '192.168.0.90'"};
const std::vector<std::string> kFiveTestPings = Join({kTestPing, kTestPing, kTestPing, kTestPing, kTestPing});
const std::vector<std::string> kFree = {
    "QRM:T:SetIP::MultiPing - No response for '192.168.0.90'",
    "QRM:T:SetIP::Run - Address '192.168.0.90' is available, set '0A-1B-2C-3D-4E-5F' to this address",
};
const std::vector<std::string> kCancel = {"QRM:T:SetIP::Cancel - Cancel"};
const std::vector<std::string> kDone = {"QRM:T:SetIP::Run - Done"};

const JobPath kJobPaths[] = {
    {"AddressInUse", 1, 0, {0}, {}, {SetIPEvent::InUse},
     Join({kStart, kTestPing,
           {"QRM:T:SetIP::MultiPing - '192.168.0.90' exists",
            "QRM:E:SetIP::Run - Address '192.168.0.90' is already in use, cannot use address"}})},
    {"DeviceAnswersTheSecondAssignmentPing", 7, 0, {0, 0, 0, 0, 0, 0, 408}, {kArpAdd, kArpDelete},
     {SetIPEvent::Success},
     Join({kStart, kFiveTestPings, kFree,
           {"QRM:T:SetIP::Run - IPSet device '0A-1B-2C-3D-4E-5F' is set to '192.168.0.90'"}, kDone})},
    // An interrupted check proves nothing: no entry at all.
    {"CancelDuringTheTestPings", 0, 2, {0, 0}, {}, {},
     Join({kStart, kTestPing, kTestPing, kCancel, {"QRM:T:SetIP::MultiPing - No response for '192.168.0.90'"},
           kDone})},
    {"CancelDuringTheAssignmentLoop", 0, 8, {0, 0, 0, 0, 0, 0, 408, 479}, {kArpAdd, kArpDelete}, {},
     Join({kStart, kFiveTestPings, kFree, kCancel, kDone})},
};

class SetIPPathTest : public SetIPTest, public ::testing::WithParamInterface<JobPath> {};

TEST_P(SetIPPathTest, FollowsItsPath) {
    const JobPath& path = GetParam();
    echo.Program(path.answerFrom, path.cancelAt);
    StartJob();
    if (path.cancelAt != 0) {
        ASSERT_TRUE(echo.gate.WaitForArrival());
        job->Cancel();
        echo.gate.Open();
    }
    ASSERT_TRUE(job->WaitForStoped(kGenerousWaitMs));
    ReleaseJob();
    workers.JoinAll();

    EXPECT_EQ(listener.Events(), path.events);
    EXPECT_EQ(EchoPayloads(), path.payloads);
    EXPECT_EQ(platform->ArpCalls(), path.arpCalls);
    EXPECT_EQ(LinesContaining("SetIP::"), path.jobLines);
    EXPECT_EQ(platform->DebugLines().back(), "QRM:D:Thread::~Thread - Delete");
}

INSTANTIATE_TEST_SUITE_P(Paths, SetIPPathTest, ::testing::ValuesIn(kJobPaths),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(SetIPTest, AssignmentPayloadsCycleAndStartAgainForEveryJob) {
    echo.Program(5 + 8, 0);
    StartJob();
    ASSERT_TRUE(job->WaitForStoped(kGenerousWaitMs));
    ReleaseJob();
    EXPECT_EQ(EchoPayloads(), (std::vector<size_t>{0, 0, 0, 0, 0, 0, 408, 479, 0, 408, 479, 0, 408}));

    platform->ClearRecords();
    echo.Program(5 + 2, 0);
    StartJob();
    ASSERT_TRUE(job->WaitForStoped(kGenerousWaitMs));
    ReleaseJob();
    EXPECT_EQ(EchoPayloads(), (std::vector<size_t>{0, 0, 0, 0, 0, 0, 408}));
}

TEST_F(SetIPTest, FailedStartNeverRunsFailsAtOnceAndIsDeletedByDestroy) {
    platform->onStartThread = [](std::function<void()>&) { return false; };
    StartJob();
    EXPECT_EQ(listener.Events(), std::vector<SetIPEvent>{SetIPEvent::Failed});
    EXPECT_TRUE(job->WaitForStoped(0));
    ReleaseJob();

    EXPECT_TRUE(platform->EchoCalls().empty());
    EXPECT_EQ(platform->DebugLines(), (std::vector<std::string>{
                                          "QRM:D:Thread::Thread - Create",
                                          "QRM:T:SetIP::Set - Set '0A1B2C3D4E5F', to '192.168.0.90'",
                                          "QRM:D:Thread::Start - Start",
                                          "QRM:E:Thread::Start - Failed to start thread",
                                          "QRM:D:Thread::WaitForStoped - Stoped",
                                          "QRM:D:Thread::~Thread - Delete",
                                      }));
}

TEST_F(SetIPTest, DestroyWhileRunRunsLeavesTheJobToItsWorker) {
    echo.Program(1, 1);
    StartJob();
    ASSERT_TRUE(echo.gate.WaitForArrival());
    ReleaseJob();
    EXPECT_THAT(platform->DebugLines(), Not(Contains("QRM:D:Thread::~Thread - Delete")));

    echo.gate.Open();
    workers.JoinAll();
    EXPECT_TRUE(listener.Events().empty());
    EXPECT_THAT(platform->DebugLines(),
                Contains("QRM:E:SetIP::Run - Address '192.168.0.90' is already in use, cannot use address"));
    EXPECT_EQ(platform->DebugLines().back(), "QRM:D:Thread::~Thread - Delete");
}

const IPv4Address kTarget(Platform::System().InetAddr(kAddress));
const MacAddress kDeviceMac(MacAddress::Bytes{0x0A, 0x1B, 0x2C, 0x3D, 0x4E, 0x5F});
const MacAddress kOtherMac(MacAddress::Bytes{0x02, 0x00, 0x00, 0x00, 0x00, 0x01});

// Runs one job to its end and gives it up.
class SetIPEndingTest : public SetIPTest {
protected:
    void RunJob(const char* serialNumber = kSerialNumber) {
        job = new SetIP;
        job->AddListener(&listener, 0);
        job->Set(serialNumber, kAddress);
        ASSERT_TRUE(job->WaitForStoped(kGenerousWaitMs));
        ReleaseJob();
        workers.JoinAll();
    }
};

TEST_F(SetIPEndingTest, AHeldAddressIsRefusedBeforeAnyProbe) {
    platform->addressesHeldElsewhere.insert(kTarget.GetNetworkOrder());
    RunJob();
    EXPECT_EQ(listener.Events(), std::vector<SetIPEvent>{SetIPEvent::AddressHeld});
    EXPECT_TRUE(platform->EchoCalls().empty());
    EXPECT_TRUE(platform->ArpProbes().empty());
    EXPECT_TRUE(platform->ArpCalls().empty());
    EXPECT_THAT(platform->DebugLines(),
                Contains("QRM:E:SetIP::Run - Address '192.168.0.90' is held by another run, cannot use address"));
}

TEST_F(SetIPEndingTest, TheJobHoldsItsAddressForItsWholeRun) {
    std::vector<std::set<uint32_t>> lockedAtEachEcho;
    platform->onEcho = [&](const FakePlatform::EchoCall&) {
        lockedAtEachEcho.push_back(platform->LockedAddresses());
        return lockedAtEachEcho.size() == 7;
    };
    std::set<uint32_t> lockedAtRemoval;
    platform->onRemoveNeighbour = [&](IPv4Address) {
        lockedAtRemoval = platform->LockedAddresses();
        return true;
    };
    RunJob();
    EXPECT_EQ(listener.Events(), std::vector<SetIPEvent>{SetIPEvent::Success});
    ASSERT_EQ(lockedAtEachEcho.size(), 7u);
    for (const auto& locked : lockedAtEachEcho) EXPECT_EQ(locked, std::set<uint32_t>{kTarget.GetNetworkOrder()});
    EXPECT_EQ(lockedAtRemoval, std::set<uint32_t>{kTarget.GetNetworkOrder()});
    EXPECT_TRUE(platform->LockedAddresses().empty());
}

TEST_F(SetIPEndingTest, TwoJobsForOneAddressCannotBothRun) {
    echo.Program(0, 1);
    StartJob();
    ASSERT_TRUE(echo.gate.WaitForArrival());
    RecordingListener second;
    SetIP* other = new SetIP;
    other->AddListener(&second, 0);
    other->Set("02C0A7A1B2C3", kAddress);
    ASSERT_TRUE(other->WaitForStoped(kGenerousWaitMs));
    other->RemoveListener(&second);
    other->Destroy();
    EXPECT_EQ(second.Events(), std::vector<SetIPEvent>{SetIPEvent::AddressHeld});
    EXPECT_EQ(platform->EchoCalls().size(), 1u);  // only the first job's
}

TEST_F(SetIPEndingTest, AnOrphanedEntryIsRemovedBeforeTheCheck) {
    const IPv4Address elsewhere(Platform::System().InetAddr("192.168.0.91"));
    platform->SetOwnNeighbours({{kTarget, kOtherMac, "eth0"}, {elsewhere, kOtherMac, "eth0"}});
    size_t entriesAtFirstEcho = 0;
    platform->onEcho = [&](const FakePlatform::EchoCall&) {
        if (platform->EchoCalls().size() == 1) entriesAtFirstEcho = platform->OwnNeighbours().size();
        return true;
    };
    RunJob();
    EXPECT_EQ(listener.Events(), std::vector<SetIPEvent>{SetIPEvent::InUse});
    EXPECT_EQ(platform->ArpCalls(), std::vector<std::string>{kArpDelete});
    EXPECT_EQ(entriesAtFirstEcho, 1u);  // the other address's entry is another run's
    EXPECT_THAT(platform->DebugLines(),
                Contains("QRM:T:SetIP::RemoveOrphanedEntry - Removing orphaned entry '192.168.0.90' for "
                         "'02-00-00-00-00-01' on 'eth0'"));
}

TEST_F(SetIPEndingTest, AForeignArpAnswerMeansInUse) {
    platform->onProbeArp = [](IPv4Address, CancelEvent*) { return ArpProbeResult{ArpProbeResult::Status::Done, {kDeviceMac, kOtherMac}}; };
    RunJob();
    EXPECT_EQ(listener.Events(), std::vector<SetIPEvent>{SetIPEvent::InUse});
    EXPECT_EQ(platform->EchoCalls().size(), 5u);
    EXPECT_EQ(platform->ArpProbes(), std::vector<IPv4Address>{kTarget});
    EXPECT_TRUE(platform->ArpCalls().empty());
    EXPECT_THAT(platform->DebugLines(),
                Contains("QRM:E:SetIP::Run - Address '192.168.0.90' is already in use, cannot use address"));
}

TEST_F(SetIPEndingTest, TheDevicesOwnArpAnswerIsLoggedAndTheJobGoesOn) {
    platform->onProbeArp = [](IPv4Address, CancelEvent*) { return ArpProbeResult{ArpProbeResult::Status::Done, {kDeviceMac}}; };
    echo.Program(6, 0);
    RunJob();
    EXPECT_EQ(listener.Events(), std::vector<SetIPEvent>{SetIPEvent::Success});
    EXPECT_EQ(platform->ArpCalls(), (std::vector<std::string>{kArpAdd, kArpDelete}));
    EXPECT_THAT(platform->DebugLines(),
                Contains("QRM:T:SetIP::ProbeWithArp - Device '0A-1B-2C-3D-4E-5F' already answers for '192.168.0.90'"));
}

TEST_F(SetIPEndingTest, AProbeThatCannotBeSentLeavesTheEchoCheck) {
    platform->onProbeArp = [](IPv4Address, CancelEvent*) { return ArpProbeResult{ArpProbeResult::Status::NotSent, {}}; };
    echo.Program(6, 0);
    RunJob();
    EXPECT_EQ(listener.Events(), std::vector<SetIPEvent>{SetIPEvent::Success});
}

TEST_F(SetIPEndingTest, ACancelDuringTheArpProbeAddsNoEntry) {
    platform->onProbeArp = [this](IPv4Address, CancelEvent* cancel) {
        job->Cancel();
        EXPECT_TRUE(cancel != nullptr && cancel->IsFired());
        return ArpProbeResult{ArpProbeResult::Status::Cancelled, {}};
    };
    RunJob();
    EXPECT_TRUE(listener.Events().empty());
    EXPECT_TRUE(platform->ArpCalls().empty());
}

TEST_F(SetIPEndingTest, AnEntryThatCannotBeAddedFailsAtOnce) {
    platform->onSetNeighbour = [](IPv4Address, const MacAddress&) { return false; };
    RunJob();
    EXPECT_EQ(listener.Events(), std::vector<SetIPEvent>{SetIPEvent::Failed});
    EXPECT_EQ(platform->EchoCalls().size(), 5u);  // the test pings, and no assignment ping
    EXPECT_EQ(platform->ArpCalls(), std::vector<std::string>{kArpAdd});
    EXPECT_THAT(platform->DebugLines(), Contains("QRM:E:Zorvel::ArpAdd - arp failed"));
}

TEST_F(SetIPEndingTest, WhatIsNoSingleDeviceOrAddressFailsBeforeAnyProbe) {
    const char* serialNumbers[] = {"FFFFFFFFFFFF", "01005E000001", "000000000000", "0A1B2C"};
    for (const char* serialNumber : serialNumbers) {
        SCOPED_TRACE(serialNumber);
        platform->ClearRecords();
        RecordingListener fresh;
        job = new SetIP;
        job->AddListener(&fresh, 0);
        job->Set(serialNumber, kAddress);
        ASSERT_TRUE(job->WaitForStoped(kGenerousWaitMs));
        job->RemoveListener(&fresh);
        job->Destroy();
        job = nullptr;
        workers.JoinAll();
        EXPECT_EQ(fresh.Events(), std::vector<SetIPEvent>{SetIPEvent::Failed});
        EXPECT_TRUE(platform->EchoCalls().empty());
        EXPECT_TRUE(platform->ArpCalls().empty());
    }
}

TEST_F(SetIPEndingTest, WithoutACancelEventTheJobFails) {
    platform->cancelEventsAvailable = false;
    RunJob();
    EXPECT_EQ(listener.Events(), std::vector<SetIPEvent>{SetIPEvent::Failed});
    EXPECT_TRUE(platform->EchoCalls().empty());
}

// However early an echo fails, the next is sent only a whole window later.
TEST_F(SetIPEndingTest, EveryUnansweredEchoTakesItsWholeWindow) {
    echo.Program(8, 0);
    RunJob();
    EXPECT_EQ(platform->EchoCalls().size(), 8u);
    EXPECT_EQ(platform->Waits(), std::vector<uint32_t>(7, 1000));
}

struct MacCase {
    const char* serialNumber;
    const char* mac;
};

void PrintTo(const MacCase& c, std::ostream* os) { *os << '"' << c.serialNumber << '"'; }

class FormatMacAddressTest : public ::testing::TestWithParam<MacCase> {};

TEST_P(FormatMacAddressTest, PairsTheCharactersWithDashes) {
    EXPECT_EQ(SetIP::FormatMacAddress(GetParam().serialNumber), GetParam().mac);
}

INSTANTIATE_TEST_SUITE_P(SerialNumbers, FormatMacAddressTest,
                         ::testing::Values(MacCase{"0A1B2C3D4E5F", "0A-1B-2C-3D-4E-5F"},
                                           MacCase{"00c0a8f0e1d2", "00-c0-a8-f0-e1-d2"},
                                           MacCase{"0A1B2", "0A-1B-2---"},
                                           MacCase{"", "-----"},
                                           MacCase{"0A1B2C3D4E5F66", "0A-1B-2C-3D-4E-5F"},
                                           MacCase{"zz:12 4.5678", "zz-:1-2 -4.-56-78"}));

}  // namespace
