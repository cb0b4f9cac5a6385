#pragma once
// Real journals for the journal benchmarks: entries in the export format and
// folders of them written by systemd-journal-remote, the system's own
// writer, kept under the benchmark folder for later runs.

#include <sys/stat.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <string_view>

#include "doc_bench_support.h"

namespace bench {

inline constexpr char kJournalWriter[] = "/lib/systemd/systemd-journal-remote";

// One entry of several hosts, identifiers, units and priorities (by i) in
// the export format, with its blank line.
inline std::string ExportEntry(int i, std::string_view message) {
    const std::uint64_t usec = 1796777206000000ull + static_cast<std::uint64_t>(i) * 1000;
    return "__REALTIME_TIMESTAMP=" + std::to_string(usec) +
           "\n__MONOTONIC_TIMESTAMP=" + std::to_string(i + 1) +
           "\n_BOOT_ID=0123456789abcdef0123456789abcdef\n_HOSTNAME=web" + std::to_string(i % 3) +
           "\nSYSLOG_IDENTIFIER=service" + std::to_string(i % 7) +
           "\n_PID=" + std::to_string(1000 + i % 50) + "\nPRIORITY=" + std::to_string(i % 8) +
           "\n_SYSTEMD_UNIT=unit" + std::to_string(i % 5) +
           ".service\nMESSAGE=" + std::string(message) + "\n\n";
}

// Writes count entries into a folder once; the folder's name says how many,
// a marker that it is whole. Empty when the writer failed.
inline std::string EnsureJournal(int count) {
    const std::string folder = BenchFolder() + "/journal-" + std::to_string(count);
    const std::string done = folder + "/complete";
    struct stat status {};
    if (stat(done.c_str(), &status) == 0) return folder;
    RunShell("rm -rf '" + folder + "'");
    mkdir(folder.c_str(), 0700);
    std::fprintf(stderr, "writing %d journal entries into %s (once)\n", count, folder.c_str());
    const std::string input = BenchFolder() + "/journal.export";
    const int kChunk = 100000;
    for (int first = 0; first < count; first += kChunk) {
        std::string text;
        for (int i = first; i < first + kChunk && i < count; ++i) {
            text += ExportEntry(i, "request " + std::to_string(i) + " served in " +
                                       std::to_string(i % 997) + " ms for client 10.0.0." +
                                       std::to_string(i % 250) + std::string(i % 40, '.'));
        }
        std::ofstream(input, std::ios::binary) << text;
        if (!RunShell(std::string(kJournalWriter) + " --output='" + folder + "/x.journal' - < '" +
                      input + "' 2>/dev/null")
                 .ok) {
            return {};
        }
    }
    std::remove(input.c_str());
    std::ofstream(done) << count;
    return folder;
}

}  // namespace bench
