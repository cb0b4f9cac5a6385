// Macro driver: include/exclude filtering of generated log lines with many
// exclude filters, against GNU grep in the C locale counting the lines that
// match none of them (-cvE with the same patterns as one alternation) in the
// same lines written as UTF-8, in one run. Two sets: the ten patterns of
// patterns.txt, and a hundred realistic patterns that match no line. The
// walk testing each filter in turn with MatchPhrase runs beside them for
// comparison. The same hundred, as highlight filters with an action, are
// searched for in every line as new lines run the actions, against grep -cE.
// Speeds are over the same lines; grep's time includes starting the process
// and reading the cached file.

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "filters/HighlightActions.h"
#include "filters/InExFilterList.h"
#include "filters/PhrasePrefilter.h"
#include "grep_baseline.h"
#include "highlight_bench_filters.h"
#include "matcher_corpus.h"
#include "platform/IClock.h"

namespace {

constexpr std::size_t kDefaultLines = 400'000;

long CountAccepted(const filters::CInExFilters& filters, const std::vector<std::u16string>& lines) {
    long count = 0;
    for (const std::u16string& line : lines) count += filters.AcceptLine(line) ? 1 : 0;
    return count;
}

// Every exclude filter tested in turn, as the lists read without a combined
// search.
long CountAcceptedOneByOne(const filters::CInExFilters& filters,
                           const std::vector<std::u16string>& lines) {
    long count = 0;
    for (const std::u16string& line : lines) {
        bool rejected = false;
        for (const filters::InExFilter& filter : filters.Exclude()) {
            if (filter.Enable && filters::MatchPhrase(filter.phrase, line)) {
                rejected = true;
                break;
            }
        }
        count += rejected ? 0 : 1;
    }
    return count;
}

std::size_t LineCount() {
    const char* value = std::getenv("TARVIK_MATCHER_LINES");
    const long parsed = value != nullptr ? std::strtol(value, nullptr, 10) : 0;
    return parsed > 0 ? static_cast<std::size_t>(parsed) : kDefaultLines;
}

// A hundred patterns of the kinds people exclude, none of which occurs in
// the generated lines: ten shapes, ten variants each.
std::vector<std::string> NeverMatchingPatterns() {
    static constexpr const char* kShapes[] = {
        "disk quota exceeded on vol%d",        "PANIC code=[0-9]+ unit=%d",
        "deadlock detected in worker-%d[0-9]", "checksum mismatch block %d[0-9]+",
        "segfault at 0x%d[0-9a-f]+",           "user=root%d sudo",
        "certificate expired for host%d",      "Kernel panic %d",
        "replica%d lagging by [0-9]+ s",       "oom-killer %d invoked"};
    std::vector<std::string> patterns;
    for (const char* shape : kShapes) {
        for (int variant = 0; variant < 10; ++variant) {
            char pattern[80];
            std::snprintf(pattern, sizeof pattern, shape, variant);
            patterns.emplace_back(pattern);
        }
    }
    return patterns;
}

void PrintRow(const char* label, const bench::Timed& timed, const bench::MatcherCorpus& corpus,
              const bench::Timed& grep) {
    const double lines = static_cast<double>(corpus.lines.size());
    const double utf16Bytes = 2.0 * static_cast<double>(corpus.characters);
    std::printf("%-34s %9ld %9.2f %9.1f %7.2fx\n", label, timed.count, lines / timed.seconds / 1e6,
                utf16Bytes / timed.seconds / 1e6, grep.seconds / timed.seconds);
}

// One set of exclude filters against grep; true when the target is met.
// target: the most the combined search may take, in multiples of grep's time.
bool RunSet(const char* name, const std::vector<std::string>& patterns, double target,
            const bench::MatcherCorpus& corpus, const std::string& file) {
    std::vector<filters::InExFilter> exclude;
    std::string alternation;
    for (const std::string& pattern : patterns) {
        filters::InExFilter filter;
        filter.phrase.text = bench::Widen(pattern);
        filter.phrase.matchCase = true;
        filter.phrase.regularExpression = true;
        exclude.push_back(std::move(filter));
        alternation += (alternation.empty() ? "" : "|") + pattern;
    }
    filters::CInExFilters filters;
    filters.Replace({}, std::move(exclude));

    const bench::Timed combined =
        bench::BestOf([&] { return CountAccepted(filters, corpus.lines); });
    const bench::Timed oneByOne =
        bench::BestOf([&] { return CountAcceptedOneByOne(filters, corpus.lines); });
    const bench::Timed grep =
        bench::BestOf([&] { return bench::RunGrep("-cvE", alternation, file); });

    std::printf("\n%s: %zu exclude filters\n", name, filters.Exclude().size());
    std::printf("%-34s %9s %9s %9s %8s\n", "case", "accepted", "M lines/s", "MB/s", "ratio");
    PrintRow("AcceptLine (combined search)", combined, corpus, grep);
    PrintRow("each filter in turn (MatchPhrase)", oneByOne, corpus, grep);
    PrintRow("grep -cvE, one alternation", grep, corpus, grep);
    const bool countsAgree = combined.count == grep.count && oneByOne.count == grep.count;
    const double times = combined.seconds / grep.seconds;
    const bool met = times <= target;
    std::printf(
        "combined: %.3f s = %.2fx grep's time (target <= %.1fx): %s; %.2fx faster than "
        "one by one%s\n",
        combined.seconds, times, target, met ? "met" : "MISSED",
        oneByOne.seconds / combined.seconds, countsAgree ? "" : "; COUNT MISMATCH");
    return met && countsAgree;
}

// The patterns as highlight filters that would start a program; the lines
// they are searched in are the new lines of one document.
bool RunActionSet(const std::vector<std::string>& patterns, double target,
                  const bench::MatcherCorpus& corpus, const std::string& file) {
    std::vector<filters::HighlightFilter> list;
    std::string alternation;
    for (const std::string& pattern : patterns) {
        filters::HighlightFilter filter =
            bench::MakeFilter(bench::Widen(pattern), true, true, false, 0x0000FF);
        filter.ExecuteProgram = true;
        filter.ExecutableProgram = u"true";
        list.push_back(std::move(filter));
        alternation += (alternation.empty() ? "" : "|") + pattern;
    }
    filters::CHighlightFilters highlight;
    highlight.Replace(std::move(list));
    filters::ActionDocument document;
    document.path = u"/var/log/bench.log";
    document.foldedPath = document.path;
    document.logName = document.path;
    document.lineAt = [&](int line) -> std::u16string_view {
        return corpus.lines[static_cast<std::size_t>(line)];
    };
    const filters::HighlightActionPorts ports{platform::SystemClock::Instance()};
    const int last = static_cast<int>(corpus.lines.size()) - 1;
    const bench::Timed actions = bench::BestOf([&] {
        filters::RunHighlightActions(highlight, document, 0, last, ports);
        return 0L;
    });
    const bench::Timed grep =
        bench::BestOf([&] { return bench::RunGrep("-cE", alternation, file); });
    const double times = actions.seconds / grep.seconds;
    std::printf("\nhighlight filters with an action: %zu that match nothing\n", patterns.size());
    std::printf(
        "RunHighlightActions over every line: %.3f s; grep -cE: %.3f s (%ld lines); "
        "%.2fx grep's time (target <= %.1fx): %s\n",
        actions.seconds, grep.seconds, grep.count, times, target,
        times <= target ? "met" : "MISSED");
    return times <= target;
}

}  // namespace

int main() {
    const bench::MatcherCorpus corpus = bench::MatcherCorpus::Generate(LineCount());
    const std::optional<std::string> file = bench::WriteTempFile(corpus.utf8Text);
    if (!file) {
        std::fprintf(stderr, "cannot write the temporary text file\n");
        return 1;
    }
    std::printf(
        "%zu lines, %zu characters (%.1f MB as UTF-8); best of %d runs each; "
        "multi-pattern prefilter: %s\n",
        corpus.lines.size(), corpus.characters, corpus.utf8Text.size() / 1e6, bench::kRepetitions,
        filters::PhrasePrefilter::Available() ? "vectorscan" : "none (PCRE2 alone)");
    std::printf("accepted = lines kept; MB/s of UTF-16 text; ratio = speed / grep's speed\n");
    RunSet("patterns.txt", bench::LoadPatterns(), 1.5, corpus, *file);
    RunSet("a hundred that match nothing", NeverMatchingPatterns(), 2.0, corpus, *file);
    RunActionSet(NeverMatchingPatterns(), 2.0, corpus, *file);
    unlink(file->c_str());
    return 0;
}
