#pragma once
// Shared pieces of the document benchmarks: large generated log files kept
// under /tmp between runs, running a shell baseline and timing it, the best
// of several runs, and the resident set size of this process.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "LogGenerator.h"
#include "process_output.h"

namespace bench {

using Clock = std::chrono::steady_clock;

inline double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

inline std::string BenchFolder() {
    const char* tmp = std::getenv("TMPDIR");
    std::string folder = std::string(tmp != nullptr ? tmp : "/tmp") + "/tarvik-doc-bench";
    mkdir(folder.c_str(), 0700);
    return folder;
}

inline std::uint64_t FileSize(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 ? static_cast<std::uint64_t>(st.st_size) : 0;
}

inline bool WriteAll(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// Generated log lines as file bytes: UTF-8 (plain ASCII) or UTF-16LE with a
// byte-order mark, LF line breaks.
class LogFileWriter {
public:
    explicit LogFileWriter(bool utf16, std::uint64_t seed = 7) : utf16_(utf16), generator_(seed) {}

    std::string Start() const { return utf16_ ? std::string("\xFF\xFE", 2) : std::string(); }

    // About `bytes` bytes of whole lines.
    std::string Next(std::size_t bytes) {
        std::string out;
        out.reserve(bytes + 512);
        while (out.size() < bytes) {
            const std::string line = generator_.NextLine() + "\n";
            if (!utf16_) {
                out += line;
                continue;
            }
            for (char c : line) {
                out.push_back(c);
                out.push_back('\0');
            }
        }
        return out;
    }

private:
    bool utf16_;
    LogGenerator generator_;
};

// A new file in the benchmark folder holding one first line, as a follower
// finds it before the writer starts.
inline std::string FreshFile(const std::string& name, const std::string& firstLine) {
    const std::string path = BenchFolder() + "/" + name;
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd >= 0) {
        WriteAll(fd, firstLine);
        close(fd);
    }
    return path;
}

// A file of real generated text of at least `bytes` bytes, made once and kept
// for later runs; written under a temporary name so that an interrupted run
// never leaves a short file behind. Empty on failure.
inline std::string EnsureLogFile(const std::string& name, bool utf16, std::uint64_t bytes) {
    const std::string path = BenchFolder() + "/" + name;
    if (FileSize(path) >= bytes) return path;
    const std::string partial = path + ".partial";
    const int fd = open(partial.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) return {};
    LogFileWriter writer(utf16);
    bool ok = WriteAll(fd, writer.Start());
    for (std::uint64_t written = 0; ok && written < bytes;) {
        const std::string block = writer.Next(8 << 20);
        ok = WriteAll(fd, block);
        written += block.size();
    }
    ok = close(fd) == 0 && ok;
    if (!ok || rename(partial.c_str(), path.c_str()) != 0) {
        unlink(partial.c_str());
        return {};
    }
    return path;
}

struct ShellRun {
    double seconds = 0;
    std::string output;
    bool ok = false;
};

// Runs `command` with sh in the C locale, collecting its standard output.
inline ShellRun RunShell(const std::string& command) {
    const auto start = Clock::now();
    ProcessOutput process = RunProgram({"sh", "-c", command});
    ShellRun run;
    run.seconds = SecondsSince(start);
    run.output = std::move(process.output);
    run.ok = process.ok;
    return run;
}

// The shortest of `repetitions` timings; `run` returns seconds, or a negative
// value when the run failed.
inline double BestSeconds(int repetitions, const std::function<double()>& run) {
    double best = -1;
    for (int i = 0; i < repetitions; ++i) {
        const double seconds = run();
        if (seconds < 0) return -1;
        if (best < 0 || seconds < best) best = seconds;
    }
    return best;
}

// Resident set size of this process in bytes, from /proc/self/statm.
inline std::uint64_t ResidentBytes() {
    std::FILE* f = std::fopen("/proc/self/statm", "r");
    if (f == nullptr) return 0;
    unsigned long long total = 0, resident = 0;
    const int read = std::fscanf(f, "%llu %llu", &total, &resident);
    std::fclose(f);
    return read == 2 ? resident * static_cast<std::uint64_t>(sysconf(_SC_PAGESIZE)) : 0;
}

}  // namespace bench
