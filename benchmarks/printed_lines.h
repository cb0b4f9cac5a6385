#pragma once
// What a follower of the macro drivers prints into its pipe, counted as it
// comes: the lines, and when the writer's last line appeared; at the end, the
// processor time the follower took.

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "latency_figures.h"

namespace bench {

struct Printer {
    const char* name;
    pid_t pid = -1;
    int out = -1;
    std::atomic<std::size_t> lines{0};
    std::atomic<std::int64_t> lastNs{0};  // when `last` was printed
};

// Counts what printer prints until its output ends and notes when `last`
// came (also when a read cuts it in two).
inline void WatchPrinted(Printer& printer, std::string_view last) {
    std::vector<char> buffer(1 << 20);
    std::string carry;  // the end of the previous read
    for (;;) {
        const ssize_t got = read(printer.out, buffer.data(), buffer.size());
        if (got <= 0) return;
        const std::string_view piece(buffer.data(), static_cast<std::size_t>(got));
        printer.lines += static_cast<std::size_t>(std::count(piece.begin(), piece.end(), '\n'));
        if (printer.lastNs != 0) continue;
        std::string seen = carry;
        seen.append(piece);
        if (seen.find(last) != std::string::npos) printer.lastNs = NowNs();
        carry = seen.substr(seen.size() - std::min(seen.size(), last.size()));
    }
}

// Ends printer (SIGTERM) and gives the processor time it and the children it
// waited for took, in milliseconds; -1 when it was not running.
inline double EndPrinter(Printer& printer) {
    if (printer.pid <= 0) return -1;
    kill(printer.pid, SIGTERM);
    rusage usage{};
    if (wait4(printer.pid, nullptr, 0, &usage) != printer.pid) return -1;
    printer.pid = -1;
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
}

}  // namespace bench
