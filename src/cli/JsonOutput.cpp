#include "cli/JsonOutput.h"

#include <nlohmann/json.hpp>

#include <cmath>

namespace {

// Milliseconds are enough for times a person or a script compares.
double Rounded(double value, double step) { return std::round(value / step) * step; }

}  // namespace

std::string DeviceJson(const DeviceRecord& record) {
    nlohmann::ordered_json object;
    if (record.line) object["line"] = *record.line;
    object["serial"] = record.serialNumber;
    object["address"] = record.address;
    if (record.label) object["label"] = *record.label;
    object["outcome"] = OutcomeName(record.outcome);
    object["exit"] = record.exitStatus;
    object["seconds"] = Rounded(record.seconds, 0.001);
    return object.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

std::string HomeJson(const std::string& address, bool found, int exitStatus) {
    nlohmann::ordered_json object;
    object["address"] = address;
    object["outcome"] = found ? "found" : "no_device";
    if (found) object["url"] = "http://" + address;
    object["exit"] = exitStatus;
    return object.dump();
}

std::string ScanJson(const ScanRecord& record) {
    nlohmann::ordered_json object;
    object["address"] = record.address;
    object["mac"] = record.mac;
    object["rtt_ms"] = Rounded(record.rttMs, 0.01);
    object["maker"] = record.maker;
    object["interface"] = record.interface;
    return object.dump();
}
