#include "assign/SetIPNotifier.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// One delivery as a listener saw it.
struct Delivery {
    std::string listener;
    SetIPEvent event;
    uintptr_t context;
    bool operator==(const Delivery&) const = default;
};

void PrintTo(const Delivery& delivery, std::ostream* out) {
    *out << "{" << delivery.listener << ", " << static_cast<int>(delivery.event) << ", " << delivery.context << "}";
}

// Writes each delivery into a journal shared by the listeners of a test.
class JournalListener : public SetIPListener {
public:
    JournalListener(std::string name, std::vector<Delivery>& journal, bool claims = false)
        : name_(std::move(name)), journal_(journal), claims_(claims) {}

    bool OnEvent(SetIPEvent event, uintptr_t context) override {
        journal_.push_back({name_, event, context});
        return claims_;
    }

private:
    std::string name_;
    std::vector<Delivery>& journal_;
    bool claims_;
};

class SetIPNotifierTest : public ::testing::Test {
protected:
    std::vector<Delivery> journal;
    JournalListener a{"a", journal};
    JournalListener b{"b", journal};
    JournalListener claimer{"claimer", journal, true};
    SetIPNotifier notifier;
};

TEST_F(SetIPNotifierTest, NoRegistrationsDeliverNothing) {
    EXPECT_FALSE(notifier.NotifyListeners(SetIPEvent::Success));
    EXPECT_TRUE(journal.empty());
}

TEST_F(SetIPNotifierTest, DeliversInRegistrationOrderWithEachContext) {
    notifier.AddListener(&b, 2);
    notifier.AddListener(&a, 1);
    notifier.AddListener(&b, 3);

    EXPECT_FALSE(notifier.NotifyListeners(SetIPEvent::InUse));
    EXPECT_EQ(journal, (std::vector<Delivery>{
                           {"b", SetIPEvent::InUse, 2}, {"a", SetIPEvent::InUse, 1}, {"b", SetIPEvent::InUse, 3}}));
}

TEST_F(SetIPNotifierTest, RemoveListenerDropsOnlyTheFirstRegistrationOfThatListener) {
    notifier.AddListener(&b, 1);
    notifier.AddListener(&a, 2);
    notifier.AddListener(&b, 3);

    notifier.RemoveListener(&b);
    notifier.NotifyListeners(SetIPEvent::Success);
    EXPECT_EQ(journal, (std::vector<Delivery>{{"a", SetIPEvent::Success, 2}, {"b", SetIPEvent::Success, 3}}));

    journal.clear();
    notifier.RemoveListener(&b);
    notifier.RemoveListener(&b);
    notifier.RemoveListener(&claimer);
    notifier.NotifyListeners(SetIPEvent::Success);
    EXPECT_EQ(journal, (std::vector<Delivery>{{"a", SetIPEvent::Success, 2}}));
}

TEST_F(SetIPNotifierTest, AListenerThatClaimsTheEventStopsTheDelivery) {
    notifier.AddListener(&a, 1);
    notifier.AddListener(&claimer, 2);
    notifier.AddListener(&b, 3);

    EXPECT_TRUE(notifier.NotifyListeners(SetIPEvent::Success));
    EXPECT_EQ(journal, (std::vector<Delivery>{{"a", SetIPEvent::Success, 1}, {"claimer", SetIPEvent::Success, 2}}));
}

// Drops its own registration when it hears the event.
class LeavingListener : public SetIPListener {
public:
    LeavingListener(SetIPNotifier& notifier, std::vector<Delivery>& journal) : notifier_(notifier), journal_(journal) {}

    bool OnEvent(SetIPEvent event, uintptr_t context) override {
        journal_.push_back({"leaving", event, context});
        notifier_.RemoveListener(this);
        return false;
    }

private:
    SetIPNotifier& notifier_;
    std::vector<Delivery>& journal_;
};

TEST_F(SetIPNotifierTest, AListenerMayLeaveDuringTheDelivery) {
    LeavingListener leaving(notifier, journal);
    notifier.AddListener(&leaving, 1);
    notifier.AddListener(&a, 2);

    EXPECT_FALSE(notifier.NotifyListeners(SetIPEvent::InUse));
    EXPECT_FALSE(notifier.NotifyListeners(SetIPEvent::Success));
    EXPECT_EQ(journal, (std::vector<Delivery>{{"leaving", SetIPEvent::InUse, 1},
                                              {"a", SetIPEvent::InUse, 2},
                                              {"a", SetIPEvent::Success, 2}}));
}

}  // namespace
