#pragma once
// Latency runs of the macro drivers: when each line was written and when it
// got somewhere, summed up as the median and the longest wait.

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace bench {

// Nanoseconds on the steady clock.
inline std::int64_t NowNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

struct LatencyFigures {
    double median = 0;
    double longest = 0;
    int missing = 0;
};

// Milliseconds from written[i] to at[i]; a line whose at[i] is 0 never got there.
inline LatencyFigures SummarizeLatency(const std::vector<std::atomic<std::int64_t>>& written,
                                       const std::vector<std::int64_t>& at) {
    std::vector<double> ms;
    LatencyFigures f;
    for (std::size_t i = 0; i < at.size() && i < written.size(); ++i) {
        if (at[i] == 0) {
            ++f.missing;
            continue;
        }
        ms.push_back(static_cast<double>(at[i] - written[i].load()) / 1e6);
    }
    if (ms.empty()) return f;
    std::sort(ms.begin(), ms.end());
    f.median = ms[ms.size() / 2];
    f.longest = ms.back();
    return f;
}

inline void PrintLatency(const char* name, int nameWidth, const LatencyFigures& f) {
    std::printf("  %-*s median %7.2f ms   longest %7.2f ms", nameWidth, name, f.median, f.longest);
    if (f.missing > 0) std::printf("   (%d lines never got there)", f.missing);
    std::printf("\n");
}

}  // namespace bench
