// Macro driver: journal documents beside journalctl on real journals
// written by systemd-journal-remote, the system's own writer.
//
// Following: `tarvik-tail 'journal:?dir=DIR'` (with ten highlight filters in
// one round, ten exclude filters in the other, from a settings store of its
// own as the other drivers set them up) and `journalctl --directory=DIR -f
// -o short-iso` follow the same folder while one writer appends 200,000
// entries to it as fast as it takes them; each prints into a pipe. The
// figure is when each has printed the last entry, as entries per second,
// and the processor time each took for the whole run.
//
// Opening the tail: `tarvik-tail --once` on a folder of 1,000,000 entries
// prints the newest entries that fit the buffer, beside `journalctl -n` of
// as many entries, both into /dev/null, best of three.

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "doc_bench_support.h"
#include "follow_highlight_filters.h"
#include "journal_bench_support.h"
#include "platform/CodePage.h"
#include "printed_lines.h"
#include "process_output.h"
#include "streams/JournalQuery.h"

extern char** environ;

namespace {

constexpr int kFollowEntries = 200'000;
constexpr int kBurstEntries = 10'000;
constexpr int kRepetitions = 3;
constexpr std::string_view kLastMessage = "the last entry of the writer";

std::string JournalName(const std::string& folder) {
    streams::JournalQuery query;
    query.folder = folder;
    return platform::Utf16ToUtf8(streams::FormatJournalName(query));
}

// The writer appending to DIR/x.journal what comes on its standard input.
pid_t StartWriter(const std::string& folder, int& input) {
    int ends[2];
    if (pipe(ends) != 0) return -1;
    const std::string output = "--output=" + folder + "/x.journal";
    std::vector<char*> argv = {const_cast<char*>(bench::kJournalWriter),
                               const_cast<char*>(output.c_str()), const_cast<char*>("-"), nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, ends[0], STDIN_FILENO);
    posix_spawn_file_actions_addclose(&actions, ends[1]);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t pid = -1;
    if (posix_spawn(&pid, bench::kJournalWriter, &actions, nullptr, argv.data(), environ) != 0) {
        pid = -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    close(ends[0]);
    input = ends[1];
    return pid;
}

std::vector<std::string> Bursts() {
    bench::LogGenerator generator(27);
    std::vector<std::string> bursts;
    for (int first = 1; first <= kFollowEntries; first += kBurstEntries) {
        std::string burst;
        for (int i = first; i < first + kBurstEntries && i <= kFollowEntries; ++i) {
            burst += bench::ExportEntry(
                i, i == kFollowEntries ? std::string(kLastMessage) : generator.NextLine());
        }
        bursts.push_back(std::move(burst));
    }
    return bursts;
}

void FollowRound(const char* filters, bool highlight, const std::vector<std::string>& bursts) {
    std::printf("%s:\n", filters);
    const std::string folder = bench::BenchFolder() + "/journal-follow";
    const std::string registry = bench::BenchFolder() + "/journal-follow.db";
    bench::RunShell("rm -rf '" + folder + "' '" + registry + "'*");
    mkdir(folder.c_str(), 0700);
    if (!bench::PrepareFilterStore(registry, highlight, !highlight)) {
        std::printf("  the filters could not be stored\n");
        return;
    }
    // The folder holds a journal before the followers look.
    int input = -1;
    pid_t writer = StartWriter(folder, input);
    const bool first = writer > 0 && bench::WriteAll(input, bench::ExportEntry(0, "the first"));
    close(input);
    int status = 0;
    if (!first || waitpid(writer, &status, 0) != writer || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0) {
        std::printf("  the writer failed (is systemd-journal-remote installed?)\n");
        return;
    }
    bench::Printer printers[] = {{"tarvik-tail"}, {"journalctl -f (baseline)"}};
    const bool started =
        bench::StartWithOutput(
            {TARVIK_TOOLS_DIR "/tarvik-tail", "--color", "never", JournalName(folder)},
            printers[0].pid, printers[0].out, {"TARVIK_REGISTRY=" + registry}) &&
        bench::StartWithOutput(
            {"journalctl", "--directory=" + folder, "-f", "-q", "-o", "short-iso", "--no-pager"},
            printers[1].pid, printers[1].out);
    std::vector<std::thread> watchers;
    for (bench::Printer& p : printers) {
        if (p.out >= 0) watchers.emplace_back(bench::WatchPrinted, std::ref(p), kLastMessage);
    }
    for (int i = 0; started && i < 500 && (printers[0].lines < 1 || printers[1].lines < 1); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    if (!started || printers[0].lines < 1 || printers[1].lines < 1) {
        std::printf("  the followers did not start (tarvik-tail printed %zu lines)\n",
                    printers[0].lines.load());
    } else {
        const std::int64_t startNs = bench::NowNs();
        writer = StartWriter(folder, input);
        for (const std::string& burst : bursts) {
            if (writer < 0 || !bench::WriteAll(input, burst)) break;
        }
        close(input);
        waitpid(writer, nullptr, 0);
        const double writerSeconds = (bench::NowNs() - startNs) / 1e9;
        for (int i = 0; i < 600 && (printers[0].lastNs == 0 || printers[1].lastNs == 0); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        std::printf("  writer: %d entries in %7.1f ms\n", kFollowEntries, writerSeconds * 1e3);
        double seconds[2] = {-1, -1};
        for (int i = 0; i < 2; ++i) {
            if (printers[i].lastNs == 0) {
                std::printf("  %-26s never printed the last entry (%zu lines)\n", printers[i].name,
                            printers[i].lines.load());
                continue;
            }
            seconds[i] = (printers[i].lastNs - startNs) / 1e9;
            std::printf("  %-26s last entry after %7.1f ms: %9.0f entries/s (%zu lines)\n",
                        printers[i].name, seconds[i] * 1e3, kFollowEntries / seconds[i],
                        printers[i].lines.load());
        }
        if (seconds[0] > 0 && seconds[1] > 0) {
            // Finer differences are the scheduling of a machine the writer
            // keeps busy.
            const double kSamePace = 0.010;
            std::printf("  ratio tarvik-tail / journalctl: %.2f %s\n", seconds[0] / seconds[1],
                        seconds[0] <= seconds[1] + kSamePace ? "ok" : "MISSED");
        }
    }
    // Both keep up with the writer when it is the slower: then the processor
    // time each spent on the same entries tells them apart.
    const double cpuMs[2] = {bench::EndPrinter(printers[0]), bench::EndPrinter(printers[1])};
    if (cpuMs[0] >= 0 && cpuMs[1] > 0) {
        std::printf("  processor time: tarvik-tail %7.1f ms, journalctl %7.1f ms, ratio %.2f %s\n",
                    cpuMs[0], cpuMs[1], cpuMs[0] / cpuMs[1],
                    cpuMs[0] <= cpuMs[1] ? "ok" : "MISSED");
    }
    for (std::thread& watcher : watchers) watcher.join();
    for (bench::Printer& p : printers) {
        if (p.out >= 0) close(p.out);
    }
}

void OpenTail() {
    const std::string folder = bench::EnsureJournal(1'000'000);
    if (folder.empty()) {
        std::printf("tail: the journal could not be written\n");
        return;
    }
    const std::string registry = bench::BenchFolder() + "/journal-tail.db";
    const std::string ours = "TARVIK_REGISTRY='" + registry +
                             "' '" TARVIK_TOOLS_DIR "/tarvik-tail' --once --color never '" +
                             JournalName(folder) + "'";
    const bench::ShellRun counted = bench::RunShell(ours);
    const std::size_t lines =
        static_cast<std::size_t>(std::count(counted.output.begin(), counted.output.end(), '\n'));
    if (!counted.ok || lines == 0) {
        std::printf("tail: tarvik-tail cannot open the journal: %s\n",
                    counted.output.substr(0, 200).c_str());
        return;
    }
    const double seconds = bench::BestSeconds(kRepetitions, [&] {
        const bench::ShellRun run = bench::RunShell(ours + " > /dev/null");
        return run.ok ? run.seconds : -1.0;
    });
    const double baseline = bench::BestSeconds(kRepetitions, [&] {
        const bench::ShellRun run = bench::RunShell("journalctl --directory='" + folder +
                                                    "' -q -o short-iso --no-pager -n " +
                                                    std::to_string(lines) + " > /dev/null");
        return run.ok ? run.seconds : -1.0;
    });
    std::printf(
        "tail of 1,000,000 entries (%zu shown), best of %d: tarvik-tail --once %7.1f ms | "
        "journalctl -n %7.1f ms | ratio %.2f %s\n",
        lines, kRepetitions, seconds * 1e3, baseline * 1e3, seconds / baseline,
        seconds > 0 && seconds <= baseline ? "ok" : "MISSED");
}

}  // namespace

int main() {
    const std::vector<std::string> bursts = Bursts();
    std::printf("following a journal while %d entries are written\n", kFollowEntries);
    FollowRound("ten highlight filters", true, bursts);
    FollowRound("ten exclude filters", false, bursts);
    OpenTail();
    return 0;
}
