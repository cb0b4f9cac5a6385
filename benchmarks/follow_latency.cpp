// Macro driver: how long a line takes from its write to its arrival in a
// followed document. A writer thread appends 1,000 lines at random intervals
// to a quiet file; the follower loop is the one of the tools (file events
// first, the refresh timer at the default 100 ms as the longest wait). Run
// with file events on and off, next to `tail -F` following the same kind of
// file in the same run. Figures: median and longest latency in milliseconds.

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
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "core/DocContext.h"
#include "core/EventPolls.h"
#include "core/Monitoring.h"
#include "core/TarvikDoc.h"
#include "doc_bench_support.h"
#include "filters/InExFilterList.h"
#include "latency_figures.h"
#include "platform/CodePage.h"
#include "platform/IClock.h"
#include "settings/Options.h"

namespace {

using bench::Clock;

constexpr int kLines = 1000;
constexpr int kMinPauseMs = 1;
// Pauses both shorter and longer than the 10 ms gap of event polls; a first
// argument sets another longest pause.
int maxPauseMs = 30;
constexpr auto kRefresh = std::chrono::milliseconds(100);
constexpr double kTargetMedianMs = 5;

struct Run {
    std::vector<std::atomic<std::int64_t>> written = std::vector<std::atomic<std::int64_t>>(kLines);
    std::vector<std::int64_t> arrived = std::vector<std::int64_t>(kLines, 0);
    int seen = 0;

    void Arrived(int line) {
        if (line < 0 || line >= kLines || arrived[line] != 0) return;
        arrived[line] = bench::NowNs();
        ++seen;
    }
};

// Appends the lines at random pauses, noting when each write began.
void WriteLines(const std::string& path, Run& run) {
    const int fd = open(path.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
    if (fd < 0) return;
    std::mt19937 random(20);
    std::uniform_int_distribution<int> pause(kMinPauseMs, maxPauseMs);
    for (int i = 0; i < kLines; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(pause(random)));
        run.written[i] = bench::NowNs();
        bench::WriteAll(fd, "line " + std::to_string(i) + " of the latency run\n");
    }
    close(fd);
}

int LineNumber(std::string_view text) {
    if (!text.starts_with("line ")) return -1;
    return std::atoi(std::string(text.substr(5)).c_str());
}

void FollowDocument(bool events, Run& run) {
    const std::string path = bench::FreshFile(events ? "latency-events.log" : "latency-timer.log",
                                              "start of the quiet log\n");
    settings::Options options;
    filters::CInExFilters filters;
    core::DocContext context{options, filters, platform::SystemClock::Instance()};
    core::DocumentList documents;
    documents.push_back(std::make_unique<core::CTarvikDoc>(context));
    core::CTarvikDoc& doc = *documents.back();
    if (!doc.OnOpenDocument(platform::Utf8ToUtf16(path))) return;
    doc.SetMonitoring(true);
    core::CEventPolls polls([](std::string_view) {});
    polls.Sync(documents, events);

    std::thread writer(WriteLines, path, std::ref(run));
    int checkedLines = 0;
    auto nextTick = Clock::now() + kRefresh;
    const auto giveUp = Clock::now() + std::chrono::seconds(60);
    while (run.seen < kLines && Clock::now() < giveUp) {
        auto until = nextTick;
        if (const auto due = polls.NextDue()) until = std::min(until, *due);
        const auto wait = std::max(until - Clock::now(), Clock::duration::zero());
        const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(wait).count();
        timespec timeout{static_cast<time_t>(ns / 1'000'000'000),
                         static_cast<long>(ns % 1'000'000'000)};
        pollfd ready{polls.Descriptor(), POLLIN, 0};
        const bool readable =
            ppoll(&ready, events && ready.fd >= 0 ? 1 : 0, &timeout, nullptr) == 1;
        const auto now = Clock::now();
        if (readable) {
            polls.OnEvents(documents, now);
        } else if (now >= nextTick) {
            core::PollDocuments(documents);
            polls.Sync(documents, events);
            nextTick = std::max(nextTick + kRefresh, now);
        } else {
            polls.RunDue(documents, now);
        }
        const core::CCrystalTextBuffer& buffer = doc.Buffer();
        for (; checkedLines + 1 < buffer.LineCount(); ++checkedLines) {
            run.Arrived(LineNumber(platform::Utf16ToUtf8(buffer.LineText(checkedLines))));
        }
    }
    writer.join();
}

// `tail -F` on the same kind of file; arrival is when its output is read.
bool FollowWithTail(Run& run) {
    const std::string path = bench::FreshFile("latency-tail.log", "start of the quiet log\n");
    int out[2];
    if (pipe(out) != 0) return false;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    std::string program = "tail", follow = "-F", from = "-n", first = "+1", file = path;
    char* argv[] = {program.data(), follow.data(), from.data(), first.data(), file.data(), nullptr};
    std::string locale = "LC_ALL=C";
    char* envp[] = {locale.data(), nullptr};
    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, "tail", &actions, nullptr, argv, envp);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    if (spawned != 0) {
        close(out[0]);
        return false;
    }
    std::string pending;
    std::thread writer;
    bool started = false;
    char buffer[65536];
    const auto giveUp = Clock::now() + std::chrono::seconds(60);
    while (run.seen < kLines && Clock::now() < giveUp) {
        pollfd ready{out[0], POLLIN, 0};
        if (poll(&ready, 1, 1000) != 1) continue;
        const ssize_t got = read(out[0], buffer, sizeof buffer);
        if (got <= 0) break;
        pending.append(buffer, static_cast<std::size_t>(got));
        for (std::size_t end; (end = pending.find('\n')) != std::string::npos;) {
            const std::string line = pending.substr(0, end);
            pending.erase(0, end + 1);
            if (!started) {
                // tail has printed the file so far and follows it now.
                started = true;
                writer = std::thread(WriteLines, path, std::ref(run));
                continue;
            }
            run.Arrived(LineNumber(line));
        }
    }
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    close(out[0]);
    if (writer.joinable()) writer.join();
    return started;
}

}  // namespace

int main(int argc, char** argv) {
    // Arguments meant for the other drivers (flags) are not this one's.
    if (argc > 1 && argv[1][0] >= '1' && argv[1][0] <= '9') maxPauseMs = std::atoi(argv[1]);
    std::printf("follow latency: %d lines at random %d-%d ms pauses, write to arrival\n", kLines,
                kMinPauseMs, maxPauseMs);
    Run withEvents, timerOnly, tail;
    FollowDocument(true, withEvents);
    FollowDocument(false, timerOnly);
    const bool tailRan = FollowWithTail(tail);
    const bench::LatencyFigures events =
        bench::SummarizeLatency(withEvents.written, withEvents.arrived);
    const bench::LatencyFigures timer =
        bench::SummarizeLatency(timerOnly.written, timerOnly.arrived);
    bench::PrintLatency("document, file events on", 32, events);
    bench::PrintLatency("document, timer only (100 ms)", 32, timer);
    if (tailRan) {
        const bench::LatencyFigures baseline = bench::SummarizeLatency(tail.written, tail.arrived);
        bench::PrintLatency("tail -F (baseline)", 32, baseline);
        if (baseline.median > 0) {
            std::printf("  median ratio events on / tail -F: %.2f\n",
                        events.median / baseline.median);
        }
        std::printf("  target: median <= %.0f ms and no worse than tail -F: %s\n", kTargetMedianMs,
                    events.median <= kTargetMedianMs && events.median <= baseline.median
                        ? "met"
                        : "NOT met");
    } else {
        std::printf("  tail -F could not run: no baseline\n");
    }
    if (timer.median > 0) {
        std::printf("  median ratio events on / timer only: %.3f\n", events.median / timer.median);
    }
    return 0;
}
