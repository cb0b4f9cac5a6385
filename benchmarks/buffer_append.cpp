// Appending log text to the line buffer the way a followed document does: at
// the end position, without undo, views notified. Throughput is UTF-16 bytes
// appended per second; the baselines (copying the same text into one string,
// and into a vector of strings) give the ratios to judge it by.

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "LogGenerator.h"
#include "core/CrystalTextBuffer.h"

namespace {

constexpr std::size_t kLineCount = 1'000'000;
constexpr int kBufferLimitBytes = 20 * 1024 * 1024;
constexpr int kRetainLines = 10;

struct LogText {
    std::vector<std::u16string> lines;  // each with its LF
    std::u16string joined;
    std::int64_t bytes = 0;
};

const LogText& Text() {
    static const LogText text = [] {
        LogText t;
        bench::LogGenerator generator;
        const std::vector<std::string> lines = generator.Lines(kLineCount);
        t.lines.reserve(lines.size());
        for (const auto& line : lines) t.lines.push_back(bench::LogGenerator::Widen(line + "\n"));
        t.joined = bench::LogGenerator::Widen(bench::LogGenerator::Join(lines));
        t.bytes = static_cast<std::int64_t>(t.joined.size() * sizeof(char16_t));
        return t;
    }();
    return text;
}

void Append(core::CCrystalTextBuffer& buffer, core::TextPos& end, std::u16string_view text) {
    buffer.InsertTextAt(nullptr, end, text, end, 0, false, true);
}

void StartIteration(benchmark::State& state, core::CCrystalTextBuffer& buffer) {
    state.PauseTiming();
    buffer.FreeAll();
    buffer.ResetEmpty();
    state.ResumeTiming();
}

void Report(benchmark::State& state, const core::CCrystalTextBuffer& buffer) {
    state.SetBytesProcessed(state.iterations() * Text().bytes);
    state.counters["lines_kept"] = buffer.LineCount();
}

void BM_AppendLinePerCall(benchmark::State& state) {
    const LogText& text = Text();
    core::CCrystalTextBuffer buffer;
    for (auto _ : state) {
        StartIteration(state, buffer);
        core::TextPos end;
        for (const auto& line : text.lines) Append(buffer, end, line);
    }
    Report(state, buffer);
}
BENCHMARK(BM_AppendLinePerCall)->Unit(benchmark::kMillisecond)->Iterations(3);

// Chunks of a fixed number of code units, cut anywhere: most chunks end inside
// a line that the next chunk completes.
void BM_AppendChunked(benchmark::State& state) {
    const LogText& text = Text();
    const auto chunkUnits = static_cast<std::size_t>(state.range(0));
    const std::u16string_view all = text.joined;
    core::CCrystalTextBuffer buffer;
    for (auto _ : state) {
        StartIteration(state, buffer);
        core::TextPos end;
        for (std::size_t at = 0; at < all.size(); at += chunkUnits) {
            Append(buffer, end, all.substr(at, chunkUnits));
        }
    }
    Report(state, buffer);
}
BENCHMARK(BM_AppendChunked)
    ->Arg(64 * 1024)
    ->Arg(8 * 1024 * 1024)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

// A following document with a 20 MiB limit: before each append that would pass
// the limit, all lines but the last ten go, and the text size is recounted.
void BM_AppendTrimmingAtLimit(benchmark::State& state) {
    const LogText& text = Text();
    core::CCrystalTextBuffer buffer;
    for (auto _ : state) {
        StartIteration(state, buffer);
        core::TextPos end;
        std::int64_t textSize = 0;
        for (const auto& line : text.lines) {
            const auto added = static_cast<std::int64_t>(2 * line.size());
            if (textSize + added > kBufferLimitBytes) {
                const int count = buffer.LineCount();
                buffer.DeleteRange(nullptr, {0, 0}, {0, count - kRetainLines}, 0, false, true);
                buffer.ClearUndo();
                textSize = 0;
                for (int i = 0; i < buffer.LineCount(); ++i)
                    textSize += 2 * buffer.LineLength(i) + 2;
                end = {buffer.LineLength(buffer.LineCount() - 1), buffer.LineCount() - 1};
            }
            Append(buffer, end, line);
            textSize += added;
        }
    }
    Report(state, buffer);
}
BENCHMARK(BM_AppendTrimmingAtLimit)->Unit(benchmark::kMillisecond)->Iterations(3);

// The hardest trimming pattern: the buffer stays full and every appended line
// pushes the oldest line out, one deletion from the top per line.
void BM_AppendSlidingWindow(benchmark::State& state) {
    const LogText& text = Text();
    core::CCrystalTextBuffer buffer;
    for (auto _ : state) {
        StartIteration(state, buffer);
        core::TextPos end;
        std::int64_t textSize = 0;
        for (const auto& line : text.lines) {
            while (textSize > kBufferLimitBytes && buffer.LineCount() > 1) {
                textSize -= 2 * buffer.LineLength(0) + 2;
                buffer.DeleteRange(nullptr, {0, 0}, {0, 1}, 0, false, true);
                end.line -= 1;
            }
            Append(buffer, end, line);
            textSize += static_cast<std::int64_t>(2 * line.size());
        }
    }
    Report(state, buffer);
}
BENCHMARK(BM_AppendSlidingWindow)->Unit(benchmark::kMillisecond)->Iterations(3);

// Baselines: the same text copied into one string, and each line into a
// vector of strings.
void BM_BaselineCopyIntoOneString(benchmark::State& state) {
    const LogText& text = Text();
    std::u16string all;
    for (auto _ : state) {
        state.PauseTiming();
        all = std::u16string();
        state.ResumeTiming();
        for (const auto& line : text.lines) all += line;
        benchmark::DoNotOptimize(all.data());
    }
    state.SetBytesProcessed(state.iterations() * text.bytes);
}
BENCHMARK(BM_BaselineCopyIntoOneString)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_BaselineVectorOfStrings(benchmark::State& state) {
    const LogText& text = Text();
    std::vector<std::u16string> lines;
    for (auto _ : state) {
        state.PauseTiming();
        lines = std::vector<std::u16string>();
        state.ResumeTiming();
        for (const auto& line : text.lines) lines.emplace_back(line.data(), line.size() - 1);
        benchmark::DoNotOptimize(lines.data());
    }
    state.SetBytesProcessed(state.iterations() * text.bytes);
}
BENCHMARK(BM_BaselineVectorOfStrings)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
