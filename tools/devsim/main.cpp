// devsim: emulates network devices that wait for their first IPv4 address,
// so that the whole assignment can run against a real network stack.
#include "Emulator.h"
#include "EventLog.h"
#include "Options.h"
#include "PacketSocket.h"

#include <poll.h>

#include <algorithm>
#include <chrono>
#include <cstdio>

int main(int argc, char** argv) {
    ParsedOptions parsed = ParseOptions(argc, argv);
    if (parsed.helpRequested) {
        std::fputs(UsageText(), stdout);
        return 0;
    }
    if (!parsed.options) {
        std::fprintf(stderr, "devsim: %s\n\n%s", parsed.error.c_str(), UsageText());
        return 2;
    }
    const EmulatorOptions& options = *parsed.options;

    PacketSocket socket(options.interface);
    if (!socket.Error().empty()) {
        std::fprintf(stderr, "devsim: %s\n", socket.Error().c_str());
        return 1;
    }

    using Clock = Emulator::Clock;
    Clock::time_point start = Clock::now();
    Clock::time_point end =
        start + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(options.durationSeconds));
    EventLog events(stdout);
    // Tells a reader that frames are seen from now on.
    events.Write({"started", "", "", {}, {}, {}}, start);
    Emulator emulator(options, start, events, [&socket](std::span<const uint8_t> frame) { return socket.Send(frame); });

    std::vector<uint8_t> frame;
    for (Clock::time_point now = start; now < end; now = Clock::now()) {
        emulator.Advance(now);
        Clock::time_point wake = std::min(end, emulator.NextWake().value_or(end));
        auto wait = std::chrono::ceil<std::chrono::milliseconds>(wake - now).count();
        pollfd readable{socket.Descriptor(), POLLIN, 0};
        if (::poll(&readable, 1, static_cast<int>(std::max<decltype(wait)>(wait, 0))) > 0) {
            while (socket.ReceiveFrame(frame)) emulator.Receive(frame, Clock::now());
        }
    }
    return 0;
}
