// Macro driver: how fast a followed document takes in new text (read,
// normalise, filter, insert, trim at the default limit) when a writer
// appends to a UTF-16LE log. Measured without filters and with the ten
// patterns of patterns.txt as ten exclude filters, next to
// `LC_ALL=C grep -cvE` with the ten as one alternation over the same lines as
// UTF-8. Speeds are in characters of the same logical text per second.
//
// "ingest" polls a file the writer filled beforehand, so only the document's
// work is timed; "live" polls while a writer thread appends as fast as it can.

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "core/DocContext.h"
#include "core/TarvikDoc.h"
#include "doc_bench_support.h"
#include "filters/InExFilterList.h"
#include "matcher_corpus.h"
#include "platform/CodePage.h"
#include "platform/IClock.h"
#include "settings/Options.h"

namespace {

constexpr std::size_t kLines = 400'000;
constexpr int kRepetitions = 3;
constexpr std::size_t kWriteBlock = 1 << 20;
constexpr double kTargetMBps = 300;
constexpr double kTargetGrepRatio = 0.25;

struct Corpus {
    std::string utf16;  // the file bytes, LF breaks
    std::string utf8;
    double characters = 0;  // line breaks included
};

Corpus MakeCorpus() {
    const std::vector<std::string> lines = bench::LogGenerator(11).Lines(kLines);
    Corpus c;
    c.utf8 = bench::LogGenerator::Join(lines);
    c.utf16.reserve(c.utf8.size() * 2);
    for (char ch : c.utf8) {
        c.utf16.push_back(ch);
        c.utf16.push_back('\0');
    }
    c.characters = static_cast<double>(c.utf8.size());
    return c;
}

bool WriteFile(const std::string& path, const std::string& bytes, bool append) {
    const int flags = O_WRONLY | O_CREAT | O_CLOEXEC | (append ? O_APPEND : O_TRUNC);
    const int fd = open(path.c_str(), flags, 0600);
    if (fd < 0) return false;
    const bool ok = bench::WriteAll(fd, bytes);
    return close(fd) == 0 && ok;
}

filters::CInExFilters TenExcludeFilters() {
    std::vector<filters::InExFilter> exclude;
    for (const std::string& pattern : bench::LoadPatterns()) {
        filters::InExFilter filter;
        filter.phrase.Assign(bench::Widen(pattern), true, true);
        exclude.push_back(std::move(filter));
    }
    filters::CInExFilters list;
    list.Replace({}, std::move(exclude));
    return list;
}

// Seconds until a document opened on an empty file has read everything a
// writer puts there; -1 on failure.
double FollowOnce(const Corpus& corpus, const filters::CInExFilters& filters, bool live) {
    const std::string path = bench::BenchFolder() + "/follow.log";
    if (!WriteFile(path, "\xFF\xFE", false)) return -1;
    settings::Options options;
    core::DocContext context{options, filters, platform::SystemClock::Instance()};
    core::CTarvikDoc doc(context);
    if (!doc.OnOpenDocument(platform::Utf8ToUtf16(path))) return -1;
    const std::uint64_t end = 2 + corpus.utf16.size();
    std::thread writer;
    auto write = [&] {
        for (std::size_t at = 0; at < corpus.utf16.size(); at += kWriteBlock) {
            WriteFile(path, corpus.utf16.substr(at, kWriteBlock), true);
        }
    };
    if (!live) write();
    const auto start = bench::Clock::now();
    if (live) writer = std::thread(write);
    while (doc.ReadPosition() < end) doc.CheckFile();
    const double seconds = bench::SecondsSince(start);
    if (writer.joinable()) writer.join();
    unlink(path.c_str());
    return seconds;
}

void Report(const char* label, double seconds, const Corpus& corpus, double grepSeconds,
            bool withTarget) {
    const double mbps = 2 * corpus.characters / seconds / 1e6;
    std::printf("%-34s %8.1f ms %8.1f MB/s UTF-16 %8.1f Mchar/s", label, seconds * 1e3, mbps,
                corpus.characters / seconds / 1e6);
    if (grepSeconds > 0) {
        const double ratio = grepSeconds / seconds;
        std::printf("  %5.2fx grep (target >= %.2fx) %s", ratio, kTargetGrepRatio,
                    withTarget ? (ratio >= kTargetGrepRatio ? "ok" : "MISSED") : "");
    } else if (withTarget) {
        std::printf("  (target >= %.0f MB/s) %s", kTargetMBps,
                    mbps >= kTargetMBps ? "ok" : "MISSED");
    }
    std::printf("\n");
}

}  // namespace

int main() {
    const Corpus corpus = MakeCorpus();
    const std::string utf8Path = bench::BenchFolder() + "/follow-grep.log";
    if (!WriteFile(utf8Path, corpus.utf8, false)) {
        std::fprintf(stderr, "cannot write %s\n", utf8Path.c_str());
        return 1;
    }
    std::string alternation;
    for (const std::string& p : bench::LoadPatterns())
        alternation += (alternation.empty() ? "" : "|") + p;
    std::string grepCount;
    const double grep = bench::BestSeconds(kRepetitions, [&] {
        const bench::ShellRun run =
            bench::RunShell("grep -cvE '" + alternation + "' '" + utf8Path + "'");
        grepCount = run.output.substr(0, run.output.find('\n'));
        return run.ok ? run.seconds : -1.0;
    });
    unlink(utf8Path.c_str());

    const filters::CInExFilters none;
    const filters::CInExFilters ten = TenExcludeFilters();
    std::printf("%zu lines, %.1f MB as UTF-16LE (%.1f MB as UTF-8); best of %d runs\n", kLines,
                corpus.utf16.size() / 1e6, corpus.utf8.size() / 1e6, kRepetitions);
    const auto best = [&](const filters::CInExFilters& f, bool live) {
        return bench::BestSeconds(kRepetitions, [&] { return FollowOnce(corpus, f, live); });
    };
    Report("ingest, no filters", best(none, false), corpus, 0, true);
    Report("live writer, no filters", best(none, true), corpus, 0, false);
    Report("ingest, ten exclude filters", best(ten, false), corpus, grep, true);
    Report("live writer, ten exclude filters", best(ten, true), corpus, grep, false);
    std::printf("%-34s %8.1f ms %8s %8.1f Mchar/s  (%s lines kept)\n", "grep -cvE, ten as one",
                grep * 1e3, "", corpus.characters / grep / 1e6, grepCount.c_str());
    return 0;
}
