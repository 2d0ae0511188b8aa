#include "cli/BatchOutput.h"

#include "cli/JsonOutput.h"
#include "support/Format.h"

#include <map>

namespace {

std::string StageWords(const DeviceState& device) {
    switch (device.stage) {
        case DeviceState::Stage::Queued: return "queued";
        case DeviceState::Stage::Checking: return "checking";
        case DeviceState::Stage::WaitingForDevice: return "waiting for restart";
        case DeviceState::Stage::Done: return OutcomeWords(device.outcome.value_or(Outcome::Failed));
    }
    return "";
}

// "line 12  02C0A7000001  10.213.7.50      camera 4         waiting for restart    35.2 s"
std::string DeviceLine(const DeviceState& device, BatchClock::time_point now) {
    const DeviceListRow& row = device.row;
    std::string text = FormatText("line %-4u %s  %-15s %-16s %-21s", row.line, row.serialNumber.c_str(),
                                  row.address.c_str(), row.label.c_str(), StageWords(device).c_str());
    if (device.stage != DeviceState::Stage::Queued) text += FormatText(" %7.1f s", device.Seconds(now));
    return text;
}

// "50 devices: 45 assigned, 2 in use, 1 time-out, 2 running"
std::string Totals(const std::vector<DeviceState>& devices) {
    std::map<std::string, size_t> counts;
    std::vector<std::string> order;
    for (const DeviceState& device : devices) {
        std::string words = device.stage == DeviceState::Stage::Done ? StageWords(device)
                            : device.stage == DeviceState::Stage::Queued ? "queued"
                                                                          : "running";
        if (counts[words]++ == 0) order.push_back(words);
    }
    std::string text = std::to_string(devices.size()) + (devices.size() == 1 ? " device:" : " devices:");
    for (size_t i = 0; i < order.size(); ++i) text += (i ? ", " : " ") + std::to_string(counts[order[i]]) + " " + order[i];
    return text;
}

class TerminalProgress final : public BatchProgress {
public:
    explicit TerminalProgress(std::ostream& out) : out_(out) {}

    void Update(const std::vector<DeviceState>& devices, const std::vector<size_t>& changed,
                BatchClock::time_point now) override {
        // Back to the top of the redrawn area, then finished devices become
        // lines of their own above it.
        if (drawn_ > 0) out_ << "\x1b[" << drawn_ << "F";
        for (size_t index : changed)
            if (devices[index].stage == DeviceState::Stage::Done)
                out_ << "\x1b[2K" << DeviceLine(devices[index], now) << "\n";
        drawn_ = 0;
        size_t running = 0;
        size_t queued = 0;
        for (const DeviceState& device : devices) {
            if (device.stage == DeviceState::Stage::Queued) ++queued;
            if (device.stage != DeviceState::Stage::Checking && device.stage != DeviceState::Stage::WaitingForDevice)
                continue;
            if (++running > kMaxRunningLines) continue;
            out_ << "\x1b[2K" << DeviceLine(device, now) << "\n";
            ++drawn_;
        }
        if (running > kMaxRunningLines) {
            out_ << "\x1b[2K... and " << running - kMaxRunningLines << " more running\n";
            ++drawn_;
        }
        if (running + queued > 0) {
            out_ << "\x1b[2K" << Totals(devices) << "\n";
            ++drawn_;
        }
        // Whatever the last drawing left below goes.
        out_ << "\x1b[J" << std::flush;
    }

private:
    // Enough for a terminal of ordinary height.
    static constexpr size_t kMaxRunningLines = 20;
    std::ostream& out_;
    size_t drawn_ = 0;
};

class LineProgress final : public BatchProgress {
public:
    explicit LineProgress(std::ostream& out) : out_(out) {}

    void Update(const std::vector<DeviceState>& devices, const std::vector<size_t>& changed,
                BatchClock::time_point now) override {
        for (size_t index : changed) out_ << DeviceLine(devices[index], now) << "\n";
        if (!changed.empty()) out_ << std::flush;
    }

private:
    std::ostream& out_;
};

class JsonProgress final : public BatchProgress {
public:
    JsonProgress(std::ostream& out, std::function<int()> stopSignal) : out_(out), stopSignal_(std::move(stopSignal)) {}

    void Update(const std::vector<DeviceState>& devices, const std::vector<size_t>& changed,
                BatchClock::time_point now) override {
        for (size_t index : changed) {
            const DeviceState& device = devices[index];
            if (device.stage != DeviceState::Stage::Done) continue;
            const Outcome outcome = device.outcome.value_or(Outcome::Failed);
            DeviceRecord record{device.row.serialNumber, device.row.address, outcome, ExitStatusFor(outcome, stopSignal_()),
                                device.Seconds(now), device.row.line, device.row.label};
            out_ << DeviceJson(record) << std::endl;
        }
    }

private:
    std::ostream& out_;
    std::function<int()> stopSignal_;
};

// A CSV field, quoted when it has to be.
std::string CsvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string quoted = "\"";
    for (char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

}  // namespace

std::unique_ptr<BatchProgress> MakeProgress(ProgressStyle style, std::ostream& out, std::function<int()> stopSignal) {
    switch (style) {
        case ProgressStyle::Terminal: return std::make_unique<TerminalProgress>(out);
        case ProgressStyle::Lines: return std::make_unique<LineProgress>(out);
        case ProgressStyle::Json: return std::make_unique<JsonProgress>(out, std::move(stopSignal));
    }
    return nullptr;
}

void WriteSummary(std::ostream& out, const std::vector<DeviceState>& devices) {
    out << "\n" << FormatText("%-9s %-12s  %-15s %-16s %-21s %9s", "line", "serial", "address", "label", "outcome",
                              "time")
        << "\n";
    for (const DeviceState& device : devices) out << DeviceLine(device, device.ended) << "\n";
    out << Totals(devices) << std::endl;
}

void WriteReport(std::ostream& out, const std::vector<DeviceState>& devices, int signal) {
    out << "line,serial,address,label,outcome,seconds,exit\n";
    for (const DeviceState& device : devices) {
        const Outcome outcome = device.outcome.value_or(Outcome::Failed);
        out << device.row.line << "," << device.row.serialNumber << "," << device.row.address << ","
            << CsvField(device.row.label) << "," << OutcomeName(outcome) << ","
            << FormatText("%.3f", device.Seconds(device.ended)) << "," << ExitStatusFor(outcome, signal) << "\n";
    }
    out.flush();
}
