#include "WorkerKit.h"
#include "assign/Thread.h"
#include "platform/fake/FakePlatform.h"
#include "support/Log.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using ::testing::Contains;
using ::testing::ElementsAre;

// What a worker did, as the test reads it once the worker is known to have
// done it.
struct WorkerRecord {
    uintptr_t param = 0;
    bool deleted = false;
    std::thread::id deleter;
};

// A worker whose Run waits at a gate and returns 42.
class GatedThread : public Thread {
public:
    GatedThread(Gate& gate, WorkerRecord& record) : gate_(gate), record_(record) {}
    ~GatedThread() override {
        record_.deleted = true;
        record_.deleter = std::this_thread::get_id();
    }
    int32_t ExitCode() const { return exitCode; }

protected:
    int32_t Run(uintptr_t runParam) override {
        record_.param = runParam;
        gate_.Pass();
        return 42;
    }

private:
    Gate& gate_;
    WorkerRecord& record_;
};

class ThreadTest : public ::testing::Test {
protected:
    void SetUp() override { Log::Instance().Configure("QRM", 3, 0, nullptr, nullptr); }
    void TearDown() override {
        gate.Open();
        workers.JoinAll();
        Log::Instance().Configure("", 2, 0, nullptr, nullptr);
    }

    std::vector<std::string> LinesOf(const std::string& scope) const {
        const std::string prefix = "QRM:D:" + scope + " - ";
        std::vector<std::string> lines;
        for (const std::string& line : platform.fake.DebugLines())
            if (line.rfind(prefix, 0) == 0) lines.push_back(line.substr(prefix.size()));
        return lines;
    }

    void FailThreadStarts(int count) {
        platform->onStartThread = [this, count](std::function<void()>& body) mutable {
            if (count-- > 0) return false;
            return workers.Start(body);
        };
    }

    ScopedFakePlatform platform;
    WorkerThreads workers{*platform};
    Gate gate;
    WorkerRecord record;
};

TEST_F(ThreadTest, RunsOnceAndIsDeletedByItsWorker) {
    gate.Open();
    auto* thread = new GatedThread(gate, record);
    ASSERT_TRUE(thread->Start(7));
    // Start returns only after the worker has begun.
    EXPECT_THAT(LinesOf("Thread::ThreadStarter"), Contains("Starting Run"));

    ASSERT_TRUE(thread->WaitForStoped(kGenerousWaitMs));
    EXPECT_EQ(thread->ExitCode(), 42);
    EXPECT_EQ(record.param, 7u);
    thread->Destroy();
    workers.JoinAll();

    EXPECT_TRUE(record.deleted);
    EXPECT_EQ(record.deleter, workers.Ids().at(0));
    EXPECT_THAT(LinesOf("Thread::Thread"), ElementsAre("Create"));
    EXPECT_THAT(LinesOf("Thread::Start"), ElementsAre("Start", "Thread starting", "Thread started"));
    EXPECT_THAT(LinesOf("Thread::ThreadStarter"), ElementsAre("Starting", "Starting Run", "created event", "after run",
                                                              "I am stoped", "Waiting for destroy event"));
    EXPECT_THAT(LinesOf("Thread::WaitForStoped"), ElementsAre("Stoped"));
    EXPECT_EQ(platform->DebugLines().back(), "QRM:D:Thread::~Thread - Delete");
}

TEST_F(ThreadTest, WaitForStopedTimesOutWhileRunRunsAndKeepsTheEventOnceSignalled) {
    auto* thread = new GatedThread(gate, record);
    ASSERT_TRUE(thread->Start(0));
    ASSERT_TRUE(gate.WaitForArrival());

    for (uint32_t timeoutMs : {0u, 25u}) EXPECT_FALSE(thread->WaitForStoped(timeoutMs));
    EXPECT_EQ(thread->ExitCode(), 0);
    EXPECT_THAT(LinesOf("Thread::WaitForStoped"), ElementsAre("Timeout 0 MilliSeconds", "Timeout 25 MilliSeconds"));

    gate.Open();
    EXPECT_TRUE(thread->WaitForStoped(kGenerousWaitMs));
    EXPECT_TRUE(thread->WaitForStoped(0));
    thread->Destroy();
}

TEST_F(ThreadTest, DestroyBeforeRunReturnsLeavesTheDeletionToTheWorker) {
    auto* thread = new GatedThread(gate, record);
    ASSERT_TRUE(thread->Start(0));
    ASSERT_TRUE(gate.WaitForArrival());

    thread->Destroy();
    EXPECT_FALSE(record.deleted);

    gate.Open();
    workers.JoinAll();
    EXPECT_TRUE(record.deleted);
    EXPECT_EQ(record.deleter, workers.Ids().at(0));
    EXPECT_THAT(LinesOf("Thread::ThreadStarter"), Contains("Waiting for destroy event"));
}

TEST_F(ThreadTest, FailedStartStopsAtOnceAndDestroyDeletes) {
    FailThreadStarts(1);
    auto* thread = new GatedThread(gate, record);
    EXPECT_FALSE(thread->Start(0));
    EXPECT_TRUE(thread->WaitForStoped(0));

    thread->Destroy();
    EXPECT_TRUE(record.deleted);
    EXPECT_EQ(record.deleter, std::this_thread::get_id());
    EXPECT_EQ(platform->DebugLines(), (std::vector<std::string>{
                                          "QRM:D:Thread::Thread - Create",
                                          "QRM:D:Thread::Start - Start",
                                          "QRM:E:Thread::Start - Failed to start thread",
                                          "QRM:D:Thread::WaitForStoped - Stoped",
                                          "QRM:D:Thread::~Thread - Delete",
                                      }));
}

TEST_F(ThreadTest, StartAfterAFailedStartBelongsToItsWorkerAgain) {
    FailThreadStarts(1);
    auto* thread = new GatedThread(gate, record);
    EXPECT_FALSE(thread->Start(0));
    ASSERT_TRUE(thread->Start(0));
    ASSERT_TRUE(gate.WaitForArrival());
    EXPECT_FALSE(thread->WaitForStoped(0));

    thread->Destroy();
    EXPECT_FALSE(record.deleted);
    gate.Open();
    workers.JoinAll();
    EXPECT_TRUE(record.deleted);
    EXPECT_EQ(record.deleter, workers.Ids().at(0));
}

TEST_F(ThreadTest, DestroyWithoutStartDeletesAtOnce) {
    auto* thread = new GatedThread(gate, record);
    thread->Destroy();
    EXPECT_TRUE(record.deleted);
    EXPECT_THAT(LinesOf("Thread::~Thread"), ElementsAre("Delete"));
    EXPECT_TRUE(workers.Ids().empty());
}

}  // namespace
