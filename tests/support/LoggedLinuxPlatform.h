// The real Linux layer with its debugger output kept for the test to read,
// installed for the lifetime of a scope.
#pragma once

#include "platform/linux/LinuxPlatform.h"

#include <mutex>
#include <string>
#include <vector>

class LoggedLinuxPlatform : public LinuxPlatform {
public:
    LoggedLinuxPlatform() { Platform::Install(this); }
    ~LoggedLinuxPlatform() override { Platform::Install(nullptr); }
    LoggedLinuxPlatform(const LoggedLinuxPlatform&) = delete;
    LoggedLinuxPlatform& operator=(const LoggedLinuxPlatform&) = delete;

    void WriteDebugString(const char* text) override {
        std::lock_guard<std::mutex> lock(mutex_);
        std::string line(text);
        if (!line.empty() && line.back() == '\n') line.pop_back();
        lines_.push_back(line);
    }

    // The lines written so far, without their line feeds.
    std::vector<std::string> DebugLines() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return lines_;
    }

private:
    mutable std::mutex mutex_;
    std::vector<std::string> lines_;
};
