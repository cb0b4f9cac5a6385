#pragma once
// Runs a program of the benchmarks' baselines (grep, tail, sh) in the C locale,
// without a shell of our own, and collects its standard output.

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

namespace bench {

struct ProcessOutput {
    std::string output;
    bool ok = false;  // started and exited with 0
    bool started = false;
};

// Starts a program in the C locale (plus extraEnv) with its standard output
// on a pipe; pid and out are its process and the pipe's reading end.
inline bool StartWithOutput(std::vector<std::string> arguments, pid_t& pid, int& out,
                            std::vector<std::string> extraEnv = {}) {
    int pipeEnds[2];
    if (arguments.empty() || pipe(pipeEnds) != 0) return false;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
    std::vector<std::string> env{"LC_ALL=C"};
    if (const char* path = std::getenv("PATH")) env.push_back(std::string("PATH=") + path);
    for (std::string& e : extraEnv) env.push_back(std::move(e));
    std::vector<char*> envp;
    for (std::string& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);
    std::vector<char*> argv;
    for (std::string& a : arguments) argv.push_back(a.data());
    argv.push_back(nullptr);
    const int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    close(pipeEnds[1]);
    out = pipeEnds[0];
    return spawned == 0;
}

inline ProcessOutput RunProgram(std::vector<std::string> arguments) {
    ProcessOutput result;
    pid_t pid = 0;
    int out = -1;
    const bool started = StartWithOutput(std::move(arguments), pid, out);
    if (out < 0) return result;
    char buf[4096];
    for (ssize_t n; (n = read(out, buf, sizeof buf)) > 0;) result.output.append(buf, n);
    close(out);
    if (!started) return result;
    result.started = true;
    int status = 0;
    waitpid(pid, &status, 0);
    result.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return result;
}

}  // namespace bench
