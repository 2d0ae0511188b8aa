// What `addrix-cli batch` shows: its progress, on a terminal redrawn in place
// and otherwise as one event a line (or as JSON objects), the summary table
// at the end, and the CSV report.
#pragma once

#include "cli/BatchRun.h"

#include <functional>
#include <memory>
#include <ostream>

enum class ProgressStyle {
    Terminal,  // finished devices scroll by; the running ones are redrawn below them
    Lines,     // one plain line per event
    Json,      // one JSON object per finished device (see JsonOutput.h)
};
// `stopSignal` tells the signal that cancelled the batch (0: none), for the
// exit status of cancelled devices.
std::unique_ptr<BatchProgress> MakeProgress(ProgressStyle style, std::ostream& out, std::function<int()> stopSignal);

// One row per device and a line of totals.
void WriteSummary(std::ostream& out, const std::vector<DeviceState>& devices);

// line,serial,address,label,outcome,seconds,exit with a header line; the
// outcome as OutcomeName, `signal` for the status of cancelled devices.
void WriteReport(std::ostream& out, const std::vector<DeviceState>& devices, int signal);
