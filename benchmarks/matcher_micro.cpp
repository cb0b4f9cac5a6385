// Micro benchmarks of the phrase matcher on generated log lines: one compiled
// filter reused over the same lines; items per second are lines per second.

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "filters/AsciiFold.h"
#include "filters/FilterPhrase.h"
#include "matcher_corpus.h"

namespace {

constexpr std::size_t kLines = 20'000;

const bench::MatcherCorpus& Corpus() {
    static const bench::MatcherCorpus corpus = bench::MatcherCorpus::Generate(kLines);
    return corpus;
}

// The corpus lines with a lone high surrogate in the middle of each, which
// sends every search through the repaired copy.
const std::vector<std::u16string>& DamagedLines() {
    static const std::vector<std::u16string> lines = [] {
        std::vector<std::u16string> damaged = Corpus().lines;
        for (std::u16string& line : damaged) line[line.size() / 2] = 0xD800;
        return damaged;
    }();
    return lines;
}

filters::FilterPhrase MakeFilter(const std::string& phrase, bool matchCase, bool regex) {
    filters::FilterPhrase filter;
    filter.Assign(bench::Widen(phrase), matchCase, regex);
    return filter;
}

void MatchLines(benchmark::State& state, const filters::FilterPhrase& filter,
                const std::vector<std::u16string>& lines) {
    for (auto _ : state) {
        long found = 0;
        for (const std::u16string& line : lines) found += filters::MatchPhrase(filter, line);
        benchmark::DoNotOptimize(found);
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * lines.size()));
}

void RegisterMatch(const std::string& name, const std::string& phrase, bool matchCase, bool regex) {
    const filters::FilterPhrase filter = MakeFilter(phrase, matchCase, regex);
    benchmark::RegisterBenchmark(
        ("MatchPhrase/" + name).c_str(),
        [filter](benchmark::State& state) { MatchLines(state, filter, Corpus().lines); });
}

void BM_ScanOccurrencesRegex(benchmark::State& state) {
    const filters::FilterPhrase filter = MakeFilter("[0-9]+", true, true);
    for (auto _ : state) {
        std::size_t total = 0;
        for (const std::u16string& line : Corpus().lines) {
            total += filters::ScanOccurrences(filter, line).size();
        }
        benchmark::DoNotOptimize(total);
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * kLines));
}
BENCHMARK(BM_ScanOccurrencesRegex);

void BM_MatchRegexDamagedLines(benchmark::State& state) {
    MatchLines(state, MakeFilter("session [0-9a-f]{8} expired", true, true), DamagedLines());
}
BENCHMARK(BM_MatchRegexDamagedLines);

void BM_FoldAsciiLower(benchmark::State& state) {
    std::u16string folded;
    for (auto _ : state) {
        for (const std::u16string& line : Corpus().lines) {
            folded = line;
            filters::FoldAsciiLower(folded);
            benchmark::DoNotOptimize(folded.data());
        }
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * kLines));
}
BENCHMARK(BM_FoldAsciiLower);

}  // namespace

int main(int argc, char** argv) {
    RegisterMatch("plain ERROR", "ERROR", true, false);
    RegisterMatch("caseless plain error", "error", false, false);
    RegisterMatch("caseless regex error", "error", false, true);
    for (const std::string& pattern : bench::LoadPatterns()) {
        RegisterMatch("regex " + pattern, pattern, true, true);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
