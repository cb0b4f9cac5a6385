// Macro driver: include/exclude filtering of generated log lines with the ten
// patterns of patterns.txt as ten separate exclude filters, against GNU grep
// in the C locale counting the lines that match none of them (-cvE with the
// ten as one alternation) in the same lines written as UTF-8, in one run.
// The naive walk, testing each filter in turn with MatchPhrase, runs beside
// them for comparison. Speeds are over the same lines; grep's time includes
// starting the process and reading the cached file.

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "filters/InExFilterList.h"
#include "grep_baseline.h"
#include "matcher_corpus.h"

namespace {

constexpr std::size_t kDefaultLines = 500'000;
constexpr double kTargetRatio = 0.25;

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

void PrintRow(const char* label, const bench::Timed& timed, const bench::MatcherCorpus& corpus,
              const bench::Timed& grep) {
    const double lines = static_cast<double>(corpus.lines.size());
    const double utf16Bytes = 2.0 * static_cast<double>(corpus.characters);
    std::printf("%-34s %9ld %9.2f %9.1f %7.2fx\n", label, timed.count, lines / timed.seconds / 1e6,
                utf16Bytes / timed.seconds / 1e6, grep.seconds / timed.seconds);
}

}  // namespace

int main() {
    const bench::MatcherCorpus corpus = bench::MatcherCorpus::Generate(LineCount());
    const std::optional<std::string> file = bench::WriteTempFile(corpus.utf8Text);
    if (!file) {
        std::fprintf(stderr, "cannot write the temporary text file\n");
        return 1;
    }
    std::vector<filters::InExFilter> exclude;
    std::string alternation;
    for (const std::string& pattern : bench::LoadPatterns()) {
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
        bench::BestOf([&] { return bench::RunGrep("-cvE", alternation, *file); });
    unlink(file->c_str());

    std::printf(
        "%zu lines, %zu characters (%.1f MB as UTF-8); %zu exclude filters; "
        "best of %d runs each\n",
        corpus.lines.size(), corpus.characters, corpus.utf8Text.size() / 1e6,
        filters.Exclude().size(), bench::kRepetitions);
    std::printf("accepted = lines kept; MB/s of UTF-16 text; ratio = speed / grep's speed\n");
    std::printf("%-34s %9s %9s %9s %8s\n", "case", "accepted", "M lines/s", "MB/s", "ratio");
    PrintRow("AcceptLine (combined search)", combined, corpus, grep);
    PrintRow("each filter in turn (MatchPhrase)", oneByOne, corpus, grep);
    PrintRow("grep -cvE, one alternation", grep, corpus, grep);
    const bool countsAgree = combined.count == grep.count && oneByOne.count == grep.count;
    const double ratio = grep.seconds / combined.seconds;
    std::printf("combined / one by one: %.2fx; target %.2fx of grep: %s%s\n",
                oneByOne.seconds / combined.seconds, kTargetRatio,
                ratio >= kTargetRatio ? "met" : "BELOW TARGET",
                countsAgree ? "" : "; COUNT MISMATCH");
    return 0;
}
