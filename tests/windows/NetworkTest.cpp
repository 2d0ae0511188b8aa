#include "RecordingPlatform.h"
#include "platform/windows/WindowsApi.h"
#include "platform/windows/WindowsPlatform.h"
#include "net/Zorvel.h"
#include "support/Format.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

namespace {

const uint32_t kLoopback = htonl(INADDR_LOOPBACK);

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
        EXPECT_TRUE(platform.SendEcho(kLoopback, size, 2000));
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
        {"add", [] { Zorvel::ArpAdd("192.168.0.90", "0A-1B-2C-3D-4E-5F"); },
         {"QRM:D:Zorvel::ArpAdd - Arp add ip: '192.168.0.90' for eth '0A-1B-2C-3D-4E-5F'.\n",
          "QRM:E:Zorvel::ArpAdd - arp failed\n"}},
        {"delete", [] { Zorvel::ArpDel("192.168.0.90"); },
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

}  // namespace
