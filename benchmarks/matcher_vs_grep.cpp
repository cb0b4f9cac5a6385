// Macro driver: the phrase matcher against GNU grep in the C locale, on the
// same generated log lines, measured in one run. The matcher tests each line
// with MatchPhrase as include/exclude filtering does; grep counts matching
// lines of the same text written as UTF-8 to a temporary file. Both speeds are
// lines per second over the same lines (and so the same characters); grep's
// time includes starting the process and reading the cached file.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "filters/FilterPhrase.h"
#include "grep_baseline.h"
#include "matcher_corpus.h"

namespace {

constexpr std::size_t kDefaultLines = 500'000;

struct Case {
    std::string label;
    std::string phrase;
    bool matchCase;
    bool regularExpression;
    std::string grepOption;
    double target;  // the least acceptable ratio of speeds, 0 for none
};

long CountMatches(const filters::FilterPhrase& filter, const std::vector<std::u16string>& lines) {
    long count = 0;
    for (const std::u16string& line : lines) count += filters::MatchPhrase(filter, line) ? 1 : 0;
    return count;
}

std::vector<Case> MakeCases() {
    std::vector<Case> cases{{"plain ERROR", "ERROR", true, false, "-c", 0},
                            {"caseless plain error", "error", false, false, "-ci", 0.5}};
    std::string alternation;
    for (const std::string& pattern : bench::LoadPatterns()) {
        cases.push_back({"regex " + pattern, pattern, true, true, "-cE", 0.25});
        alternation += (alternation.empty() ? "" : "|") + pattern;
    }
    cases.push_back({"regex: the ten as one alternation", alternation, true, true, "-cE", 0.25});
    cases.push_back({"caseless regex timeout", "timeout", false, true, "-ciE", 0});
    return cases;
}

// Returns false when the case misses its target or the counts differ.
bool RunCase(const Case& c, const bench::MatcherCorpus& corpus, const std::string& file) {
    filters::FilterPhrase filter;
    filter.Assign(bench::Widen(c.phrase), c.matchCase, c.regularExpression);
    const bench::Timed ours = bench::BestOf([&] { return CountMatches(filter, corpus.lines); });
    const bench::Timed grep =
        bench::BestOf([&] { return bench::RunGrep(c.grepOption, c.phrase, file); });
    const double lines = static_cast<double>(corpus.lines.size());
    const double ratio = grep.seconds / ours.seconds;
    const bool countsAgree = ours.count == grep.count;
    const bool met = c.target == 0 || ratio >= c.target;
    std::printf("%-36s %8ld %8ld %9.2f %9.2f %7.2fx %6s %s\n", c.label.c_str(), ours.count,
                grep.count, lines / ours.seconds / 1e6, lines / grep.seconds / 1e6, ratio,
                c.target == 0 ? "-" : (std::to_string(c.target).substr(0, 4) + "x").c_str(),
                !countsAgree ? "COUNT MISMATCH"
                : met        ? "ok"
                             : "BELOW TARGET");
    return countsAgree && met;
}

std::size_t LineCount() {
    const char* value = std::getenv("TARVIK_MATCHER_LINES");
    const long parsed = value != nullptr ? std::strtol(value, nullptr, 10) : 0;
    return parsed > 0 ? static_cast<std::size_t>(parsed) : kDefaultLines;
}

}  // namespace

int main() {
    const bench::MatcherCorpus corpus = bench::MatcherCorpus::Generate(LineCount());
    const std::optional<std::string> file = bench::WriteTempFile(corpus.utf8Text);
    if (!file) {
        std::fprintf(stderr, "cannot write the temporary text file\n");
        return 1;
    }
    std::printf("%zu lines, %zu characters (%.1f MB as UTF-8); best of %d runs each\n",
                corpus.lines.size(), corpus.characters, corpus.utf8Text.size() / 1e6,
                bench::kRepetitions);
    std::printf("speed = million lines per second over the same lines; ratio = ours / grep\n");
    std::printf("%-36s %8s %8s %9s %9s %8s %6s\n", "case", "ours", "grep", "ours M/s", "grep M/s",
                "ratio", "target");
    bool allMet = true;
    for (const Case& c : MakeCases()) allMet = RunCase(c, corpus, *file) && allMet;
    unlink(file->c_str());
    std::printf("%s\n", allMet ? "all targets met" : "some targets missed");
    return 0;
}
