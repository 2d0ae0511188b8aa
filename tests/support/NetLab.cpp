#include "support/NetLab.h"

#include <fcntl.h>
#include <sched.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <cstdlib>

namespace {

bool Shell(const std::string& command) { return std::system((command + " >/dev/null 2>&1").c_str()) == 0; }

std::string Quote(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

}  // namespace

bool NetLab::RunningAsRoot() { return ::geteuid() == 0; }

NetLab::NetLab(const std::string& tag) {
    const std::string id = tag + std::to_string(::getpid() % 100000);
    host_ = "axh-" + id;
    device_ = "axd-" + id;
    hostLink_ = "axh" + id;  // interface names stay within 15 characters
    deviceLink_ = "axd" + id;
}

NetLab::~NetLab() { Down(); }

bool NetLab::Up(const std::string& hostAddress, const std::string& deviceAddress) {
    Down();
    // A run that crashed may have left namespaces of the same names behind.
    RemoveNamespaces();
    up_ = true;
    bool ok = Shell("ip netns add " + host_) && Shell("ip netns add " + device_) &&
              Shell("ip -n " + host_ + " link add " + hostLink_ + " type veth peer name " + deviceLink_ +
                    " netns " + device_) &&
              Shell("ip -n " + host_ + " link set lo up") && Shell("ip -n " + device_ + " link set lo up") &&
              Shell("ip -n " + host_ + " addr add " + hostAddress + " dev " + hostLink_) &&
              Shell("ip -n " + host_ + " link set " + hostLink_ + " up") &&
              Shell("ip -n " + device_ + " link set " + deviceLink_ + " up");
    if (ok && !deviceAddress.empty())
        ok = Shell("ip -n " + device_ + " addr add " + deviceAddress + " dev " + deviceLink_);
    if (!ok) Down();
    return ok;
}

void NetLab::Down() {
    if (!up_) return;
    RemoveNamespaces();
    up_ = false;
}

void NetLab::RemoveNamespaces() const {
    // Deleting a namespace destroys the veth end inside it, and with it the pair.
    Shell("ip netns del " + host_);
    Shell("ip netns del " + device_);
}

bool NetLab::Run(const std::string& ns, const std::string& command) const {
    return Shell("ip netns exec " + ns + " sh -c " + Quote(command));
}

std::string NetLab::Capture(const std::string& ns, const std::string& command) const {
    std::string output;
    FILE* pipe = ::popen(("ip netns exec " + ns + " sh -c " + Quote(command) + " 2>/dev/null").c_str(), "r");
    if (!pipe) return output;
    std::array<char, 512> chunk;
    size_t read;
    while ((read = std::fread(chunk.data(), 1, chunk.size(), pipe)) > 0) output.append(chunk.data(), read);
    ::pclose(pipe);
    return output;
}

NetLab::Entered::Entered(const std::string& ns) {
    original_ = ::open("/proc/thread-self/ns/net", O_RDONLY | O_CLOEXEC);
    const int target = ::open(("/run/netns/" + ns).c_str(), O_RDONLY | O_CLOEXEC);
    ok_ = original_ >= 0 && target >= 0 && ::setns(target, CLONE_NEWNET) == 0;
    if (target >= 0) ::close(target);
}

NetLab::Entered::~Entered() {
    if (original_ < 0) return;
    if (ok_ && ::setns(original_, CLONE_NEWNET) != 0) std::abort();  // never leave a thread in a lab
    ::close(original_);
}
