#include "Child.h"

#include <fcntl.h>
#include <poll.h>
#include <sched.h>
#include <signal.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <stdexcept>

Child::Child(const std::string& namespacePath, const std::vector<std::string>& argv) {
    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0) throw std::runtime_error("pipe");
    int netns = ::open(namespacePath.c_str(), O_RDONLY | O_CLOEXEC);
    if (netns < 0) throw std::runtime_error("no namespace " + namespacePath);
    std::vector<char*> arguments;
    for (const std::string& argument : argv) arguments.push_back(const_cast<char*>(argument.c_str()));
    arguments.push_back(nullptr);

    pid_ = ::fork();
    if (pid_ < 0) throw std::runtime_error("fork");
    if (pid_ == 0) {
        int null = ::open("/dev/null", O_WRONLY);
        if (::setns(netns, CLONE_NEWNET) != 0 || null < 0) ::_exit(126);
        ::dup2(pipeFds[1], STDOUT_FILENO);
        ::dup2(null, STDERR_FILENO);
        ::execv(arguments[0], arguments.data());
        ::_exit(127);
    }
    ::close(netns);
    ::close(pipeFds[1]);
    output_ = pipeFds[0];
}

Child::~Child() {
    if (!ended_ && pid_ > 0) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
    }
    if (output_ >= 0) ::close(output_);
}

std::optional<Child::Line> Child::ReadLine(Clock::time_point deadline) {
    for (;;) {
        size_t end = pending_.find('\n');
        if (end != std::string::npos) {
            Line line{pending_.substr(0, end), Clock::now()};
            pending_.erase(0, end + 1);
            return line;
        }
        if (output_ < 0) return std::nullopt;
        // A deadline that has passed still takes what has already arrived.
        auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
        pollfd readable{output_, POLLIN, 0};
        int ready = ::poll(&readable, 1, static_cast<int>(std::max<decltype(left)>(left, 0)));
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0) return std::nullopt;
        char buffer[4096];
        ssize_t length = ::read(output_, buffer, sizeof buffer);
        if (length <= 0) {
            ::close(output_);
            output_ = -1;
            return std::nullopt;
        }
        pending_.append(buffer, static_cast<size_t>(length));
    }
}

void Child::Signal(int signal) {
    if (!ended_) ::kill(pid_, signal);
}

bool Child::Wait(Clock::time_point deadline) {
    if (ended_) return true;
    // A descriptor that becomes readable when the child exits: no polling.
    int exited = static_cast<int>(::syscall(SYS_pidfd_open, pid_, 0));
    if (exited < 0) throw std::runtime_error("pidfd_open");
    for (;;) {
        auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
        pollfd readable{exited, POLLIN, 0};
        int ready = left > 0 ? ::poll(&readable, 1, static_cast<int>(left)) : 0;
        if (ready < 0 && errno == EINTR) continue;
        break;
    }
    ::close(exited);
    int status = 0;
    if (::wait4(pid_, &status, WNOHANG, &usage_) != pid_) return false;
    ended_ = true;
    status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return true;
}
