// Highlight colouring of a screen (60 lines of 200 characters) with ten
// filters of every kind, and "Show as" replacement over many appended lines.
// Baselines measured in the same run: matching the same filters against the
// same lines (what deciding "does it occur" costs, without positions or
// runs), and appending the same lines to the buffer (the work a following
// document does for them anyway).

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "LogGenerator.h"
#include "core/CrystalTextBuffer.h"
#include "core/HighlightShowAs.h"
#include "filters/HighlightColorizer.h"
#include "highlight_bench_filters.h"

namespace {

constexpr int kScreenLines = 60;
constexpr std::size_t kLineLength = 200;
constexpr int kScreens = 50;
constexpr std::size_t kShowAsLines = 200'000;

using bench::MakeFilter;
using bench::ShowAs;

// Plain with case, caseless, expressions, and entire-line filters of each kind.
std::vector<filters::HighlightFilter> TenFilters() {
    return {
        MakeFilter(u"ERROR", true, false, false, 0x0000FF),
        MakeFilter(u"Exception", true, false, false, 0x0040C0),
        MakeFilter(u"timeout", false, false, false, 0x00C0C0),
        MakeFilter(u"refused", false, false, false, 0xC000C0),
        MakeFilter(u"warn", false, false, false, 0x00A0FF),
        MakeFilter(u"status=5\\d\\d", false, true, false, 0x2020FF),
        MakeFilter(u"user=(alice|bob)\\d+", true, true, false, 0xFF8000),
        MakeFilter(u"\\d+ms", true, true, false, 0x808080),
        MakeFilter(u"outofmemoryerror", false, false, true, 0xFFFFFF),
        MakeFilter(u"disk usage at 9\\d%", false, true, true, 0x00FFFF),
    };
}

// Generated lines joined and cut so that every line has exactly 200 characters.
std::vector<std::u16string> FullLines(std::size_t count) {
    bench::LogGenerator generator;
    std::vector<std::u16string> lines;
    lines.reserve(count);
    while (lines.size() < count) {
        std::string line = generator.NextLine();
        while (line.size() < kLineLength) line += " | " + generator.NextLine();
        line.resize(kLineLength);
        lines.push_back(bench::LogGenerator::Widen(line));
    }
    return lines;
}

const std::vector<std::u16string>& ScreenLines() {
    static const std::vector<std::u16string> lines = FullLines(kScreens * kScreenLines);
    return lines;
}

const filters::CHighlightFilters& Filters() {
    static const filters::CHighlightFilters list = [] {
        filters::CHighlightFilters filters;
        filters.Replace(TenFilters());
        return filters;
    }();
    return list;
}

void ReportPerLine(benchmark::State& state, std::int64_t linesPerIteration) {
    state.SetItemsProcessed(state.iterations() * linesPerIteration);
    state.counters["per_line"] =
        benchmark::Counter(static_cast<double>(state.iterations() * linesPerIteration),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

// One iteration colours one screen as the view does when it paints.
void BM_ColorizeScreen(benchmark::State& state) {
    const auto& lines = ScreenLines();
    const filters::CHighlightFilters& list = Filters();
    const filters::HighlightOptions options;
    filters::HighlightRunList runs;
    std::size_t screen = 0;
    std::int64_t runCount = 0;
    for (auto _ : state) {
        const std::size_t first = (screen++ % kScreens) * kScreenLines;
        for (std::size_t i = first; i < first + kScreenLines; ++i) {
            filters::LineColors colors{0x000000, 0xFFFFFF};
            runs.clear();
            filters::ColorizeLine(list, lines[i], options, filters::ColorizeMode::Drawing, colors,
                                  runs);
            colors.bkgColor =
                filters::FinalLineBackground(options, runs, colors.bkgColor, 0xFFFFFF);
            runCount += static_cast<std::int64_t>(runs.size());
            benchmark::DoNotOptimize(colors);
        }
    }
    ReportPerLine(state, kScreenLines);
    state.counters["runs_per_line"] =
        static_cast<double>(runCount) / static_cast<double>(state.iterations() * kScreenLines);
}
BENCHMARK(BM_ColorizeScreen)->Unit(benchmark::kMicrosecond);

// Navigation mode: entire-line filters also give runs.
void BM_ColorizeScreenNavigation(benchmark::State& state) {
    const auto& lines = ScreenLines();
    const filters::CHighlightFilters& list = Filters();
    const filters::HighlightOptions options;
    filters::HighlightRunList runs;
    std::size_t screen = 0;
    for (auto _ : state) {
        const std::size_t first = (screen++ % kScreens) * kScreenLines;
        for (std::size_t i = first; i < first + kScreenLines; ++i) {
            filters::LineColors colors{0x000000, 0xFFFFFF};
            runs.clear();
            filters::ColorizeLine(list, lines[i], options, filters::ColorizeMode::Navigation,
                                  colors, runs);
            benchmark::DoNotOptimize(runs.data());
        }
    }
    ReportPerLine(state, kScreenLines);
}
BENCHMARK(BM_ColorizeScreenNavigation)->Unit(benchmark::kMicrosecond);

// Baseline: only whether each of the ten filters occurs in each line.
void BM_BaselineMatchScreen(benchmark::State& state) {
    const auto& lines = ScreenLines();
    const filters::CHighlightFilters& list = Filters();
    std::size_t screen = 0;
    for (auto _ : state) {
        const std::size_t first = (screen++ % kScreens) * kScreenLines;
        int matches = 0;
        for (std::size_t i = first; i < first + kScreenLines; ++i) {
            for (const auto& filter : list.Items()) {
                matches += filters::MatchPhrase(filter.phrase, lines[i]) ? 1 : 0;
            }
        }
        benchmark::DoNotOptimize(matches);
    }
    ReportPerLine(state, kScreenLines);
}
BENCHMARK(BM_BaselineMatchScreen)->Unit(benchmark::kMicrosecond);

struct AppendedLog {
    std::vector<std::u16string> lines;  // each with its LF
};

const AppendedLog& Log() {
    static const AppendedLog log = [] {
        AppendedLog l;
        bench::LogGenerator generator(7);
        for (const auto& line : generator.Lines(kShowAsLines)) {
            l.lines.push_back(bench::LogGenerator::Widen(line + "\n"));
        }
        return l;
    }();
    return log;
}

void AppendAll(core::CCrystalTextBuffer& buffer) {
    core::TextPos end;
    for (const auto& line : Log().lines) buffer.InsertTextAt(nullptr, end, line, end, 0, false);
}

// Two "Show as" filters (a caseless phrase and an expression) among the ten,
// replacing in every appended line.
void BM_ApplyShowAs(benchmark::State& state) {
    std::vector<filters::HighlightFilter> list = TenFilters();
    list.push_back(ShowAs(u"password", false, u"********"));
    list.push_back(ShowAs(u"session [0-9a-f]{8}", true, u"session <id>"));
    filters::CHighlightFilters filters;
    filters.Replace(std::move(list));
    core::CCrystalTextBuffer buffer;
    int redrawn = 0;
    for (auto _ : state) {
        state.PauseTiming();
        buffer.FreeAll();
        buffer.ResetEmpty();
        AppendAll(buffer);
        redrawn = 0;
        state.ResumeTiming();
        core::ApplyShowAs(filters, buffer, 0, buffer.LineCount() - 1, [&](int) { ++redrawn; });
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(kShowAsLines));
    state.counters["lines_changed"] = redrawn;
}
BENCHMARK(BM_ApplyShowAs)->Unit(benchmark::kMillisecond)->Iterations(5);

// Baseline: appending the same lines to the buffer.
void BM_BaselineAppendLines(benchmark::State& state) {
    core::CCrystalTextBuffer buffer;
    for (auto _ : state) {
        state.PauseTiming();
        buffer.FreeAll();
        buffer.ResetEmpty();
        state.ResumeTiming();
        AppendAll(buffer);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(kShowAsLines));
}
BENCHMARK(BM_BaselineAppendLines)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

BENCHMARK_MAIN();
