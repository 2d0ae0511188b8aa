// lab_bench: measures addrix-cli against devsim in a lab of two network
// namespaces (set up by scripts/bench) and prints one table.
//
//   lab_bench HOST_NS DEVICE_NS ADDRIX_CLI DEVSIM
#include "Child.h"

#include <signal.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <stdexcept>
#include <thread>
#include <string>
#include <vector>

namespace {

constexpr const char* kSerial = "02C0A7000001";
constexpr const char* kAddress = "10.213.7.50";
constexpr int kReactionRuns = 10;
// Each stop signal twice: SIGINT, SIGTERM, SIGHUP, SIGQUIT.
constexpr int kStopSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};
constexpr int kCancelRuns = 8;
constexpr int kIdleSeconds = 60;
constexpr int kUnreachableSeconds = 12;

struct Lab {
    std::string hostNamespace;
    std::string deviceNamespace;
    std::string cli;
    std::string devsim;
};

std::string NamespacePath(const std::string& name) { return "/run/netns/" + name; }

double Ms(Clock::duration duration) { return std::chrono::duration<double, std::milli>(duration).count(); }

double Median(std::vector<double> values) {
    if (values.empty()) return -1;
    std::sort(values.begin(), values.end());
    size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// devsim stamps its events with the monotonic clock, as Clock reads it.
std::optional<Clock::time_point> EventTime(const std::string& line) {
    size_t at = line.find("\"time\":");
    if (at == std::string::npos) return std::nullopt;
    double seconds = std::strtod(line.c_str() + at + 7, nullptr);
    return Clock::time_point(std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds)));
}

bool Contains(const std::string& text, const char* part) { return text.find(part) != std::string::npos; }

// Runs a short command in a namespace and waits for it.
int RunIn(const std::string& ns, const std::vector<std::string>& argv) {
    Child child(NamespacePath(ns), argv);
    child.Wait(Clock::now() + std::chrono::seconds(10));
    return child.ExitStatus();
}

bool HasPermanentEntry(const Lab& lab) {
    Child show(NamespacePath(lab.hostNamespace), {"/usr/sbin/ip", "neigh", "show", kAddress, "dev", "lab0"});
    bool permanent = false;
    while (auto line = show.ReadLine(Clock::now() + std::chrono::seconds(5)))
        permanent = permanent || Contains(line->text, "PERMANENT");
    show.Wait(Clock::now() + std::chrono::seconds(5));
    return permanent;
}

class Devsim {
public:
    // The device kSerial, restarting after `listenAfterSeconds`.
    Devsim(const Lab& lab, double listenAfterSeconds, int durationSeconds)
        : Devsim(lab, durationSeconds, {"--listen-after", std::to_string(listenAfterSeconds), kSerial}) {}
    // devsim with the given emulation options.
    Devsim(const Lab& lab, int durationSeconds, const std::vector<std::string>& emulation)
        : child_(NamespacePath(lab.deviceNamespace), Arguments(lab, durationSeconds, emulation)) {
        while (auto line = child_.ReadLine(Clock::now() + std::chrono::seconds(10)))
            if (Contains(line->text, "\"started\"")) return;
        throw std::runtime_error("devsim did not start");
    }

    // The next event line, waiting until `deadline`.
    std::optional<Child::Line> ReadEvent(Clock::time_point deadline) { return child_.ReadLine(deadline); }

    // Reads events until the first reply has been reported: devsim may
    // write it after the answer has already been received.
    void CollectFirstReply() {
        auto deadline = Clock::now() + std::chrono::seconds(2);
        while (!firstReply) {
            auto line = child_.ReadLine(deadline);
            if (!line) return;
            Note(line->text);
        }
    }
    std::optional<Clock::time_point> listening, firstReply;

    ~Devsim() { child_.Signal(SIGTERM); }

private:
    static std::vector<std::string> Arguments(const Lab& lab, int durationSeconds,
                                              const std::vector<std::string>& emulation) {
        std::vector<std::string> argv{lab.devsim, "--interface", "lab1", "--duration", std::to_string(durationSeconds)};
        argv.insert(argv.end(), emulation.begin(), emulation.end());
        return argv;
    }

    void Note(const std::string& line) {
        if (!listening && Contains(line, "\"listening\"")) listening = EventTime(line);
        if (!firstReply && Contains(line, "\"replied\"") && Contains(line, "\"echo\"")) firstReply = EventTime(line);
    }
    Child child_;
};

struct Sample {
    double reactionMs = -1;  // first reply to success
    double wholeMs = -1;     // device listening to success
};

// addrix-cli set, with the device restarting `listenAfter` seconds in.
Sample AssignWithCli(const Lab& lab, double listenAfter, long& peakRssKb) {
    Devsim device(lab, listenAfter, 60);
    Child cli(NamespacePath(lab.hostNamespace), {lab.cli, "set", kSerial, kAddress, "--timeout", "40"});
    Sample sample;
    auto deadline = Clock::now() + std::chrono::seconds(45);
    while (auto line = cli.ReadLine(deadline)) {
        if (!Contains(line->text, "successfully assigned")) continue;
        device.CollectFirstReply();
        if (device.firstReply) sample.reactionMs = Ms(line->arrived - *device.firstReply);
        if (device.listening) sample.wholeMs = Ms(line->arrived - *device.listening);
        break;
    }
    cli.Wait(Clock::now() + std::chrono::seconds(15));
    peakRssKb = std::max(peakRssKb, cli.Usage().ru_maxrss);
    return sample;
}

// The same by hand: a permanent neighbour entry, then ping -s 408 every second.
Sample AssignByHand(const Lab& lab, double listenAfter) {
    RunIn(lab.hostNamespace, {"/usr/sbin/ip", "neigh", "replace", kAddress, "lladdr", "02:c0:a7:00:00:01", "nud",
                              "permanent", "dev", "lab0"});
    Sample sample;
    {
        Devsim device(lab, listenAfter, 60);
        Child ping(NamespacePath(lab.hostNamespace), {"/usr/bin/ping", "-n", "-s", "408", "-i", "1", kAddress});
        auto deadline = Clock::now() + std::chrono::seconds(45);
        while (auto line = ping.ReadLine(deadline)) {
            if (!Contains(line->text, "bytes from")) continue;
            device.CollectFirstReply();
            if (device.firstReply) sample.reactionMs = Ms(line->arrived - *device.firstReply);
            if (device.listening) sample.wholeMs = Ms(line->arrived - *device.listening);
            break;
        }
        ping.Signal(SIGINT);
        ping.Wait(Clock::now() + std::chrono::seconds(5));
    }
    RunIn(lab.hostNamespace, {"/usr/sbin/ip", "neigh", "del", kAddress, "dev", "lab0"});
    return sample;
}

struct CancelSample {
    double exitMs = -1;
    bool entryLeft = true;
    int status = -1;
};

// The rate of echo requests that reach a router answering each with "host
// unreachable", over one run of `set` that ends by its time-out.
double UnreachableRequestsPerSecond(const Lab& lab) {
    Devsim router(lab, kUnreachableSeconds + 20, {"--unreachable", kAddress});
    Child cli(NamespacePath(lab.hostNamespace),
              {lab.cli, "set", kSerial, kAddress, "--timeout", std::to_string(kUnreachableSeconds)});
    // Read the events while the job runs, so that even a flood is counted whole.
    std::vector<Clock::time_point> requests;
    auto deadline = Clock::now() + std::chrono::seconds(kUnreachableSeconds + 2);
    while (auto line = router.ReadEvent(deadline))
        if (Contains(line->text, "\"seen\"") && Contains(line->text, "\"unreachable\""))
            if (auto time = EventTime(line->text)) requests.push_back(*time);
    cli.Wait(Clock::now() + std::chrono::seconds(15));
    if (requests.size() < 2) return -1;
    double spanSeconds = Ms(requests.back() - requests.front()) / 1000;
    // n requests, each opening its own window: n - 1 whole windows between the first and the last.
    return spanSeconds > 0 ? (requests.size() - 1) / spanSeconds : -1;
}

// A stop signal while the job pings through its neighbour entry.
CancelSample CancelDuringLoop(const Lab& lab, int signal, long& peakRssKb) {
    Devsim device(lab, 1000, 60);  // never listens
    Child cli(NamespacePath(lab.hostNamespace), {lab.cli, "set", kSerial, kAddress, "--timeout", "40"});
    // Stop the loop 2.5 s after the job has added its entry.
    auto noEntry = Clock::now() + std::chrono::seconds(20);
    while (!HasPermanentEntry(lab) && Clock::now() < noEntry)
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    std::this_thread::sleep_for(std::chrono::milliseconds(2500));
    CancelSample sample;
    auto sent = Clock::now();
    cli.Signal(signal);
    if (cli.Wait(Clock::now() + std::chrono::seconds(15))) sample.exitMs = Ms(Clock::now() - sent);
    sample.status = cli.ExitStatus();
    sample.entryLeft = HasPermanentEntry(lab);
    peakRssKb = std::max(peakRssKb, cli.Usage().ru_maxrss);
    return sample;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: lab_bench HOST_NS DEVICE_NS ADDRIX_CLI DEVSIM\n");
        return 2;
    }
    Lab lab{argv[1], argv[2], argv[3], argv[4]};
    long peakRssKb = 0;

    // (a) The device restarts at phases spread over the job's 3-second cycle
    // of payload sizes (0, 408, 479), after its five 1-second test pings.
    std::vector<double> cliReaction, cliWhole, handReaction, handWhole;
    for (int run = 0; run < kReactionRuns; ++run) {
        double phase = 0.3 * run;
        Sample cli = AssignWithCli(lab, 5.2 + phase, peakRssKb);
        Sample hand = AssignByHand(lab, 0.5 + phase / 3);
        std::fprintf(stderr, "run %d: addrix-cli reaction %.2f ms, whole %.0f ms; by hand %.2f ms, whole %.0f ms\n",
                     run + 1, cli.reactionMs, cli.wholeMs, hand.reactionMs, hand.wholeMs);
        if (cli.reactionMs >= 0) cliReaction.push_back(cli.reactionMs);
        if (cli.wholeMs >= 0) cliWhole.push_back(cli.wholeMs);
        if (hand.reactionMs >= 0) handReaction.push_back(hand.reactionMs);
        if (hand.wholeMs >= 0) handWhole.push_back(hand.wholeMs);
    }

    // (b) Cancel.
    std::vector<double> cancelMs;
    bool entryLeft = false;
    bool cancelStatusOk = true;
    for (int run = 0; run < kCancelRuns; ++run) {
        int signal = kStopSignals[run % std::size(kStopSignals)];
        CancelSample sample = CancelDuringLoop(lab, signal, peakRssKb);
        std::fprintf(stderr, "cancel %d (signal %d): %.1f ms, status %d, entry left %d\n", run + 1, signal,
                     sample.exitMs, sample.status, sample.entryLeft);
        if (sample.exitMs >= 0) cancelMs.push_back(sample.exitMs);
        entryLeft = entryLeft || sample.entryLeft;
        cancelStatusOk = cancelStatusOk && sample.status == 128 + signal;
    }

    // (e) Unreachable: a router answers every echo at once with an error.
    double unreachableRate = UnreachableRequestsPerSecond(lab);
    std::fprintf(stderr, "unreachable: %.3f requests per second\n", unreachableRate);

    // (c) Idle cost: a device that never answers, for the whole time-out.
    double idleCpuSeconds = -1;
    {
        Devsim device(lab, 1000, kIdleSeconds + 30);
        Child cli(NamespacePath(lab.hostNamespace),
                  {lab.cli, "set", kSerial, kAddress, "--timeout", std::to_string(kIdleSeconds)});
        if (cli.Wait(Clock::now() + std::chrono::seconds(kIdleSeconds + 20))) {
            const rusage& usage = cli.Usage();
            idleCpuSeconds = usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
                             (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
            peakRssKb = std::max(peakRssKb, usage.ru_maxrss);
        }
    }

    auto verdict = [](bool met) { return met ? "met" : "MISSED"; };
    double reaction = Median(cliReaction);
    double cancel = Median(cancelMs);
    double rssMb = peakRssKb / 1024.0;
    std::printf("%-62s %14s %12s %8s\n", "measure", "value", "target", "");
    std::printf("%-62s %11.2f ms %12s %8s\n", "(a) reaction: first reply -> success, addrix-cli (median of 10)",
                reaction, "<= 20 ms", verdict(reaction >= 0 && reaction <= 20));
    std::printf("%-62s %11.2f ms %12s\n", "    reaction: first reply -> reply seen, by hand (median)",
                Median(handReaction), "");
    std::printf("%-62s %11.0f ms %12s\n", "    whole: device listening -> success, addrix-cli (median)",
                Median(cliWhole), "");
    std::printf("%-62s %11.0f ms %12s\n", "    whole: device listening -> reply, by hand (median)", Median(handWhole),
                "");
    std::printf("%-62s %11.1f ms %12s %8s\n", "(b) cancel: signal in the loop -> exit, entry removed (median)", cancel,
                "<= 50 ms", verdict(cancel >= 0 && cancel <= 50 && !entryLeft && cancelStatusOk));
    std::printf("%-62s %12.3f s %12s %8s\n", "(c) idle: CPU time of addrix-cli over 60 s without an answer",
                idleCpuSeconds, "<= 0.3 s", verdict(idleCpuSeconds >= 0 && idleCpuSeconds <= 0.3));
    std::printf("%-62s %11.1f MB %12s %8s\n", "(d) footprint: peak RSS of addrix-cli", rssMb, "<= 10 MB",
                verdict(rssMb <= 10));
    std::printf("%-62s %11.2f /s %12s %8s\n", "(e) unreachable: echo requests per second to the router",
                unreachableRate, "<= 1.1 /s", verdict(unreachableRate >= 0 && unreachableRate <= 1.1));
    if (entryLeft) std::printf("a cancelled run left its neighbour entry behind\n");
    if (!cancelStatusOk) std::printf("a cancelled run did not exit with 128 plus the signal's number\n");
    return 0;
}
