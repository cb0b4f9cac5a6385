// Macro driver: a burst of 200 MB appended at once to a followed UTF-8 log.
// In this process a document follows it with the application's own loop
// (file events first, the refresh tick at 100 ms): the figure is the rate of
// UTF-16 text taken in, from the start of the burst until the document has
// read all of it, and the longest the loop was held by one call (the user
// interface must not wait longer than a tick's 60 ms); the burst is written
// before the loop looks, so the writer's speed is not in the figure. Then
// `tarvik-tail` and `tail -F` follow the same kind of file side by side while
// the burst is written, each printing into a pipe: the figure is when each
// has printed the burst's last line.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "app/TarvikApp.h"
#include "core/TarvikDoc.h"
#include "doc_bench_support.h"
#include "platform/CodePage.h"
#include "platform/IClock.h"
#include "process_output.h"

namespace {

constexpr std::size_t kBurstBytes = 200'000'000;
constexpr double kTargetGBps = 1.0;
constexpr double kTickBudgetMs = 60;
constexpr auto kRefresh = std::chrono::milliseconds(100);

std::string MakeBurst() {
    bench::LogFileWriter writer(false, 5);
    std::string burst = writer.Next(kBurstBytes);
    return burst;
}

std::size_t CountLines(const std::string& text) {
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

bool Append(const std::string& path, const std::string& bytes) {
    const int fd = open(path.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
    if (fd < 0) return false;
    const bool ok = bench::WriteAll(fd, bytes);
    return close(fd) == 0 && ok;
}

struct InProcess {
    double seconds = -1;
    double longestCallMs = 0;
    std::uint64_t units = 0;
    bool complete = false;
};

// The document's own loop, as the tools run it, until it has read the burst.
InProcess FollowInProcess(const std::string& burst) {
    InProcess result;
    const std::string path = bench::FreshFile("burst-document.log", "the line before the burst\n");
    app::CTarvikApp app(platform::SystemClock::Instance(), nullptr);
    core::CTarvikDoc* doc = app.OpenDocument(platform::Utf8ToUtf16(path));
    if (!doc) return result;
    doc->SetMonitoring(true);
    const std::uint64_t end = doc->ReadPosition() + burst.size();
    const std::uint64_t trimmedBefore = doc->TrimmedLineCount();
    const int linesBefore = doc->Buffer().LineCount();

    // The burst is in the file before the loop looks: the figure is the
    // document's, not the writer's.
    if (!Append(path, burst)) return result;
    const auto start = bench::Clock::now();
    auto nextTick = start + kRefresh;
    const auto giveUp = start + std::chrono::seconds(60);
    while (doc->ReadPosition() < end && bench::Clock::now() < giveUp) {
        auto until = nextTick;
        const auto delay = app.NextEventPollDelay();
        if (delay) until = std::min(until, bench::Clock::now() + *delay);
        const auto wait = std::max(until - bench::Clock::now(), bench::Clock::duration::zero());
        const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(wait).count();
        timespec timeout{static_cast<time_t>(ns / 1'000'000'000),
                         static_cast<long>(ns % 1'000'000'000)};
        pollfd ready{app.FileEventDescriptor(), POLLIN, 0};
        const bool readable = ppoll(&ready, ready.fd >= 0 ? 1 : 0, &timeout, nullptr) == 1;
        const auto callStart = bench::Clock::now();
        if (readable) {
            app.OnFileEvents();
        } else if (callStart >= nextTick) {
            app.OnRefreshTick();
            nextTick = std::max(nextTick + kRefresh, callStart);
        } else {
            app.RunDueEventPolls();
        }
        const double ms = bench::SecondsSince(callStart) * 1e3;
        result.longestCallMs = std::max(result.longestCallMs, ms);
    }
    result.seconds = bench::SecondsSince(start);
    result.complete = doc->ReadPosition() == end;
    // Every line of the burst once: the lines trimmed and the lines held.
    const std::uint64_t lines = doc->TrimmedLineCount() - trimmedBefore +
                                static_cast<std::uint64_t>(doc->Buffer().LineCount() - linesBefore);
    result.complete = result.complete && lines == CountLines(burst);
    result.units = burst.size();
    app.CloseDocument(doc);
    unlink(path.c_str());
    return result;
}

struct Printer {
    const char* name;
    pid_t pid = -1;
    int out = -1;
    std::atomic<std::size_t> lines{0};
    std::atomic<std::int64_t> doneNs{0};
};

bool Spawn(Printer& printer, std::vector<std::string> arguments, const std::string& registry) {
    return bench::StartWithOutput(std::move(arguments), printer.pid, printer.out,
                                  {"TARVIK_REGISTRY=" + registry});
}

// Counts the lines a follower prints until it has printed `expected`.
void Count(Printer& printer, std::size_t expected) {
    std::vector<char> buffer(1 << 20);
    for (;;) {
        const ssize_t got = read(printer.out, buffer.data(), buffer.size());
        if (got <= 0) return;
        printer.lines +=
            static_cast<std::size_t>(std::count(buffer.data(), buffer.data() + got, '\n'));
        if (printer.lines >= expected && printer.doneNs == 0) {
            printer.doneNs = std::chrono::duration_cast<std::chrono::nanoseconds>(
                                 bench::Clock::now().time_since_epoch())
                                 .count();
        }
    }
}

void FollowWithTools(const std::string& burst) {
    const std::string path = bench::FreshFile("burst-tools.log", "the line before the burst\n");
    const std::string registry = bench::BenchFolder() + "/burst-registry.db";
    Printer printers[] = {{"tarvik-tail"}, {"tail -F (baseline)"}};
    const bool started =
        Spawn(printers[0], {TARVIK_TOOLS_DIR "/tarvik-tail", "--color", "never", path}, registry) &&
        Spawn(printers[1], {"tail", "-F", path}, registry);
    if (!started) {
        std::printf("  the followers could not start\n");
        return;
    }
    // Each prints the line before the burst first.
    std::vector<std::thread> counters;
    const std::size_t expected = 1 + CountLines(burst);
    for (Printer& p : printers) counters.emplace_back(Count, std::ref(p), expected);
    for (int i = 0; i < 500 && (printers[0].lines < 1 || printers[1].lines < 1); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    const auto start = bench::Clock::now();
    const std::int64_t startNs =
        std::chrono::duration_cast<std::chrono::nanoseconds>(start.time_since_epoch()).count();
    Append(path, burst);
    for (int i = 0; i < 600 && (printers[0].doneNs == 0 || printers[1].doneNs == 0); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    double seconds[2];
    for (int i = 0; i < 2; ++i) {
        seconds[i] = printers[i].doneNs == 0 ? -1 : (printers[i].doneNs - startNs) / 1e9;
        kill(printers[i].pid, SIGTERM);
    }
    for (int i = 0; i < 2; ++i) {
        waitpid(printers[i].pid, nullptr, 0);
        counters[i].join();
        close(printers[i].out);
        if (seconds[i] < 0) {
            std::printf("  %-22s printed %zu of %zu lines\n", printers[i].name,
                        printers[i].lines.load(), expected);
        } else {
            std::printf("  %-22s last line printed after %7.1f ms (%6.1f MB/s of UTF-8)\n",
                        printers[i].name, seconds[i] * 1e3, burst.size() / seconds[i] / 1e6);
        }
    }
    if (seconds[0] > 0 && seconds[1] > 0) {
        std::printf("  ratio tarvik-tail / tail -F: %.2f\n", seconds[0] / seconds[1]);
    }
    unlink(path.c_str());
    unlink(registry.c_str());
}

}  // namespace

int main() {
    const std::string burst = MakeBurst();
    std::printf("a burst of %.0f MB of UTF-8 lines appended at once to a followed file\n",
                burst.size() / 1e6);
    const InProcess doc = FollowInProcess(burst);
    if (doc.seconds < 0) {
        std::printf("  the document could not open its file\n");
    } else {
        const double gbps = 2.0 * static_cast<double>(doc.units) / doc.seconds / 1e9;
        std::printf(
            "  document: all read after %7.1f ms: %5.2f GB/s of UTF-16 (target >= %.1f) %s\n",
            doc.seconds * 1e3, gbps, kTargetGBps, gbps >= kTargetGBps ? "ok" : "MISSED");
        std::printf(
            "  longest call on the loop %5.1f ms (budget %.0f ms) %s; every line once: %s\n",
            doc.longestCallMs, kTickBudgetMs, doc.longestCallMs <= kTickBudgetMs ? "ok" : "MISSED",
            doc.complete ? "yes" : "NO");
    }
    FollowWithTools(burst);
    return 0;
}
