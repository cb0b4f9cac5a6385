#include "platform/Process.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <thread>

extern char** environ;

namespace platform {

namespace {

std::vector<char*> ArgvPointers(const std::vector<std::string>& argv) {
    std::vector<char*> pointers;
    pointers.reserve(argv.size() + 1);
    for (const std::string& arg : argv) pointers.push_back(const_cast<char*>(arg.c_str()));
    pointers.push_back(nullptr);
    return pointers;
}

// Spawns with stdin from /dev/null, stdout to outFd (or inherited when -1)
// and stderr to /dev/null when quiet. Returns the spawn error (0 on success).
int Spawn(const std::vector<std::string>& argv, int outFd, bool quiet, pid_t& pid) {
    if (argv.empty() || argv.front().empty()) return ENOENT;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    if (outFd >= 0) posix_spawn_file_actions_adddup2(&actions, outFd, STDOUT_FILENO);
    if (quiet) posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    std::vector<char*> pointers = ArgvPointers(argv);
    const int error =
        posix_spawnp(&pid, argv.front().c_str(), &actions, nullptr, pointers.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    return error;
}

int WaitFor(pid_t pid) {
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

StartResult StartDetached(const std::vector<std::string>& argv) {
    pid_t pid = 0;
    const int error = Spawn(argv, -1, false, pid);
    if (error == ENOENT || error == ENOTDIR) return StartResult::NotFound;
    if (error != 0) return StartResult::Failed;
    // The program runs on its own; a small thread only collects its end.
    std::thread([pid] { WaitFor(pid); }).detach();
    return StartResult::Started;
}

int RunAndWait(const std::vector<std::string>& argv, std::string* output) {
    int pipeFds[2] = {-1, -1};
    if (output && pipe2(pipeFds, O_CLOEXEC) != 0) return -1;
    pid_t pid = 0;
    const int error = Spawn(argv, output ? pipeFds[1] : -1, true, pid);
    if (output) close(pipeFds[1]);
    if (error != 0) {
        if (output) close(pipeFds[0]);
        return -1;
    }
    if (output) {
        char buffer[4096];
        for (;;) {
            const ssize_t got = read(pipeFds[0], buffer, sizeof buffer);
            if (got > 0) {
                output->append(buffer, static_cast<std::size_t>(got));
            } else if (got == 0 || errno != EINTR) {
                break;
            }
        }
        close(pipeFds[0]);
    }
    return WaitFor(pid);
}

std::vector<std::u16string> SplitCommandLine(std::u16string_view line) {
    std::vector<std::u16string> args;
    std::size_t i = 0;
    const auto isBlank = [](char16_t c) { return c == u' ' || c == u'\t'; };
    while (i < line.size()) {
        while (i < line.size() && isBlank(line[i])) ++i;
        if (i == line.size()) break;
        std::u16string arg;
        bool quoted = false;
        while (i < line.size() && (quoted || !isBlank(line[i]))) {
            std::size_t backslashes = 0;
            while (i < line.size() && line[i] == u'\\') {
                ++backslashes;
                ++i;
            }
            if (i < line.size() && line[i] == u'"') {
                arg.append(backslashes / 2, u'\\');
                if (backslashes % 2 == 1) {
                    arg += u'"';
                } else if (quoted && i + 1 < line.size() && line[i + 1] == u'"') {
                    arg += u'"';
                    ++i;
                } else {
                    quoted = !quoted;
                }
                ++i;
            } else {
                arg.append(backslashes, u'\\');
                if (i < line.size() && (quoted || !isBlank(line[i]))) arg += line[i++];
            }
        }
        args.push_back(std::move(arg));
    }
    return args;
}

std::string ProgramPath() {
    char buffer[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (length <= 0) return {};
    return std::string(buffer, static_cast<std::size_t>(length));
}

}  // namespace platform
