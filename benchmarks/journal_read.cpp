// Macro driver: the journal source beside journalctl on the same real
// journals (written once by systemd-journal-remote into a cache folder and
// kept for later runs): entries per second reading a whole journal of
// 200,000 entries, and opening the tail of a journal of 1,000,000 entries
// beside `journalctl -n` of as many entries as the tail held.

#include <cstdio>
#include <string>

#include "doc_bench_support.h"
#include "journal_bench_support.h"
#include "platform/CodePage.h"
#include "streams/JournalQuery.h"
#include "streams/JournalSource.h"

namespace {

constexpr int kRepetitions = 3;
constexpr std::size_t kBudget = 1 << 16;
constexpr std::size_t kTailUnits = 1 << 20;  // about as much as a document's default buffer

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
    const std::string whole = bench::EnsureJournal(200000);
    const std::string large = bench::EnsureJournal(1000000);
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
