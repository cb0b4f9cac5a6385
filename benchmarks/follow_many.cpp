// Macro driver: the cost of following many files. `tarvik-tail` and
// `tail -F` (inotify) follow the same 500 files side by side in one run while
// a writer thread of this program appends to them: first nothing (idle), then
// one line per second to each file, then 20,000 lines per second spread over
// the files. Figures: the CPU time each follower used in a phase, as a share
// of one core (from /proc/<pid>/stat), and its resident set size at the end.

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "doc_bench_support.h"

namespace {

constexpr int kFiles = 500;
constexpr double kPhaseSeconds = 6;
constexpr double kSettleSeconds = 2;
constexpr auto kWriteStep = std::chrono::milliseconds(10);
constexpr double kTargetRatio = 2;
constexpr double kFloorPercent = 0.01;

struct Follower {
    pid_t pid = -1;
    const char* name = "";
};

// Seconds of CPU (user and system) all threads of the process used so far:
// from the scheduler's nanosecond counts where the kernel keeps them, else
// from /proc/<pid>/stat in clock ticks.
double CpuSeconds(pid_t pid) {
    const std::string base = "/proc/" + std::to_string(pid);
    DIR* tasks = opendir((base + "/task").c_str());
    if (tasks != nullptr) {
        double total = 0;
        bool any = false;
        while (const dirent* entry = readdir(tasks)) {
            if (entry->d_name[0] == '.') continue;
            std::ifstream schedstat(base + "/task/" + entry->d_name + "/schedstat");
            unsigned long long ns = 0;
            if (schedstat >> ns) {
                total += static_cast<double>(ns) / 1e9;
                any = true;
            }
        }
        closedir(tasks);
        if (any) return total;
    }
    std::ifstream stat(base + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    // The command name may hold spaces: the fields start after its ')'.
    const std::size_t close = text.rfind(')');
    if (close == std::string::npos) return -1;
    std::istringstream fields(text.substr(close + 2));
    std::string field;
    unsigned long long utime = 0, stime = 0;
    for (int i = 3; i <= 15 && fields >> field; ++i) {
        if (i == 14) utime = std::strtoull(field.c_str(), nullptr, 10);
        if (i == 15) stime = std::strtoull(field.c_str(), nullptr, 10);
    }
    return static_cast<double>(utime + stime) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

double ResidentMiB(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmRSS:", 0) == 0) return std::atof(line.c_str() + 6) / 1024.0;
    }
    return -1;
}

pid_t Spawn(std::vector<std::string> arguments, const std::vector<std::string>& environment) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    std::vector<char*> argv;
    for (std::string& a : arguments) argv.push_back(a.data());
    argv.push_back(nullptr);
    std::vector<std::string> env = environment;
    std::vector<char*> envp;
    for (std::string& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);
    pid_t pid = -1;
    const int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    return spawned == 0 ? pid : -1;
}

// Appends `perSecond` lines per second in all, round robin over the files.
void Write(const std::vector<int>& fds, double perSecond, double seconds,
           std::atomic<long>& written) {
    const auto start = bench::Clock::now();
    const auto end = start + std::chrono::duration_cast<bench::Clock::duration>(
                                 std::chrono::duration<double>(seconds));
    std::size_t next = 0;
    long done = 0;
    std::string line;
    for (auto at = start; at < end; at += kWriteStep) {
        std::this_thread::sleep_until(at);
        const double due = perSecond * std::chrono::duration<double>(at - start).count();
        for (; done < static_cast<long>(due); ++done) {
            line =
                "line " + std::to_string(done) + " of the many-files run, some words to fill it\n";
            bench::WriteAll(fds[next], line);
            next = (next + 1) % fds.size();
        }
    }
    written = done;
}

}  // namespace

int main() {
    const std::string folder = bench::BenchFolder() + "/many";
    mkdir(folder.c_str(), 0700);
    std::vector<std::string> paths;
    std::vector<int> fds;
    for (int i = 0; i < kFiles; ++i) {
        paths.push_back(folder + "/file-" + std::to_string(i) + ".log");
        const int fd =
            open(paths.back().c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_APPEND | O_CLOEXEC, 0600);
        if (fd < 0) {
            std::fprintf(stderr, "cannot write %s\n", paths.back().c_str());
            return 1;
        }
        bench::WriteAll(fd, "the first line of file " + std::to_string(i) + "\n");
        fds.push_back(fd);
    }
    std::vector<std::string> env{"LC_ALL=C", "TARVIK_REGISTRY=" + folder + "/registry.db"};
    if (const char* path = std::getenv("PATH")) env.push_back(std::string("PATH=") + path);

    std::vector<std::string> tarvikArgs{TARVIK_TOOLS_DIR "/tarvik-tail", "--color", "never"};
    std::vector<std::string> tailArgs{"tail", "-F"};
    for (const std::string& p : paths) {
        tarvikArgs.push_back(p);
        tailArgs.push_back(p);
    }
    const Follower followers[] = {{Spawn(tarvikArgs, env), "tarvik-tail"},
                                  {Spawn(tailArgs, env), "tail -F (baseline)"}};
    for (const Follower& f : followers) {
        if (f.pid < 0) {
            std::fprintf(stderr, "cannot start %s\n", f.name);
            return 1;
        }
    }
    std::this_thread::sleep_for(std::chrono::duration<double>(kSettleSeconds));

    std::printf("%d files followed side by side, %.0f s per phase; CPU as %% of one core\n", kFiles,
                kPhaseSeconds);
    struct Phase {
        const char* name;
        double linesPerSecond;
    };
    const Phase phases[] = {{"idle", 0},
                            {"1 line/s per file", static_cast<double>(kFiles)},
                            {"20,000 lines/s spread", 20000}};
    for (const Phase& phase : phases) {
        double before[2], after[2];
        for (int i = 0; i < 2; ++i) before[i] = CpuSeconds(followers[i].pid);
        std::atomic<long> written{0};
        Write(fds, phase.linesPerSecond, kPhaseSeconds, written);
        // What was written last is read before the phase is closed.
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        for (int i = 0; i < 2; ++i) after[i] = CpuSeconds(followers[i].pid);
        const double seconds = kPhaseSeconds + 0.3;
        const double ours = 100 * (after[0] - before[0]) / seconds;
        const double base = 100 * (after[1] - before[1]) / seconds;
        std::printf("  %-24s %8ld lines  tarvik-tail %6.3f %%  tail -F %6.3f %%", phase.name,
                    written.load(), ours, base);
        // Below a hundredth of a percent both count as nothing.
        const double ratio = std::max(ours, kFloorPercent) / std::max(base, kFloorPercent);
        std::printf("  ratio %5.2f (target <= %.0f) %s\n", ratio, kTargetRatio,
                    ratio <= kTargetRatio ? "ok" : "MISSED");
    }
    std::printf("  resident: tarvik-tail %.1f MiB, tail -F %.1f MiB\n",
                ResidentMiB(followers[0].pid), ResidentMiB(followers[1].pid));
    for (const Follower& f : followers) {
        kill(f.pid, SIGTERM);
        waitpid(f.pid, nullptr, 0);
    }
    for (std::size_t i = 0; i < paths.size(); ++i) {
        close(fds[i]);
        unlink(paths[i].c_str());
    }
    return 0;
}
