#include "EventLog.h"

void EventLog::Write(const Event& event, std::chrono::steady_clock::time_point time) {
    double seconds = std::chrono::duration<double>(time.time_since_epoch()).count();
    std::string line = "{\"time\":" + std::to_string(seconds) + ",\"event\":\"" + event.name + "\"";
    if (!event.device.empty()) line += ",\"device\":\"" + event.device + "\"";
    if (!event.kind.empty()) line += ",\"kind\":\"" + event.kind + "\"";
    if (event.address) line += ",\"ip\":\"" + FormatIpv4(*event.address) + "\"";
    if (event.size) line += ",\"size\":" + std::to_string(*event.size);
    if (event.sequence) line += ",\"seq\":" + std::to_string(*event.sequence);
    line += "}\n";
    std::fputs(line.c_str(), stream_);
    std::fflush(stream_);
}
