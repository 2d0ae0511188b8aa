// A child process for the benchmarks: started in a network namespace of the
// lab, its standard output read line by line with the time of arrival.
#pragma once

#include <sys/resource.h>
#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

using Clock = std::chrono::steady_clock;

class Child {
public:
    // Runs `argv` inside the network namespace bound at `namespacePath`,
    // standard output to a pipe, standard error to /dev/null.
    Child(const std::string& namespacePath, const std::vector<std::string>& argv);
    ~Child();
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;

    struct Line {
        std::string text;
        Clock::time_point arrived;
    };
    // The next line of output, waiting until `deadline`; none at the end
    // of the output or of the time.
    std::optional<Line> ReadLine(Clock::time_point deadline);

    void Signal(int signal);
    // Waits for the exit, at most until `deadline`; false if it did not end.
    bool Wait(Clock::time_point deadline);

    int ExitStatus() const { return status_; }
    const rusage& Usage() const { return usage_; }
    pid_t Pid() const { return pid_; }

private:
    pid_t pid_ = -1;
    int output_ = -1;
    std::string pending_;
    bool ended_ = false;
    int status_ = -1;
    rusage usage_{};
};
