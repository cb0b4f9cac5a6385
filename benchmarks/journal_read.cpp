// Macro driver: the journal source beside journalctl on the same real
// journals (written once by systemd-journal-remote into a cache folder and
// kept for later runs): entries per second reading a whole journal of
// 200,000 entries, and opening the tail of a journal of 1,000,000 entries
// beside `journalctl -n` of as many entries as the tail held.

#include <sys/stat.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "doc_bench_support.h"
#include "platform/CodePage.h"
#include "streams/JournalQuery.h"
#include "streams/JournalSource.h"

namespace {

constexpr int kRepetitions = 3;
constexpr std::size_t kBudget = 1 << 16;
constexpr std::size_t kTailUnits = 1 << 20;  // about as much as a document's default buffer

// Writes count entries of several units, identifiers and lengths into a
// folder once; the folder's name says how many, a marker that it is whole.
std::string EnsureJournal(int count) {
    const std::string folder = bench::BenchFolder() + "/journal-" + std::to_string(count);
    const std::string done = folder + "/complete";
    struct stat status {};
    if (stat(done.c_str(), &status) == 0) return folder;
    bench::RunShell("rm -rf '" + folder + "'");
    mkdir(folder.c_str(), 0700);
    std::fprintf(stderr, "writing %d journal entries into %s (once)\n", count, folder.c_str());
    const std::string input = bench::BenchFolder() + "/journal.export";
    const int kChunk = 100000;
    for (int first = 0; first < count; first += kChunk) {
        std::string text;
        for (int i = first; i < first + kChunk && i < count; ++i) {
            const std::uint64_t usec = 1796777206000000ull + static_cast<std::uint64_t>(i) * 1000;
            text += "__REALTIME_TIMESTAMP=" + std::to_string(usec) +
                    "\n__MONOTONIC_TIMESTAMP=" + std::to_string(i + 1) +
                    "\n_BOOT_ID=0123456789abcdef0123456789abcdef\n_HOSTNAME=web" +
                    std::to_string(i % 3) + "\nSYSLOG_IDENTIFIER=service" + std::to_string(i % 7) +
                    "\n_PID=" + std::to_string(1000 + i % 50) +
                    "\nPRIORITY=" + std::to_string(i % 8) + "\n_SYSTEMD_UNIT=unit" +
                    std::to_string(i % 5) + ".service\nMESSAGE=request " + std::to_string(i) +
                    " served in " + std::to_string(i % 997) + " ms for client 10.0.0." +
                    std::to_string(i % 250) + std::string(i % 40, '.') + "\n\n";
        }
        std::ofstream(input, std::ios::binary) << text;
        if (!bench::RunShell("/lib/systemd/systemd-journal-remote --output='" + folder +
                             "/x.journal' - < '" + input + "' 2>/dev/null")
                 .ok) {
            return {};
        }
    }
    std::remove(input.c_str());
    std::ofstream(done) << count;
    return folder;
}

streams::CJournalSource SourceFor(const std::string& folder) {
    streams::JournalQuery query;
    query.folder = folder;
    return streams::CJournalSource(query);
}

struct Read {
    double seconds = -1;
    std::size_t lines = 0;
};

Read ReadThrough(const std::string& folder, std::size_t tailUnits) {
    streams::CJournalSource source = SourceFor(folder);
    std::u16string text;
    Read read;
    const auto start = bench::Clock::now();
    std::u16string error;
    if (!source.Open(tailUnits, error)) return read;
    text.reserve(kBudget * 2);
    for (bool more = true; more;) {
        text.clear();
        more = source.Take(text, kBudget);
        for (char16_t unit : text) read.lines += unit == u'\n';
    }
    read.seconds = bench::SecondsSince(start);
    return read;
}

Read Best(const std::string& folder, std::size_t tailUnits) {
    Read best;
    for (int i = 0; i < kRepetitions; ++i) {
        Read run = ReadThrough(folder, tailUnits);
        if (best.seconds < 0 || (run.seconds >= 0 && run.seconds < best.seconds)) best = run;
    }
    return best;
}

double Journalctl(const std::string& folder, const std::string& extra) {
    return bench::BestSeconds(kRepetitions, [&] {
        bench::ShellRun run =
            bench::RunShell("journalctl --directory='" + folder + "' -q -o short-iso --no-pager " +
                            extra + " > /dev/null");
        return run.ok ? run.seconds : -1.0;
    });
}

}  // namespace

int main() {
    const std::string whole = EnsureJournal(200000);
    const std::string large = EnsureJournal(1000000);
    if (whole.empty() || large.empty()) {
        std::fprintf(stderr, "cannot write the journals (is systemd-journal-remote installed?)\n");
        return 1;
    }
    std::printf("journal source beside journalctl, best of %d runs; ratio = ours / journalctl\n",
                kRepetitions);

    const Read all = Best(whole, std::size_t{1} << 40);
    const double allBaseline = Journalctl(whole, "");
    std::printf(
        "read 200,000 entries  %8.1f ms %9.0f entries/s | journalctl %8.1f ms %9.0f "
        "entries/s | %5.2fx %s\n",
        all.seconds * 1e3, all.lines / all.seconds, allBaseline * 1e3, 200000 / allBaseline,
        all.seconds / allBaseline, all.seconds <= allBaseline ? "ok" : "MISSED");

    const Read tail = Best(large, kTailUnits);
    const double tailBaseline = Journalctl(large, "-n " + std::to_string(tail.lines));
    std::printf(
        "tail of 1,000,000     %8.1f ms %9zu entries   | journalctl -n %6.1f ms          "
        "         | %5.2fx %s\n",
        tail.seconds * 1e3, tail.lines, tailBaseline * 1e3, tail.seconds / tailBaseline,
        tail.seconds <= tailBaseline ? "ok" : "MISSED");
    return 0;
}
