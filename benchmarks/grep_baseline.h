#pragma once
// The outside baseline of the filter benchmarks: GNU grep in the C locale,
// run on the same lines written as UTF-8, timed in the same run, best of a
// few repetitions. grep's time includes starting the process and reading the
// cached file.

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>
#include <vector>

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
    int out[2];
    if (pipe(out) != 0) return -1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    std::vector<std::string> env{"LC_ALL=C"};
    if (const char* path = std::getenv("PATH")) env.push_back(std::string("PATH=") + path);
    std::vector<char*> envp;
    for (std::string& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);
    std::string program = "grep", opt = option, pat = pattern, name = file;
    char* argv[] = {program.data(), opt.data(), pat.data(), name.data(), nullptr};
    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, "grep", &actions, nullptr, argv, envp.data());
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    std::string output;
    char buf[64];
    for (ssize_t n; (n = read(out[0], buf, sizeof buf)) > 0;) output.append(buf, n);
    close(out[0]);
    if (spawned != 0) return -1;
    int status = 0;
    waitpid(pid, &status, 0);
    return output.empty() ? -1 : std::strtol(output.c_str(), nullptr, 10);
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
