#include "platform/SignalWatcher.h"

#include <gtest/gtest.h>

#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <vector>

namespace {

constexpr std::chrono::seconds kGenerousWait{20};

TEST(SignalWatcherTest, ReportsEachSignalOnItsThreadAndUnblocksThemAfterwards) {
    std::mutex mutex;
    std::condition_variable arrived;
    std::vector<int> received;
    {
        SignalWatcher watcher([&](int signal) {
            std::lock_guard<std::mutex> lock(mutex);
            received.push_back(signal);
            arrived.notify_all();
        });
        for (int signal : {SIGTERM, SIGINT}) {
            ::kill(::getpid(), signal);
            std::unique_lock<std::mutex> lock(mutex);
            auto reported = [&] { return !received.empty() && received.back() == signal; };
            ASSERT_TRUE(arrived.wait_for(lock, kGenerousWait, reported));
        }
    }
    EXPECT_EQ(received, (std::vector<int>{SIGTERM, SIGINT}));
    sigset_t blocked;
    pthread_sigmask(SIG_BLOCK, nullptr, &blocked);
    EXPECT_FALSE(sigismember(&blocked, SIGINT));
    EXPECT_FALSE(sigismember(&blocked, SIGTERM));
}

}  // namespace
