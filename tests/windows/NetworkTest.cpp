#include "RecordingPlatform.h"
#include "platform/windows/Cancellable.h"
#include "platform/windows/WindowsApi.h"
#include "platform/windows/WindowsPlatform.h"
#include "net/Zorvel.h"
#include "support/Format.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <thread>

namespace {

const uint32_t kLoopback = htonl(INADDR_LOOPBACK);
const IPv4Address kDevice(htonl(0xC0A8005A));  // 192.168.0.90
const MacAddress kDeviceMac(MacAddress::Bytes{0x0A, 0x1B, 0x2C, 0x3D, 0x4E, 0x5F});

class WindowsNetwork : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(WindowsPlatform().StartSockets()); }
    WindowsPlatform platform;
};

TEST_F(WindowsNetwork, NamesTheHost) {
    char name[257];
    std::memset(name, 'x', sizeof name);
    ASSERT_TRUE(platform.GetHostName(name, sizeof name));
    EXPECT_GT(std::strlen(name), 0u);
}

TEST_F(WindowsNetwork, ConvertsDottedAddresses) {
    struct Case {
        const char* text;
        uint32_t address;  // network order
    };
    const Case cases[] = {
        {"192.168.0.90", htonl(0xC0A8005A)},
        {"127.0.0.1", kLoopback},
        {"10.0.0.256", INADDR_NONE},
        {"not an address", INADDR_NONE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(platform.InetAddr(c.text), c.address);
    }
}

TEST_F(WindowsNetwork, LooksUpLocalNamesAndNumbers) {
    EXPECT_EQ(platform.LookupHost("localhost"), std::optional<uint32_t>(kLoopback));
    EXPECT_EQ(platform.LookupHost("127.0.0.1"), std::optional<uint32_t>(kLoopback));
}

// Whether this host lets the process send ICMP echo at all: Wine needs
// root (or an allowed ping group) for it.
bool EchoPermitted() {
    HANDLE handle = ::IcmpCreateFile();
    if (handle == INVALID_HANDLE_VALUE) return false;
    char reply[sizeof(ICMP_ECHO_REPLY) + 64] = {};
    const DWORD replies = ::IcmpSendEcho(handle, kLoopback, nullptr, 0, nullptr, reply, sizeof reply, 2000);
    ::IcmpCloseHandle(handle);
    return replies > 0;
}

TEST_F(WindowsNetwork, EchoesToTheLoopbackAddress) {
    if (!EchoPermitted()) GTEST_SKIP() << "needs root: ICMP echo to 127.0.0.1 is not permitted here";
    // The payload sizes of the assignment's pings.
    const size_t sizes[] = {0, 408, 479};
    for (size_t size : sizes) {
        SCOPED_TRACE(size);
        EXPECT_TRUE(platform.SendEcho(kLoopback, size, 2000, nullptr));
    }
}

TEST_F(WindowsNetwork, LaunchesTheSystemsArp) {
    // Only the display form, which changes nothing.
    EXPECT_TRUE(platform.LaunchArp("-a"));
}

TEST(WindowsProbes, PingTheLoopbackAddress) {
    if (!EchoPermitted()) GTEST_SKIP() << "needs root: ICMP echo to 127.0.0.1 is not permitted here";
    ScopedRecordingPlatform platform;
    EXPECT_TRUE(Zorvel::Ping("127.0.0.1", 2000, 408));
    EXPECT_EQ(platform->DebugStrings(), (std::vector<std::string>{
                                            "QRM:D:Zorvel::Ping - Ping '127.0.0.1', timeout 2000, size 408\n",
                                            "QRM:D:Zorvel::Ping - Ping '127.0.0.1' - result 1\n",
                                        }));
}

TEST(WindowsProbes, LogAnArpThatCannotBeLaunched) {
    struct Case {
        const char* name;
        std::function<void()> probe;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"add", [] { EXPECT_FALSE(Zorvel::ArpAdd(kDevice, kDeviceMac)); },
         {"QRM:D:Zorvel::ArpAdd - Arp add ip: '192.168.0.90' for eth '0A-1B-2C-3D-4E-5F'.\n",
          "QRM:E:Zorvel::ArpAdd - arp failed\n"}},
        {"delete", [] { Zorvel::ArpDel(kDevice); },
         {"QRM:D:Zorvel::ArpDel - Arp delete ip: '192.168.0.90' \n",
          "QRM:E:Zorvel::ArpDel - Zorvel::ArpDel - arp failed\n"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // A program that does not exist: the shell cannot launch it.
        ScopedRecordingPlatform platform(FormatText("addrix-missing-arp-%lu", ::GetCurrentProcessId()));
        c.probe();
        EXPECT_EQ(platform->DebugStrings(), c.lines);
    }
}

TEST(WindowsCancel, AnEventWakesItsWaiterAndStaysFired) {
    WindowsPlatform platform;
    std::unique_ptr<CancelEvent> cancel = platform.CreateCancelEvent();
    ASSERT_NE(cancel, nullptr);
    EXPECT_FALSE(cancel->IsFired());
    EXPECT_FALSE(cancel->WaitFor(10));
    std::thread firing([&] { cancel->Fire(); });
    EXPECT_TRUE(cancel->WaitFor(20000));
    firing.join();
    EXPECT_TRUE(cancel->IsFired());
    EXPECT_TRUE(cancel->WaitFor(0));
}

// A blocking call, such as an echo waiting out its time-out, is left
// behind when the cancel event fires, and finishes by itself later.
TEST(WindowsCancel, LeavesABlockingCallBehind) {
    WindowsPlatform platform;
    std::unique_ptr<CancelEvent> cancel = platform.CreateCancelEvent();
    ASSERT_NE(cancel, nullptr);
    HANDLE release = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE finished = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::thread firing([&] {
        ::Sleep(50);
        cancel->Fire();
    });
    const std::optional<bool> result = RunCancellable<bool>(
        [release, finished] {
            ::WaitForSingleObject(release, 20000);
            ::SetEvent(finished);
            return true;
        },
        cancel.get());
    firing.join();
    EXPECT_FALSE(result.has_value());
    EXPECT_EQ(::WaitForSingleObject(finished, 0), static_cast<DWORD>(WAIT_TIMEOUT));
    ::SetEvent(release);
    EXPECT_EQ(::WaitForSingleObject(finished, 20000), static_cast<DWORD>(WAIT_OBJECT_0));
    ::CloseHandle(release);
    ::CloseHandle(finished);
}

TEST(WindowsCancel, ACallThatEndsFirstGivesItsResult) {
    WindowsPlatform platform;
    std::unique_ptr<CancelEvent> cancel = platform.CreateCancelEvent();
    ASSERT_NE(cancel, nullptr);
    EXPECT_EQ(RunCancellable<bool>([] { return true; }, cancel.get()), std::optional<bool>(true));
    EXPECT_EQ(RunCancellable<bool>([] { return true; }, nullptr), std::optional<bool>(true));
    cancel->Fire();
    EXPECT_EQ(RunCancellable<bool>([] { return true; }, cancel.get()), std::nullopt);
}

TEST(WindowsAddressLock, OneHolderPerAddressUntilReleased) {
    WindowsPlatform platform;
    const IPv4Address address(htonl(0x0AD5073C));  // 10.213.7.60
    std::unique_ptr<AddressLock> first = platform.LockAddress(address);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(platform.LockAddress(address), nullptr);
    EXPECT_NE(platform.LockAddress(IPv4Address(htonl(0x0AD5073D))), nullptr);
    first.reset();
    EXPECT_NE(platform.LockAddress(address), nullptr);
}

TEST(WindowsNeighbours, TheArpCommandKeepsNoTags) { EXPECT_TRUE(WindowsPlatform().ListOwnNeighbours().empty()); }

}  // namespace
