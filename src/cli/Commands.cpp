#include "cli/Commands.h"

#include "cli/AddressField.h"
#include "cli/Assignment.h"
#include "net/AddressRules.h"
#include "net/HomePage.h"
#include "net/NetUtil.h"
#include "net/NetworkRightsWarning.h"
#include "platform/Platform.h"
#include "platform/SignalWatcher.h"
#include "support/Log.h"
#include "support/Macros.h"
#include "support/StringIds.h"

#include <chrono>
#include <memory>

namespace AddrixCli {
namespace {

// A message the dialog shows by id, as stored (no macros).
std::string StoredText(unsigned id) { return Platform::Current().LoadStringResource(id); }

std::string AddressMessage(unsigned id, const std::string& address) {
    return LoadTextWithMacros(id, "IPADDRESS=%s", address.c_str());
}

std::string AddressAndSerialMessage(unsigned id, const std::string& address, const std::string& serialNumber) {
    return LoadTextWithMacros(id, "IPADDRESS=%s;SERIALNBR=%s", address.c_str(), serialNumber.c_str());
}

// Without these rights every echo goes unanswered and no entry is added:
// the job would wait out its time for nothing.
bool HasNetworkRights(const CommandLine& line, bool needsNeighbours, std::ostream& err) {
    const std::string warning =
        NetworkRightsWarning(Platform::Current().GetNetworkRights(), needsNeighbours, line.program);
    if (warning.empty()) return true;
    err << warning << "\n";
    return false;
}

}  // namespace

CheckedInput CheckSetInput(const std::string& typedSerialNumber, const std::string& typedAddress) {
    CheckedInput input;
    input.serialNumber = SerialNumberFieldText(typedSerialNumber);
    if (!IsValidSerialNumber(input.serialNumber.c_str())) {
        input.refusal = StoredText(kIdsInvalidSerialNumber);
        return input;
    }
    std::optional<std::string> address = AddressFieldText(typedAddress);
    if (!address) {
        input.refusal = StoredText(kIdsInvalidAddress);
        return input;
    }
    input.address = *address;
    // The dialog's last address field only takes 1 to 254.
    const AddressVerdict verdict = IsInLastFieldRange(input.address) ? CheckSelectedAddress(input.address.c_str())
                                                                     : AddressVerdict::NotValid;
    if (verdict == AddressVerdict::NotValid) input.refusal = AddressMessage(kIdsAddressNotValid, input.address);
    if (verdict == AddressVerdict::NotReachable)
        input.refusal = AddressMessage(kIdsAddressNotOnLocalSubnet, input.address);
    return input;
}

int Set(const CommandLine& line, std::ostream& out, std::ostream& err) {
    LogScope log("AddrixCli::Set");
    CheckedInput input = CheckSetInput(line.serialNumber, line.address);
    if (input.refusal) {
        log.Trace("Format error in data fields");
        err << *input.refusal << "\n";
        return kExitInvalidInput;
    }
    if (!HasNetworkRights(line, true, err)) return kExitToolFailure;
    const std::string& serial = input.serialNumber;
    const std::string& address = input.address;
    log.Trace("Set device '%s' to ip address '%s'", serial.c_str(), address.c_str());

    // The watcher comes first: the job's worker must inherit the blocked signals.
    Assignment assignment;
    SignalWatcher signals([&assignment](int signal) { assignment.Interrupt(signal); });
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(line.timeoutSeconds);
    assignment.Start(serial, address);

    const Assignment::Ending ending = assignment.Wait(deadline);
    if (ending == Assignment::Ending::Interrupted) log.Trace("Canceling");
    // The outcome is told only once the job is over and its entry removed:
    // nothing the reader of the output does can leave the entry behind.
    const bool finished = assignment.Finish();
    int status = kExitDone;
    switch (ending) {
        case Assignment::Ending::Success:
            log.Trace("Device '%s' was set to '%s'", serial.c_str(), address.c_str());
            out << AddressAndSerialMessage(kIdsAssignSucceeded, address, serial) << std::endl;
            break;
        case Assignment::Ending::InUse:
            log.Trace("Failed to set device '%s' to '%s', address in use", serial.c_str(), address.c_str());
            out << AddressMessage(kIdsAddressInUse, address) << std::endl;
            status = kExitAddressInUse;
            break;
        case Assignment::Ending::AddressHeld:
            log.Trace("Failed to set device '%s' to '%s', address held by another run", serial.c_str(),
                      address.c_str());
            out << AddressMessage(kIdsAddressHeld, address) << std::endl;
            status = kExitAddressHeld;
            break;
        case Assignment::Ending::Failed:
            log.Trace("Failed to set device '%s' to '%s'", serial.c_str(), address.c_str());
            out << AddressAndSerialMessage(kIdsNeighbourEntryFailed, address, serial) << std::endl;
            status = kExitToolFailure;
            break;
        case Assignment::Ending::TimedOut:
            GlobalLogScope.Trace("Failed to set device '%s' to '%s', timout", serial.c_str(), address.c_str());
            out << AddressAndSerialMessage(kIdsAssignFailed, address, serial) << std::endl;
            status = kExitTimedOut;
            break;
        case Assignment::Ending::Interrupted:
            status = kExitSignalBase + assignment.InterruptingSignal();
            break;
    }
    if (!finished) {
        log.Error("The job did not stop within %u ms; the neighbour entry for '%s' may remain",
                  static_cast<unsigned>(Assignment::kStopWaitMs), address.c_str());
        status = kExitToolFailure;
    }
    return status;
}

int Home(const CommandLine& line, std::ostream& out, std::ostream& err) {
    LogScope log("AddrixCli::Home");
    std::optional<std::string> address = AddressFieldText(line.address);
    if (!address) {
        err << StoredText(kIdsInvalidAddress) << "\n";
        return kExitInvalidInput;
    }
    // An address no device can have (0.0.0.0, a broadcast, a number out of
    // range) is refused as the dialog's address check refuses it.
    if (!IsInLastFieldRange(*address) || !IsValidIpAddress(address->c_str())) {
        err << AddressMessage(kIdsAddressNotValid, *address) << "\n";
        return kExitInvalidInput;
    }
    if (!HasNetworkRights(line, false, err)) return kExitToolFailure;

    if (!DeviceAnswersForHomePage(address->c_str())) {
        log.Trace("No contact with address '%s'", address->c_str());
        out << AddressMessage(kIdsNoDeviceAtAddress, *address) << std::endl;
        return kExitNoDevice;
    }
    log.Trace("'%s' exists", address->c_str());
    std::string url = "http://" + *address;
    log.Trace("Opening '%s'", url.c_str());
    out << url << std::endl;
    if (line.openBrowser && !Platform::Current().OpenUrl(url)) {
        log.Error("Could not launch web browser");
        err << StoredText(kIdsBrowserNotLaunched) << "\n";
        return kExitToolFailure;
    }
    return kExitDone;
}

int Clean(const CommandLine& line, std::ostream& out, std::ostream& err) {
    LogScope log("AddrixCli::Clean");
    Platform& platform = Platform::Current();
    // Only the neighbour table is changed: no echo is sent.
    if (!platform.GetNetworkRights().canChangeNeighbours) {
        err << NetworkRightsWarning(NetworkRights{true, false}, true, line.program) << "\n";
        return kExitToolFailure;
    }
    int status = kExitDone;
    for (const OwnNeighbourEntry& entry : platform.ListOwnNeighbours()) {
        const std::string address = entry.address.ToText();
        const std::string mac = entry.mac.ToText();
        // A run holds its address's lock for its whole life, and the kernel
        // frees it when the run dies: a lock that can be taken means that
        // no run owns the entry. Held while the entry goes, so that no run
        // can start on the address meanwhile.
        std::unique_ptr<AddressLock> lock = platform.LockAddress(entry.address);
        if (!lock) {
            log.Trace("Keeping entry '%s' for '%s' on '%s', its run is alive", address.c_str(), mac.c_str(),
                      entry.interfaceName.c_str());
            continue;
        }
        log.Trace("Removing orphaned entry '%s' for '%s' on '%s'", address.c_str(), mac.c_str(),
                  entry.interfaceName.c_str());
        if (!platform.RemoveNeighbour(entry.address)) {
            log.Error("Could not remove the entry '%s' for '%s' on '%s'", address.c_str(), mac.c_str(),
                      entry.interfaceName.c_str());
            err << "addrix-cli: could not remove " << address << " lladdr " << mac << " dev " << entry.interfaceName
                << "\n";
            status = kExitToolFailure;
            continue;
        }
        out << "removed " << address << " lladdr " << mac << " dev " << entry.interfaceName << std::endl;
    }
    return status;
}

}  // namespace AddrixCli
