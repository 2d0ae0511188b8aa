// Two network namespaces of a test's own, a host side and a device side,
// joined by a veth pair, for tests against the real kernel. Nothing outside
// the two namespaces is touched; destruction removes them.
#pragma once

#include <string>

class NetLab {
public:
    static bool RunningAsRoot();

    // `tag` (a few letters) keeps the names of concurrent labs apart.
    explicit NetLab(const std::string& tag);
    ~NetLab();
    NetLab(const NetLab&) = delete;
    NetLab& operator=(const NetLab&) = delete;

    // Creates the namespaces and the veth pair, brings loopback and both
    // ends up and gives the host end `hostAddress` (address/prefix). The
    // device end gets `deviceAddress` if it is not empty.
    bool Up(const std::string& hostAddress = "10.213.0.1/24", const std::string& deviceAddress = "");

    const std::string& HostNamespace() const { return host_; }
    const std::string& DeviceNamespace() const { return device_; }
    const std::string& HostInterface() const { return hostLink_; }
    const std::string& DeviceInterface() const { return deviceLink_; }

    // Runs a shell command inside a namespace; true when it exits 0.
    bool Run(const std::string& ns, const std::string& command) const;
    // Runs a shell command inside a namespace and returns its standard output.
    std::string Capture(const std::string& ns, const std::string& command) const;

    // Moves the calling thread into a namespace until destruction; threads it
    // starts meanwhile are born there.
    class Entered {
    public:
        explicit Entered(const std::string& ns);
        ~Entered();
        Entered(const Entered&) = delete;
        Entered& operator=(const Entered&) = delete;
        bool Ok() const { return ok_; }

    private:
        int original_ = -1;
        bool ok_ = false;
    };

private:
    void Down();
    void RemoveNamespaces() const;

    std::string host_;
    std::string device_;
    std::string hostLink_;
    std::string deviceLink_;
    bool up_ = false;
};
