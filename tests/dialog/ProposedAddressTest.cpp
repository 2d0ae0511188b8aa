#include "DialogFixture.h"

#include <condition_variable>
#include <memory>
#include <mutex>

namespace {

AdapterList Adapters(std::vector<std::string> addresses) {
    AdapterList list;
    for (const std::string& address : addresses) list.adapters.push_back(Adapter{{{address, "255.255.255.0"}}});
    return list;
}

struct ProposalCase {
    const char* name;
    std::optional<const char*> localHost;  // what the host's own name resolves to
    AdapterList adapters;
    const char* proposed;
};

std::ostream& operator<<(std::ostream& out, const ProposalCase& c) { return out << c.name; }

class Proposal : public DialogFixture, public ::testing::WithParamInterface<ProposalCase> {};

TEST_P(Proposal, IsTheNetworkOfTheHostOrElseOfItsFirstAdapter) {
    platform->hosts.clear();
    if (GetParam().localHost) platform->hosts["fakehost"] = Platform::System().InetAddr(*GetParam().localHost);
    platform->adapters = GetParam().adapters;
    Open();
    EXPECT_EQ(view.AddressText(), GetParam().proposed);
}

INSTANTIATE_TEST_SUITE_P(
    Hosts, Proposal,
    ::testing::Values(
        ProposalCase{"HostOnTheNetwork", "192.168.5.23", Adapters({"10.213.7.1"}), "192.168.5.0"},
        ProposalCase{"LoopbackHost", "127.0.1.1", Adapters({"10.213.7.1"}), "10.213.7.0"},
        ProposalCase{"UnresolvedHost", std::nullopt, Adapters({"0.0.0.0", "127.0.0.1", "10.213.7.1"}), "10.213.7.0"},
        ProposalCase{"NothingToGoBy", std::nullopt, AdapterList{AdapterList::Status::NoAdapter, {}},
                     "255.255.255.0"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DialogFixture, ASlowNameServerNeverHoldsTheDialogBack) {
    // The name server answers only once the dialog is open (or after 3 s).
    // Its state is shared: the lookup's thread may outlive this test.
    struct NameServer {
        std::mutex mutex;
        std::condition_variable released;
        bool open = false;
    };
    auto server = std::make_shared<NameServer>();
    platform->onLookupHost = [server](const std::string&) -> std::optional<uint32_t> {
        std::unique_lock<std::mutex> lock(server->mutex);
        server->released.wait_for(lock, std::chrono::seconds(3), [&] { return server->open; });
        return Platform::System().InetAddr("192.168.77.5");
    };
    Open();
    {
        std::lock_guard<std::mutex> lock(server->mutex);
        server->open = true;
    }
    server->released.notify_all();
    EXPECT_EQ(view.AddressText(), "192.168.5.0");
}

}  // namespace
