// Address locks as abstract Unix sockets: a name can be bound by one socket
// at a time in a network namespace, the namespace of the neighbour table, and
// the kernel unbinds it when the socket's last descriptor closes, also when
// the process dies.
#include "platform/linux/LinuxPlatform.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstddef>
#include <cstring>

namespace {

class SocketAddressLock : public AddressLock {
public:
    explicit SocketAddressLock(int descriptor) : descriptor_(descriptor) {}
    ~SocketAddressLock() override { ::close(descriptor_); }

private:
    int descriptor_;
};

}  // namespace

std::string LinuxPlatform::AddressLockName(IPv4Address address) { return "addrix/address/" + address.ToText(); }

std::unique_ptr<AddressLock> LinuxPlatform::LockAddress(IPv4Address address) {
    const std::string name = AddressLockName(address);
    sockaddr_un socketAddress{};
    socketAddress.sun_family = AF_UNIX;
    // Abstract: the name starts after a NUL byte and is not NUL-terminated.
    std::memcpy(socketAddress.sun_path + 1, name.data(), name.size());
    const auto length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + name.size());

    const int descriptor = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (descriptor < 0) return nullptr;
    if (::bind(descriptor, reinterpret_cast<const sockaddr*>(&socketAddress), length) != 0) {
        ::close(descriptor);
        return nullptr;
    }
    return std::make_unique<SocketAddressLock>(descriptor);
}
