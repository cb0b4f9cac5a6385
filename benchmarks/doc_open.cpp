// Macro driver: opening a 1 GiB log (UTF-16LE and UTF-8, real generated
// text) as a document with the default buffer limit, from the call to the
// loaded buffer, next to `tail -c 10485760 FILE | wc -l` on the same file in
// the same run. The files are made once under /tmp and kept for later runs.

#include <cstdio>
#include <string>

#include "core/DocContext.h"
#include "core/TarvikDoc.h"
#include "doc_bench_support.h"
#include "filters/InExFilterList.h"
#include "platform/CodePage.h"
#include "platform/IClock.h"
#include "settings/Options.h"

namespace {

constexpr std::uint64_t kFileBytes = 1ull << 30;
constexpr int kRepetitions = 5;
constexpr double kTargetRatio = 5.0;

struct Opened {
    double seconds = -1;
    int lines = 0;
    std::uint64_t readPosition = 0;
};

Opened OpenOnce(const std::string& path) {
    settings::Options options;
    filters::CInExFilters filters;
    core::DocContext context{options, filters, platform::SystemClock::Instance()};
    core::CTarvikDoc doc(context);
    const auto start = bench::Clock::now();
    const bool opened = doc.OnOpenDocument(platform::Utf8ToUtf16(path));
    const double seconds = bench::SecondsSince(start);
    if (!opened) return {};
    return {seconds, doc.Buffer().LineCount(), doc.ReadPosition()};
}

bool Compare(const char* label, const std::string& path) {
    Opened best;
    for (int i = 0; i < kRepetitions; ++i) {
        const Opened run = OpenOnce(path);
        if (run.seconds < 0) {
            std::printf("%-10s cannot open %s\n", label, path.c_str());
            return false;
        }
        if (best.seconds < 0 || run.seconds < best.seconds) best = run;
    }
    std::string tailLines;
    const double tail = bench::BestSeconds(kRepetitions, [&] {
        const bench::ShellRun run = bench::RunShell("tail -c 10485760 '" + path + "' | wc -l");
        tailLines = run.output.substr(0, run.output.find('\n'));
        return run.ok ? run.seconds : -1.0;
    });
    const double ratio = best.seconds / tail;
    const bool met = tail > 0 && ratio <= kTargetRatio;
    std::printf(
        "%-10s %8.1f ms %8d lines | tail|wc %7.1f ms %8s lines | %6.2fx (target <= %.0fx) %s\n",
        label, best.seconds * 1e3, best.lines, tail * 1e3, tailLines.c_str(), ratio, kTargetRatio,
        met ? "ok" : "MISSED");
    return met;
}

}  // namespace

int main() {
    const std::string utf16 = bench::EnsureLogFile("log-1gib-utf16.log", true, kFileBytes);
    const std::string utf8 = bench::EnsureLogFile("log-1gib-utf8.log", false, kFileBytes);
    if (utf16.empty() || utf8.empty()) {
        std::fprintf(stderr, "cannot write the 1 GiB files under %s\n",
                     bench::BenchFolder().c_str());
        return 1;
    }
    std::printf("opening 1 GiB files, default limit; best of %d runs; ratio = ours / tail\n",
                kRepetitions);
    bool allMet = Compare("UTF-16LE", utf16);
    allMet = Compare("UTF-8", utf8) && allMet;
    std::printf("%s\n", allMet ? "all targets met" : "some targets missed");
    return 0;
}
