// The real Windows layer with its debugger output caught for inspection, and
// the log configured as at start-up while a test runs.
#pragma once

#include "platform/windows/WindowsPlatform.h"
#include "support/Log.h"

#include <mutex>
#include <string>
#include <vector>

class RecordingWindowsPlatform : public WindowsPlatform {
public:
    using WindowsPlatform::WindowsPlatform;

    // Each text handed to the debugger output, as given (line feed included).
    std::vector<std::string> DebugStrings() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return debugStrings_;
    }

    void WriteDebugString(const char* text) override {
        std::lock_guard<std::mutex> lock(mutex_);
        debugStrings_.emplace_back(text);
    }

private:
    mutable std::mutex mutex_;
    std::vector<std::string> debugStrings_;
};

// Installs a recording Windows layer and the start-up log configuration for
// a scope.
class ScopedRecordingPlatform {
public:
    explicit ScopedRecordingPlatform(std::string arpProgram = "arp") : platform_(std::move(arpProgram)) {
        Platform::Install(&platform_);
        Log::Instance().Configure("QRM", 3, 0, nullptr, nullptr);
    }
    ~ScopedRecordingPlatform() {
        Log::Instance().Configure("", 2, 0, nullptr, nullptr);
        Platform::Install(nullptr);
    }
    ScopedRecordingPlatform(const ScopedRecordingPlatform&) = delete;
    ScopedRecordingPlatform& operator=(const ScopedRecordingPlatform&) = delete;

    RecordingWindowsPlatform* operator->() { return &platform_; }

private:
    RecordingWindowsPlatform platform_;
};
