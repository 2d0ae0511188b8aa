#include "platform/SignalWatcher.h"

#include <gtest/gtest.h>

#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
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
        for (int signal : {SIGTERM, SIGINT, SIGHUP, SIGQUIT}) {
            ::kill(::getpid(), signal);
            std::unique_lock<std::mutex> lock(mutex);
            auto reported = [&] { return !received.empty() && received.back() == signal; };
            ASSERT_TRUE(arrived.wait_for(lock, kGenerousWait, reported));
        }
    }
    EXPECT_EQ(received, (std::vector<int>{SIGTERM, SIGINT, SIGHUP, SIGQUIT}));
    sigset_t blocked;
    pthread_sigmask(SIG_BLOCK, nullptr, &blocked);
    for (int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) EXPECT_FALSE(sigismember(&blocked, signal)) << signal;
}

TEST(SignalWatcherTest, WritingToAClosedOutputFailsInsteadOfEndingTheProcess) {
    struct sigaction previous {};
    ::sigaction(SIGPIPE, nullptr, &previous);
    IgnoreClosedOutput();
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    ::close(ends[0]);
    errno = 0;
    EXPECT_EQ(::write(ends[1], "x", 1), -1);
    EXPECT_EQ(errno, EPIPE);
    ::close(ends[1]);
    ::sigaction(SIGPIPE, &previous, nullptr);
}

}  // namespace
