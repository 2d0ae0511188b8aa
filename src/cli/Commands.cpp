#include "cli/Commands.h"

#include "cli/AddressField.h"
#include "cli/Assignment.h"
#include "cli/BatchOutput.h"
#include "cli/BatchRun.h"
#include "cli/DeviceList.h"
#include "cli/JsonOutput.h"
#include "cli/Outcome.h"
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
#include <fstream>
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
    const auto started = std::chrono::steady_clock::now();
    assignment.Start(serial, address, line.intervalMs);

    const Assignment::Ending ending = assignment.Wait(started + std::chrono::seconds(line.timeoutSeconds));
    if (ending == Assignment::Ending::Interrupted) log.Trace("Canceling");
    // The outcome is told only once the job is over and its entry removed:
    // nothing the reader of the output does can leave the entry behind.
    const bool finished = assignment.Finish();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    Outcome outcome = Outcome::Assigned;
    std::string message;
    switch (ending) {
        case Assignment::Ending::Success:
            log.Trace("Device '%s' was set to '%s'", serial.c_str(), address.c_str());
            message = AddressAndSerialMessage(kIdsAssignSucceeded, address, serial);
            break;
        case Assignment::Ending::InUse:
            log.Trace("Failed to set device '%s' to '%s', address in use", serial.c_str(), address.c_str());
            message = AddressMessage(kIdsAddressInUse, address);
            outcome = Outcome::InUse;
            break;
        case Assignment::Ending::AddressHeld:
            log.Trace("Failed to set device '%s' to '%s', address held by another run", serial.c_str(),
                      address.c_str());
            message = AddressMessage(kIdsAddressHeld, address);
            outcome = Outcome::AddressHeld;
            break;
        case Assignment::Ending::Failed:
            log.Trace("Failed to set device '%s' to '%s'", serial.c_str(), address.c_str());
            message = AddressAndSerialMessage(kIdsNeighbourEntryFailed, address, serial);
            outcome = Outcome::Failed;
            break;
        case Assignment::Ending::TimedOut:
            GlobalLogScope.Trace("Failed to set device '%s' to '%s', timout", serial.c_str(), address.c_str());
            message = AddressAndSerialMessage(kIdsAssignFailed, address, serial);
            outcome = Outcome::TimedOut;
            break;
        case Assignment::Ending::Interrupted:
            outcome = Outcome::Cancelled;
            break;
    }
    int status = ExitStatusFor(outcome, assignment.InterruptingSignal());
    if (!finished) {
        log.Error("The job did not stop within %u ms; the neighbour entry for '%s' may remain",
                  static_cast<unsigned>(Assignment::kStopWaitMs), address.c_str());
        status = kExitToolFailure;
    }
    if (line.json) {
        out << DeviceJson({serial, address, outcome, status, seconds, std::nullopt, std::nullopt}) << std::endl;
    } else if (!message.empty()) {
        out << message << std::endl;
    }
    return status;
}

namespace {

// The device list, or its errors written to `err`.
std::optional<std::vector<DeviceListRow>> ReadCheckedList(const CommandLine& line, std::istream& in, std::ostream& err) {
    std::ifstream file;
    if (line.listFile != "-") {
        file.open(line.listFile);
        if (!file) {
            err << "addrix-cli: cannot read " << line.listFile << "\n";
            return std::nullopt;
        }
    }
    DeviceList list = ReadDeviceList(line.listFile == "-" ? in : file);
    const std::string name = line.listFile == "-" ? "standard input" : line.listFile;
    for (const DeviceListError& error : list.errors) {
        err << name;
        if (error.line != 0) err << ":" << error.line;
        err << ": " << error.message << "\n";
    }
    if (!list.errors.empty()) return std::nullopt;
    return std::move(list.rows);
}

}  // namespace

int Batch(const CommandLine& line, std::istream& in, std::ostream& out, std::ostream& err, bool outIsTerminal) {
    LogScope log("AddrixCli::Batch");
    std::optional<std::vector<DeviceListRow>> rows = ReadCheckedList(line, in, err);
    if (!rows) return kExitInvalidInput;
    // The report's file is opened before anything starts: a wrong path
    // stops the batch while nothing has been done yet.
    std::ofstream report;
    if (!line.reportFile.empty()) {
        report.open(line.reportFile);
        if (!report) {
            err << "addrix-cli: cannot write " << line.reportFile << "\n";
            return kExitInvalidInput;
        }
    }
    if (!HasNetworkRights(line, true, err)) return kExitToolFailure;
    log.Trace("%zu devices, %u at once", rows->size(), line.parallel);

    BatchRun run(std::move(*rows), {line.parallel, std::chrono::seconds(line.timeoutSeconds), line.intervalMs});
    // The watcher comes first: the jobs' workers must inherit the blocked signals.
    SignalWatcher signals([&run](int signal) { run.Interrupt(signal); });
    const ProgressStyle style = line.json ? ProgressStyle::Json
                                : outIsTerminal ? ProgressStyle::Terminal
                                                : ProgressStyle::Lines;
    std::unique_ptr<BatchProgress> progress = MakeProgress(style, out, [&run] { return run.InterruptingSignal(); });
    bool allStopped = true;
    const std::vector<DeviceState> devices = run.Run(*progress, allStopped);
    const int signal = run.InterruptingSignal();
    if (!allStopped) log.Error("A job did not stop within %u ms; its neighbour entry may remain",
                               static_cast<unsigned>(Assignment::kStopWaitMs));

    if (!line.json) WriteSummary(out, devices);
    if (report.is_open()) WriteReport(report, devices, signal);
    int status = kExitDone;
    for (const DeviceState& device : devices)
        status = MoreSerious(status, ExitStatusFor(device.outcome.value_or(Outcome::Failed), signal));
    if (report.is_open() && !report) {
        err << "addrix-cli: could not write " << line.reportFile << "\n";
        status = MoreSerious(status, kExitToolFailure);
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
        if (line.json) {
            out << HomeJson(*address, false, kExitNoDevice) << std::endl;
        } else {
            out << AddressMessage(kIdsNoDeviceAtAddress, *address) << std::endl;
        }
        return kExitNoDevice;
    }
    log.Trace("'%s' exists", address->c_str());
    std::string url = "http://" + *address;
    log.Trace("Opening '%s'", url.c_str());
    if (!line.json) out << url << std::endl;
    int status = kExitDone;
    if (line.openBrowser && !Platform::Current().OpenUrl(url)) {
        log.Error("Could not launch web browser");
        err << StoredText(kIdsBrowserNotLaunched) << "\n";
        status = kExitToolFailure;
    }
    if (line.json) out << HomeJson(*address, true, status) << std::endl;
    return status;
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
