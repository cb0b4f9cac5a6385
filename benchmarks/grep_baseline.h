#pragma once
// The outside baseline of the filter benchmarks: GNU grep in the C locale,
// run on the same lines written as UTF-8, timed in the same run, best of a
// few repetitions. grep's time includes starting the process and reading the
// cached file.

#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "process_output.h"

namespace bench {

inline constexpr int kRepetitions = 5;

struct Timed {
    double seconds = 0;
    long count = -1;
};

inline Timed BestOf(const std::function<long()>& run, int repetitions = kRepetitions) {
    using Clock = std::chrono::steady_clock;
    Timed best{1e300, -1};
    for (int i = 0; i < repetitions; ++i) {
        const auto start = Clock::now();
        const long count = run();
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        if (seconds < best.seconds) best = {seconds, count};
    }
    return best;
}

// Runs grep with LC_ALL=C and returns the count it prints, or -1.
inline long RunGrep(const std::string& option, const std::string& pattern,
                    const std::string& file) {
    const ProcessOutput run = RunProgram({"grep", option, pattern, file});
    if (!run.started || run.output.empty()) return -1;
    return std::strtol(run.output.c_str(), nullptr, 10);
}

// Writes text to a new temporary file and returns its path.
inline std::optional<std::string> WriteTempFile(const std::string& text) {
    const char* dir = std::getenv("TMPDIR");
    std::string path = std::string(dir != nullptr ? dir : "/tmp") + "/tarvik-bench-XXXXXX";
    const int fd = mkstemp(path.data());
    if (fd < 0) return std::nullopt;
    const bool ok = write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    close(fd);
    if (!ok) return std::nullopt;
    return path;
}

}  // namespace bench
