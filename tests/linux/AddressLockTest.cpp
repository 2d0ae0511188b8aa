// Address locks of the Linux layer: one holder per address and network
// namespace, across processes, released by the kernel when the holder dies.
#include "platform/linux/LinuxPlatform.h"
#include "support/NetLab.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <memory>

namespace {

IPv4Address Address(const char* text) { return IPv4Address(::inet_addr(text)); }

class AddressLockTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!NetLab::RunningAsRoot()) GTEST_SKIP() << "needs root: creates network namespaces";
        ASSERT_TRUE(lab.Up());
    }

    NetLab lab{"lk"};
    LinuxPlatform platform;
};

TEST_F(AddressLockTest, OneHolderPerAddressUntilItLetsGo) {
    NetLab::Entered in(lab.HostNamespace());
    ASSERT_TRUE(in.Ok());
    std::unique_ptr<AddressLock> first = platform.LockAddress(Address("10.213.7.50"));
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(platform.LockAddress(Address("10.213.7.50")), nullptr);
    EXPECT_NE(platform.LockAddress(Address("10.213.7.51")), nullptr);
    first.reset();
    EXPECT_NE(platform.LockAddress(Address("10.213.7.50")), nullptr);
}

TEST_F(AddressLockTest, TheScopeIsTheNetworkNamespace) {
    std::unique_ptr<AddressLock> host;
    {
        NetLab::Entered in(lab.HostNamespace());
        ASSERT_TRUE(in.Ok());
        host = platform.LockAddress(Address("10.213.7.50"));
        ASSERT_NE(host, nullptr);
    }
    NetLab::Entered in(lab.DeviceNamespace());
    ASSERT_TRUE(in.Ok());
    EXPECT_NE(platform.LockAddress(Address("10.213.7.50")), nullptr);
}

TEST_F(AddressLockTest, TheKernelReleasesTheLockOfAProcessThatDied) {
    NetLab::Entered in(lab.HostNamespace());
    ASSERT_TRUE(in.Ok());
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // The child holds the lock and waits to be killed.
        std::unique_ptr<AddressLock> held = LinuxPlatform().LockAddress(Address("10.213.7.50"));
        const char state = held ? 'y' : 'n';
        (void)!::write(ready[1], &state, 1);
        ::pause();
        ::_exit(0);
    }
    ::close(ready[1]);
    char state = 0;
    ASSERT_EQ(::read(ready[0], &state, 1), 1);
    ::close(ready[0]);
    EXPECT_EQ(state, 'y');
    EXPECT_EQ(platform.LockAddress(Address("10.213.7.50")), nullptr);

    ::kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_NE(platform.LockAddress(Address("10.213.7.50")), nullptr);
}

}  // namespace
