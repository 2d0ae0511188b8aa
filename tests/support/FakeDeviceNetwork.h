// The fake platform as the dialog's tests program it: a host "fakehost" at
// 192.168.5.23 on a /24 adapter, a device whose answers the test decides,
// the log at full level, and every worker thread joined at the end.
#pragma once

#include "net/NetUtil.h"
#include "platform/fake/FakePlatform.h"
#include "support/Log.h"

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

class FakeDeviceNetwork {
public:
    explicit FakeDeviceNetwork(FakePlatform& platform) : platform_(platform) {
        Log::Instance().Configure("QRM", 3, 0, nullptr, nullptr);
        ResetOsVersionClassForTesting();
        platform.hosts["fakehost"] = Platform::System().InetAddr("192.168.5.23");
        platform.adapters = AdapterList{AdapterList::Status::Ok, {Adapter{{{"192.168.5.23", "255.255.255.0"}}}}};
        platform.onEcho = [this](const FakePlatform::EchoCall&) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            if (addressInUse) return true;
            return deviceAnswers && !platform_.ArpCalls().empty();
        };
        platform.onStartThread = [this](std::function<void()>& body) {
            std::lock_guard<std::mutex> lock(workersMutex_);
            workers_.emplace_back(std::move(body));
            return true;
        };
    }
    ~FakeDeviceNetwork() {
        JoinWorkers();
        Log::Instance().Configure("", 2, 0, nullptr, nullptr);
    }
    FakeDeviceNetwork(const FakeDeviceNetwork&) = delete;
    FakeDeviceNetwork& operator=(const FakeDeviceNetwork&) = delete;

    // Waits for every worker started so far; the jobs must be ending.
    void JoinWorkers() {
        std::lock_guard<std::mutex> lock(workersMutex_);
        for (std::thread& worker : workers_)
            if (worker.joinable()) worker.join();
    }

    // The address answers test pings: it is in use.
    std::atomic<bool> addressInUse{false};
    // The device answers once its neighbour entry is there.
    std::atomic<bool> deviceAnswers{false};

private:
    FakePlatform& platform_;
    std::mutex workersMutex_;
    std::vector<std::thread> workers_;
};
