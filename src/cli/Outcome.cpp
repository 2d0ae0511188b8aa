#include "cli/Outcome.h"

#include "cli/Commands.h"

#include <algorithm>
#include <iterator>

const char* OutcomeName(Outcome outcome) {
    switch (outcome) {
        case Outcome::Assigned: return "assigned";
        case Outcome::InUse: return "in_use";
        case Outcome::TimedOut: return "timed_out";
        case Outcome::Failed: return "failed";
        case Outcome::AddressHeld: return "address_held";
        case Outcome::Cancelled: return "cancelled";
        case Outcome::NotStarted: return "not_started";
    }
    return "failed";
}

const char* OutcomeWords(Outcome outcome) {
    switch (outcome) {
        case Outcome::Assigned: return "assigned";
        case Outcome::InUse: return "in use";
        case Outcome::TimedOut: return "time-out";
        case Outcome::Failed: return "failed";
        case Outcome::AddressHeld: return "held by another run";
        case Outcome::Cancelled: return "cancelled";
        case Outcome::NotStarted: return "not started";
    }
    return "failed";
}

int ExitStatusFor(Outcome outcome, int signal) {
    using namespace AddrixCli;
    switch (outcome) {
        case Outcome::Assigned: return kExitDone;
        case Outcome::InUse: return kExitAddressInUse;
        case Outcome::TimedOut: return kExitTimedOut;
        case Outcome::Failed: return kExitToolFailure;
        case Outcome::AddressHeld: return kExitAddressHeld;
        case Outcome::Cancelled:
        case Outcome::NotStarted: return kExitSignalBase + signal;
    }
    return kExitToolFailure;
}

int MoreSerious(int status, int other) {
    using namespace AddrixCli;
    // Least serious first; any signal status ranks above them all.
    constexpr int kOrder[] = {kExitDone, kExitTimedOut, kExitAddressHeld, kExitAddressInUse, kExitToolFailure};
    auto rank = [&kOrder](int value) -> long {
        if (value >= kExitSignalBase) return std::size(kOrder) + value;
        auto at = std::find(std::begin(kOrder), std::end(kOrder), value);
        return at - std::begin(kOrder);
    };
    return rank(other) > rank(status) ? other : status;
}
