// Helpers for tests of code that runs on worker threads: workers the test
// can join, and a gate at which a worker waits until the test lets it go.
#pragma once

#include "platform/fake/FakePlatform.h"

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

// Every wait of a test is bounded by this, far beyond what any step needs.
inline constexpr std::chrono::seconds kGenerousWait{20};
inline constexpr uint32_t kGenerousWaitMs = 20000;

// Starts the threads that the code under test asks the fake platform for as
// joinable threads, so that none outlives the fake it uses.
class WorkerThreads {
public:
    explicit WorkerThreads(FakePlatform& platform) {
        platform.onStartThread = [this](std::function<void()>& body) { return Start(body); };
    }
    ~WorkerThreads() { JoinAll(); }

    void JoinAll() {
        std::vector<std::thread> finishing;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            finishing.swap(threads_);
        }
        for (std::thread& thread : finishing) thread.join();
    }

    std::vector<std::thread::id> Ids() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return ids_;
    }

    bool Start(std::function<void()>& body) {
        std::lock_guard<std::mutex> lock(mutex_);
        threads_.emplace_back(std::move(body));
        ids_.push_back(threads_.back().get_id());
        return true;
    }

private:
    mutable std::mutex mutex_;
    std::vector<std::thread> threads_;
    std::vector<std::thread::id> ids_;
};

// A point where a thread waits until the test opens it; the test can wait
// until a thread has arrived there.
class Gate {
public:
    void Pass() {
        std::unique_lock<std::mutex> lock(mutex_);
        arrived_ = true;
        changed_.notify_all();
        changed_.wait(lock, [this] { return open_; });
    }

    bool WaitForArrival() {
        std::unique_lock<std::mutex> lock(mutex_);
        return changed_.wait_for(lock, kGenerousWait, [this] { return arrived_; });
    }

    void Open() {
        std::lock_guard<std::mutex> lock(mutex_);
        open_ = true;
        changed_.notify_all();
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool arrived_ = false;
    bool open_ = false;
};
